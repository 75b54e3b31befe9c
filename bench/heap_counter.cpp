#include "heap_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> inUse{0}, peak{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Take(std::size_t n) {
    auto* p = static_cast<unsigned char*>(std::malloc(n + kHeader));
    if (!p) return nullptr;
    *reinterpret_cast<std::size_t*>(p) = n;
    const std::size_t now = inUse += n;
    for (std::size_t was = peak; now > was && !peak.compare_exchange_weak(was, now);) {
    }
    return p + kHeader;
}

void Give(void* q) {
    if (!q) return;
    auto* p = static_cast<unsigned char*>(q) - kHeader;
    inUse -= *reinterpret_cast<std::size_t*>(p);
    std::free(p);
}

}  // namespace

void* operator new(std::size_t n) {
    if (void* p = Take(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return Take(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return Take(n);
}
void operator delete(void* p) noexcept {
    Give(p);
}
void operator delete[](void* p) noexcept {
    Give(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Give(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Give(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Give(p);
}

namespace orv::bench {
std::size_t HeapInUse() {
    return inUse;
}
std::size_t HeapPeak() {
    return peak;
}
void ResetPeak() {
    peak = inUse.load();
}
}  // namespace orv::bench
