#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv {

// How deflate runs for one kind of picture (zlib's level, memLevel, strategy).
struct DeflateSettings {
    int level, memLevel, strategy;
};

// The defaults come from weighing every level and the default, filtered and
// run-length strategies on screen shots against libpng's files (scripts/bench
// --zlib): RGB needs level 6's lazy matching to be no larger than libpng's on
// text and photographs (level 5: 1-4 % larger); palette files are a quarter
// smaller than libpng's from level 4 on, level 5 is 3 % smaller again for
// next to no time. "Filtered" makes RGB files 0.3-0.9 % larger, run-length
// 30-140 %.
struct PngOptions {
    DeflateSettings rgb{6, 8, 0};
    DeflateSettings palette{5, 8, 0};
    int threads = 0;  // 0: one a core
    // Rows a thread takes at a time; 0: about four bands a thread. Each band
    // starts its deflate with the band above's last 32 KB as its dictionary.
    int stripeRows = 0;
};

// A PNG file: palette-based (1, 2, 4 or 8 bits a pixel) when the picture has
// at most 256 colours, 8-bit RGB otherwise. Tuned for screen shots: per-row
// filters chosen by an estimate of deflate's cost, bands of rows filtered and
// compressed on all cores into one zlib stream.
std::vector<uint8_t> EncodePng(const Image& image, const PngOptions& options = {});

}  // namespace orv
