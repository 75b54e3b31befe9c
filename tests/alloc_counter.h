#pragma once
// Counts heap allocations made while a scope is armed (operator new is
// replaced for the whole test binary in alloc_counter.cpp).
#include <cstddef>

namespace orv::testing {

struct AllocCounter {
    AllocCounter();
    ~AllocCounter();
    std::size_t count() const;
};

}  // namespace orv::testing
