// Every file encoder on pictures shaped by the fuzzer, each file read back by
// a decoder written apart from the encoders.
#include <set>
#include <vector>

#include "capture/decoders.h"
#include "fuzz_target.h"
#include "imaging/bmp_encoder.h"
#include "imaging/gif_encoder.h"
#include "imaging/png_encoder.h"

namespace orv::fuzz {
namespace {

Image Picture(Bytes& in) {
    const int width = 1 + in.U8() % 200, height = 1 + in.U8() % 64;
    // A palette of 1 to 320 colours (junk in the top byte, which files drop),
    // or every pixel its own colour.
    const int colours = in.U16() % 321;
    std::vector<uint32_t> palette(colours);
    for (uint32_t& c : palette) c = in.U32();
    Image img(width, height);
    uint32_t s = in.U32();
    for (uint32_t& p : img.pixels) {
        s = s * 1664525u + 1013904223u;
        const uint32_t pick = in.empty() ? s >> 8 : in.U8();
        p = colours == 0 ? s : palette[pick % colours];
    }
    return img;
}

Image Rgb(Image img) {
    for (uint32_t& p : img.pixels) p &= 0xFFFFFF;
    return img;
}

}  // namespace

void FuzzEncoders(const uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    // The first byte picks the PNG encoder's settings: 0 and 1 (the first
    // seeds') its defaults, the others a deflate level, strategy (default,
    // filtered, Huffman only, run-length, fixed codes), memLevel and for odd
    // ones a tuned match search, and bands of a few rows on one or two threads.
    const uint8_t choice = in.U8();
    PngOptions png;
    if (choice > 1) {
        png.rgb = png.palette = {1 + choice % 9, 8 + (choice >> 7), choice / 9 % 5};
        if (choice % 2)
            png.rgb = {png.rgb.level, png.rgb.memLevel, png.rgb.strategy, 8, 4, 258, choice};
        png.stripeRows = 1 + choice / 45 % 5;
        png.threads = 1 + (choice >> 6) % 2;
    }
    const Image picture = Picture(in);
    const Image expected = Rgb(picture);
    const std::size_t colours =
        std::set<uint32_t>(expected.pixels.begin(), expected.pixels.end()).size();

    auto exact = [&](const char* format, const testing::Decoded& d) {
        Require(d.error.empty(), std::string(format) + " file rejected: " + d.error);
        Require(d.image == expected, std::string(format) + " pixels differ");
    };
    exact("PNG", testing::DecodePng(EncodePng(picture, png)));
    exact("BMP", testing::DecodeBmp(EncodeBmp(picture)));
    const testing::Decoded gif = testing::DecodeGif(EncodeGif(picture));
    if (colours <= 256) {
        exact("GIF", gif);
    } else {
        // Fewer colours than the picture: the file decodes, every pixel from its palette.
        Require(gif.error.empty(), "GIF file rejected: " + gif.error);
        Require(gif.image.width == picture.width && gif.image.height == picture.height,
                "GIF shape");
        Require(gif.paletteSize <= 256, "GIF palette");
    }
    Require(!gif.interlaced, "GIF interlacing");
}

}  // namespace orv::fuzz
