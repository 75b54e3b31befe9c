#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>

#include "capture/bmp_encoder.h"
#include "capture/decoders.h"
#include "capture/gif_encoder.h"
#include "capture/png_encoder.h"
#include "capture/test_images.h"
#include "platform/error.h"
#include "platform/sim/sim_codecs.h"

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
    {"gif", [](const Image& i) { return EncodeGif(i, false); }, testing::DecodeGif},
    {"gif_interlaced", [](const Image& i) { return EncodeGif(i, true); }, testing::DecodeGif},
};

struct Size {
    int w, h;
};

// 0 stands for "as many colours as pixels".
Image Picture(Size s, int colours) {
    return colours == 0 ? testing::Noise(s.w, s.h) : testing::FewColours(s.w, s.h, colours);
}

// The cases that take different paths: for the palette formats, each size
// class (one pixel, rows not filling a byte, rows past an LZW table's worth,
// a tall column) at each palette boundary (bits per pixel 1, 2, 4, 8, then
// more colours than a palette holds). BMP writes every picture alike and an
// interlaced GIF differs only in its row order, so they take the sizes alone.
std::vector<std::tuple<Format, Size, int>> RoundTrips() {
    const Size sizes[] = {{1, 1}, {7, 5}, {4097, 3}, {3, 4097}, {1, 9}};
    const int colourCounts[] = {1, 2, 3, 5, 16, 17, 256, 0};
    std::vector<std::tuple<Format, Size, int>> cases;
    for (const Size& size : sizes) {
        cases.emplace_back(kLossless[0], size, 0);
        cases.emplace_back(kLossless[3], size, 17);
        for (int colours : colourCounts)
            for (int f : {1, 2}) cases.emplace_back(kLossless[f], size, colours);
    }
    return cases;
}

class LosslessRoundTrip : public ::testing::TestWithParam<std::tuple<Format, Size, int>> {};

TEST_P(LosslessRoundTrip, DecodesToTheSamePixels) {
    const auto& [format, size, colours] = GetParam();
    const Image original = Picture(size, colours);
    const bool paletteOnly = std::string(format.name).starts_with("gif");
    const Decoded d = format.decode(format.encode(original));
    ASSERT_EQ(d.error, "");
    if (paletteOnly && colours == 0 && size.w * size.h > 256) {
        // More colours than a palette holds: the shape survives and the picture
        // comes back within one palette (its quality is checked below).
        EXPECT_EQ(d.image.width, original.width);
        EXPECT_EQ(d.image.height, original.height);
        EXPECT_LE(std::set<uint32_t>(d.image.pixels.begin(), d.image.pixels.end()).size(), 256u);
        return;
    }
    EXPECT_EQ(d.image, testing::WithoutTopByte(original));
}

INSTANTIATE_TEST_SUITE_P(SizeClassesAndPalettes, LosslessRoundTrip,
                         ::testing::ValuesIn(RoundTrips()),
                         [](const auto& p) {
                             const Size s = std::get<1>(p.param);
                             return std::string(std::get<0>(p.param).name) + "_" +
                                    std::to_string(s.w) + "x" + std::to_string(s.h) + "_" +
                                    std::to_string(std::get<2>(p.param)) + "colours";
                         });

TEST(PngLayout, UsesTheSmallestPaletteDepthAndRgbBeyond256Colours) {
    struct Case {
        int colours, colourType, depth;
    };
    const Case cases[] = {{1, 3, 1},  {2, 3, 1},  {3, 3, 2},   {4, 3, 2},  {5, 3, 4},
                          {16, 3, 4}, {17, 3, 8}, {256, 3, 8}, {257, 2, 8}};
    for (const Case& c : cases) {
        const Decoded d = testing::DecodePng(EncodePng(testing::FewColours(61, 13, c.colours)));
        ASSERT_EQ(d.error, "") << c.colours;
        EXPECT_EQ(d.colourType, c.colourType) << c.colours;
        EXPECT_EQ(d.bitDepth, c.depth) << c.colours;
        if (c.colourType == 3) {
            EXPECT_EQ(d.paletteSize, c.colours);
        }
    }
}

TEST(GifQuantising, KeepsManyColouredPicturesClose) {
    struct Case {
        const char* name;
        Image picture;
        double minPsnr;
    };
    // 256 far-apart colours plus one a single step from another: merging the
    // twins is the only loss a sound quantiser makes.
    Image twins = testing::FewColours(64, 64, 256);
    twins.at(63, 63) = (twins.at(0, 0) & 0x00FFFFFF) ^ 1;
    const Case cases[] = {{"gradient", testing::Gradient(256, 256), 34.0},
                          {"noise", testing::Noise(200, 150), 22.0},
                          {"257 colours", twins, 60.0}};
    for (const Case& c : cases) {
        for (bool interlaced : {false, true}) {
            const Decoded d = testing::DecodeGif(EncodeGif(c.picture, interlaced));
            ASSERT_EQ(d.error, "") << c.name;
            EXPECT_EQ(d.interlaced, interlaced);
            EXPECT_LE(d.paletteSize, 256);
            EXPECT_GE(testing::Psnr(d.image, c.picture), c.minPsnr) << c.name;
        }
    }
}

TEST(GifEncoding, EndCodeFollowsAtTheWidthTheDecoderHasReached) {
    // The last picture code adds a table entry in the decoder, which may widen
    // its codes just before the end code (165 x 2 with 16 colours did).
    for (int colours : {2, 16, 200})
        for (int w = 1; w <= 300; ++w) {
            const Image picture = testing::FewColours(w, 2, colours);
            const Decoded d = testing::DecodeGif(EncodeGif(picture, false));
            ASSERT_EQ(d.error, "") << w << "x2, " << colours << " colours";
            EXPECT_EQ(d.image, testing::WithoutTopByte(picture));
        }
}

TEST(JpegEncoding, ABackendWithoutLayoutsRefusesThemRatherThanIgnoringThem) {
    struct PlainBackend : platform::Codecs {
        int calls = 0;
        std::vector<uint8_t> EncodeJpeg(const Image&, int) override { return {uint8_t(++calls)}; }
    } plain;
    EXPECT_EQ(plain.EncodeJpegAs(Image(2, 2), 75, {}), std::vector<uint8_t>{1});
    EXPECT_THROW(plain.EncodeJpegAs(Image(2, 2), 75, {true, false}), Error);
    EXPECT_THROW(plain.EncodeJpegAs(Image(2, 2), 75, {false, true}), Error);
    EXPECT_EQ(plain.calls, 1);
}

TEST(Encoders, RefuseWhatTheyCannotWrite) {
    sim::SimCodecs codecs;
    Image mismatched(4, 4);
    mismatched.pixels.pop_back();
    const std::function<std::vector<uint8_t>(const Image&)> encoders[] = {
        EncodeBmp, [](const Image& i) { return EncodePng(i); }, [](const Image& i) { return EncodeGif(i, false); },
        [&](const Image& i) { return codecs.EncodeJpeg(i, 75); }};
    for (const auto& encode : encoders) {
        EXPECT_THROW(encode(Image{}), Error);
        EXPECT_THROW(encode(Image(0, 5)), Error);
        EXPECT_THROW(encode(mismatched), Error);
    }
    EXPECT_THROW(EncodeGif(Image(65536, 1), false), Error);
    EXPECT_NO_THROW(EncodeGif(Image(65535, 1), false));
}

}  // namespace
}  // namespace orv
