#pragma once
// What only the native benchmark build can measure: libpng (there is no
// mingw build of it to put beside the shipped one) and the heap of a whole
// capture on the simulated desktop. The shipped build links empty versions.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/image.h"

namespace orv::bench {

struct Shot {
    std::string label;
    Image image;
    const char* name = "";  // label.c_str(), for printf
};

// libpng at its defaults, 8-bit RGB, written to memory; empty when absent.
std::function<std::vector<uint8_t>(const Image&)> Libpng();

// Large blocks from fresh pages at every allocation, as the Windows heap
// gives them (from VirtualAlloc, returned on free): glibc would otherwise
// keep a freed frame and let later rounds reuse its warm pages, timing the
// native build's memory unlike the shipped one's. Nothing in the shipped build.
void FreshPagesLikeWindows();

// Heap peaks of paste, crop and save in each format, as "heap" lines.
void NativeRows(const std::vector<Shot>& shots);

}  // namespace orv::bench
