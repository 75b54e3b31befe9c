#pragma once
// Stage marks for timing a capture, built in only with -DORV_TRACE=ON (the
// win64-trace preset); in every other build ORV_MARK compiles to nothing.
#if ORV_TRACE
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace orv::trace {

// One line a mark, "<seconds since 1970> <label>", appended to the file that
// ORV_TRACE_FILE names. The wall clock, so that a process outside Wine can
// set its own times beside these.
inline void Mark(const char* label) {
    static std::FILE* const out = [] {
        const char* path = std::getenv("ORV_TRACE_FILE");
        return path ? std::fopen(path, "ab") : nullptr;
    }();
    if (!out) return;
    using namespace std::chrono;
    const long long us =
        duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    std::fprintf(out, "%lld.%06lld %s\n", us / 1000000, us % 1000000, label);
    std::fflush(out);
}

}  // namespace orv::trace

#define ORV_MARK(label) ::orv::trace::Mark(label)
#else
#define ORV_MARK(label) static_cast<void>(0)
#endif
