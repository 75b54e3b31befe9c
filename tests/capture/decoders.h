#pragma once
// Independent readers for the files the encoders write, strict enough to
// reject what a viewer would reject (bad CRCs, short data, wrong sizes).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/image.h"

namespace orv::testing {

struct Decoded {
    Image image;
    std::string error;  // empty when the file was read
    // Format details a test may check.
    int bitDepth = 0, colourType = -1, paletteSize = 0;
    bool interlaced = false;
    int components = 0;             // JPEG
    bool chromaSubsampled = false;  // JPEG: colour stored below full resolution
};

Decoded DecodeBmp(const std::vector<uint8_t>& file);
Decoded DecodePng(const std::vector<uint8_t>& file);
Decoded DecodeGif(const std::vector<uint8_t>& file);
Decoded DecodeJpeg(const std::vector<uint8_t>& file);  // through libjpeg

// Peak signal-to-noise ratio over the three channels, in dB (999 when equal).
double Psnr(const Image& a, const Image& b);

}  // namespace orv::testing
