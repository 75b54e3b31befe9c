#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv {

// How deflate runs for one kind of picture (zlib's level, memLevel, strategy),
// with the match search tuned (deflateTune) when chain is not 0.
struct DeflateSettings {
    int level, memLevel, strategy;
    int good = 0, lazy = 0, nice = 0, chain = 0;
};

// The defaults come from weighing every level and strategy on screen shots
// against libpng's files (scripts/bench --zlib), then level 6's search
// tuned: RGB needs level 6's long hash chains to be no larger than libpng's
// on text and photographs (level 5, 32 candidates: 0.1-4 % larger), but not
// its lazy matching past 4 bytes, which takes photographs 1.4-1.9 times as
// long; with the longest matches also sought (258), files are 0.1-2 % smaller
// than at plain level 6. 96 candidates instead of 128 keep photographs and
// rich shots 0.3-1.6 % under libpng's size in 0.8-0.9 of the time (64: 0.6-0.9 %
// over at 1920x1080). "Filtered" makes RGB files 0.2-1 % larger and is
// slower, run-length 30-140 %. Palette files are a quarter smaller than
// libpng's from level 4 on; level 5 is 3 % smaller again for next to no time.
struct PngOptions {
    DeflateSettings rgb{6, 8, 0, 8, 4, 258, 96};
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
