#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv {

// How deflate runs for one kind of picture (zlib's level, memLevel, strategy).
struct DeflateSettings {
    int level, memLevel, strategy;
};

// The defaults come from timing levels 1 to 3, memLevel 8 and 9 and the
// default, filtered and run-length strategies on screen shots (scripts/bench
// --zlib): run-length files are 15-20 % larger for photographs; "filtered"
// is the same as the default at these levels; memLevel 9 gains nothing.
struct PngOptions {
    DeflateSettings rgb{1, 8, 0};
    DeflateSettings palette{3, 8, 0};
    int threads = 0;  // 0: one a core
    // Rows a thread takes at a time; 0: about four bands a thread. Each band
    // starts its deflate with the band above's last 32 KB as its dictionary.
    int stripeRows = 0;
};

// A PNG file: palette-based (1, 2, 4 or 8 bits a pixel) when the picture has
// at most 256 colours, 8-bit RGB otherwise. Tuned for screen shots: quick
// deflate, per-row filters chosen by a cheap estimate, bands of rows filtered
// and compressed on all cores into one zlib stream.
std::vector<uint8_t> EncodePng(const Image& image, const PngOptions& options = {});

}  // namespace orv
