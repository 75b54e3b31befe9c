#include <gtest/gtest.h>

#include "alloc_counter.h"
#include "sim_program.h"

namespace orv {
namespace {

using namespace orv::testing;

// The key watch runs ten times a second for as long as the user is logged
// on; an idle tick must not touch the heap.
TEST(KeyWatchTick, IdleTickAllocatesNothing) {
    SimProgram p;
    ASSERT_TRUE(p.program.Start("-startup"));
    p.proc.RunFor(0.2);
    AllocCounter counter;
    for (int i = 0; i < 50; ++i) p.program.container().tmrInterupt_Timer();
    EXPECT_EQ(counter.count(), 0u);
    delete new int(3);  // the counter itself works
    EXPECT_EQ(counter.count(), 1u);
}

}  // namespace
}  // namespace orv
