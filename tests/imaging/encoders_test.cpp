// Every file the encoders write is read back by a decoder written apart from
// them (libpng for PNG).
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>

#include "capture/decoders.h"
#include "capture/test_images.h"
#include "imaging/bmp_encoder.h"
#include "imaging/gif_encoder.h"
#include "imaging/png_encoder.h"
#include "platform/error.h"

namespace orv {
namespace {

using testing::Decoded;

struct Format {
    const char* name;
    std::function<std::vector<uint8_t>(const Image&)> encode;
    std::function<Decoded(const std::vector<uint8_t>&)> decode;
};

const Format kLossless[] = {
    {"bmp", EncodeBmp, testing::DecodeBmp},
    {"png", [](const Image& i) { return EncodePng(i); }, testing::DecodePng},
    {"gif", [](const Image& i) { return EncodeGif(i); }, testing::DecodeGif},
};

struct Size {
    int w, h;
};

// The cases that take different paths: for the palette formats, each size
// class (one pixel, rows not filling a byte, rows past an LZW table's worth
// and, in BMP, more than one 64 KB piece of them with a short last one, a tall
// column) at each palette boundary (bits per pixel 1, 2, 4, 8, then more
// colours than a palette holds; 0 stands for as many colours as pixels).
// BMP writes every picture alike, so it takes the sizes alone.
std::vector<std::tuple<Format, Size, int>> RoundTrips() {
    const Size sizes[] = {{1, 1}, {7, 5}, {4097, 13}, {3, 4097}, {1, 9}};
    std::vector<std::tuple<Format, Size, int>> cases;
    for (const Size& size : sizes) {
        cases.emplace_back(kLossless[0], size, 0);
        for (int colours : {1, 2, 3, 5, 16, 17, 256, 0})
            for (int f : {1, 2}) cases.emplace_back(kLossless[f], size, colours);
    }
    return cases;
}

class LosslessRoundTrip : public ::testing::TestWithParam<std::tuple<Format, Size, int>> {};

TEST_P(LosslessRoundTrip, DecodesToTheSamePixels) {
    const auto& [format, size, colours] = GetParam();
    const Image original = colours == 0 ? testing::Noise(size.w, size.h)
                                        : testing::FewColours(size.w, size.h, colours);
    const Decoded d = format.decode(format.encode(original));
    ASSERT_EQ(d.error, "");
    if (std::string(format.name) == "gif" && colours == 0 && size.w * size.h > 256) {
        // More colours than a palette holds: the shape survives, within one
        // palette (the quality is checked below).
        EXPECT_EQ(d.image.width, original.width);
        EXPECT_EQ(d.image.height, original.height);
        EXPECT_LE(std::set<uint32_t>(d.image.pixels.begin(), d.image.pixels.end()).size(), 256u);
        return;
    }
    EXPECT_EQ(d.image, testing::WithoutTopByte(original));
}

INSTANTIATE_TEST_SUITE_P(SizeClassesAndPalettes, LosslessRoundTrip,
                         ::testing::ValuesIn(RoundTrips()));

TEST(PngLayout, UsesTheSmallestPaletteDepthAndRgbBeyond256Colours) {
    struct Case {
        int colours, colourType, depth;
    };
    const Case cases[] = {{2, 3, 1},  {3, 3, 2},  {4, 3, 2},   {5, 3, 4},
                          {16, 3, 4}, {17, 3, 8}, {256, 3, 8}, {257, 2, 8}};
    for (const Case& c : cases) {
        const Decoded d = testing::DecodePng(EncodePng(testing::FewColours(61, 13, c.colours)));
        ASSERT_EQ(d.error, "") << c.colours;
        EXPECT_EQ(d.colourType, c.colourType) << c.colours;
        EXPECT_EQ(d.bitDepth, c.depth) << c.colours;
        EXPECT_EQ(d.paletteSize, c.colourType == 3 ? c.colours : 0);
    }
}

// Flat areas, ramps and noise, so that every filter wins somewhere.
Image Mixed(int w, int h) {
    Image img = testing::Gradient(w, h);
    const Image noise = testing::Noise(w, h, 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (y % 40 < 10) img.at(x, y) = 0x00F0F0F0;
            if (x % 50 > 35) img.at(x, y) = noise.at(x, y);
        }
    return img;
}

// PNG written in bands on several threads, at any deflate setting, must
// still be one standard file.
TEST(PngBands, DecodeAsOneStreamWhateverTheBandsThreadsAndSettings) {
    struct Case {
        const char* name;
        Image picture;
        int threads, stripeRows, level = 6, strategy = 0;
    };
    const Case cases[] = {
        {"rgb, one band", Mixed(301, 97), 1, 0},
        {"rgb, one-row bands", Mixed(301, 97), 3, 1},
        {"rgb, rows not a multiple of the band", Mixed(301, 97), 2, 10, 1, 1},
        {"rgb, bands narrower than deflate's window", Mixed(4000, 40), 4, 3, 3, 3},
        {"rgb, more threads than bands", Mixed(50, 20), 8, 16},
        {"palette, 1 bit", testing::FewColours(333, 80, 2), 3, 7},
        {"palette, 4 bits", testing::FewColours(333, 80, 16), 2, 5},
        {"palette, 8 bits", testing::FewColours(333, 80, 256), 2, 11},
    };
    for (const Case& c : cases) {
        PngOptions options;
        options.threads = c.threads;
        options.stripeRows = c.stripeRows;
        options.rgb = {c.level, 9, c.strategy};
        const Decoded d = testing::DecodePng(EncodePng(c.picture, options));
        ASSERT_EQ(d.error, "") << c.name;
        EXPECT_EQ(d.image, testing::WithoutTopByte(c.picture)) << c.name;
    }
}

TEST(GifQuantising, KeepsManyColouredPicturesClose) {
    // 256 far-apart colours plus one a single step from another: merging the
    // twins is the only loss a sound quantiser makes.
    Image twins = testing::FewColours(64, 64, 256);
    twins.at(63, 63) = (twins.at(0, 0) & 0x00FFFFFF) ^ 1;
    const std::tuple<const char*, Image, double> cases[] = {
        {"gradient", testing::Gradient(256, 256), 34.0},
        {"noise", testing::Noise(200, 150), 22.0},
        {"257 colours", twins, 60.0}};
    for (const auto& [name, picture, minPsnr] : cases) {
        const Decoded d = testing::DecodeGif(EncodeGif(picture));
        ASSERT_EQ(d.error, "") << name;
        EXPECT_LE(d.paletteSize, 256);
        EXPECT_GE(testing::Psnr(d.image, picture), minPsnr) << name;
    }
}

TEST(Encoders, RefuseWhatTheyCannotWrite) {
    Image mismatched(4, 4);
    mismatched.pixels.pop_back();
    const std::function<std::vector<uint8_t>(const Image&)> encoders[] = {
        EncodeBmp, [](const Image& i) { return EncodePng(i); },
        [](const Image& i) { return EncodeGif(i); }};
    for (const auto& encode : encoders) {
        EXPECT_THROW(encode(Image{}), Error);
        EXPECT_THROW(encode(Image(0, 5)), Error);
        EXPECT_THROW(encode(mismatched), Error);
    }
    EXPECT_THROW(EncodeGif(Image(65536, 1)), Error);
    EXPECT_NO_THROW(EncodeGif(Image(65535, 1)));
}

}  // namespace
}  // namespace orv
