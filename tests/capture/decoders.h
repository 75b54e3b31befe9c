#pragma once
// Readers for the files the encoders write, apart from them and strict enough
// to reject what a viewer would reject (bad CRCs, short data, wrong sizes).
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
};

Decoded DecodeBmp(const std::vector<uint8_t>& file);
Decoded DecodePng(const std::vector<uint8_t>& file);  // through libpng
Decoded DecodeGif(const std::vector<uint8_t>& file);  // through giflib

// Peak signal-to-noise ratio over the three channels, in dB (999 when equal).
double Psnr(const Image& a, const Image& b);

}  // namespace orv::testing
