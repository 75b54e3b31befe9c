#include "fuzz_target.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace orv::fuzz {
namespace {
bool throwing = false;
}

void ThrowOnFailure() {
    throwing = true;
}

void Fail(const std::string& what) {
    if (throwing) throw std::logic_error(what);
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

}  // namespace orv::fuzz
