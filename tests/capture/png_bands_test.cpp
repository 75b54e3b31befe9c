// PNG written in bands on several threads must still be one standard file:
// checked with libpng, a decoder that shares nothing with ours.
#include <gtest/gtest.h>
#include <png.h>

#include <string>

#include "capture/decoders.h"
#include "capture/png_encoder.h"
#include "capture/png_filters.h"
#include "capture/test_images.h"

namespace orv {
namespace {

testing::Decoded DecodeWithLibpng(const std::vector<uint8_t>& file) {
    testing::Decoded d;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size())) {
        d.error = png.message;
        return d;
    }
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
        d.error = png.message;
        return d;
    }
    d.image = Image(int(png.width), int(png.height));
    for (std::size_t i = 0; i < d.image.pixels.size(); ++i)
        d.image.pixels[i] = uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    return d;
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

TEST(PngBands, DecodeAsOneStreamWhateverTheBandsAndThreads) {
    struct Case {
        const char* name;
        Image picture;
        int threads, stripeRows;
    };
    const Case cases[] = {
        {"rgb, one band", Mixed(301, 97), 1, 0},
        {"rgb, one-row bands", Mixed(301, 97), 3, 1},
        {"rgb, rows not a multiple of the band", Mixed(301, 97), 2, 10},
        {"rgb, bands narrower than deflate's window", Mixed(4000, 40), 4, 3},
        {"rgb, more threads than bands", Mixed(50, 20), 8, 16},
        {"palette, 1 bit", testing::FewColours(333, 80, 2), 3, 7},
        {"palette, 4 bits", testing::FewColours(333, 80, 16), 2, 5},
        {"palette, 8 bits", testing::FewColours(333, 80, 256), 2, 11},
    };
    for (const Case& c : cases) {
        PngOptions options;
        options.threads = c.threads;
        options.stripeRows = c.stripeRows;
        const std::vector<uint8_t> file = EncodePng(c.picture, options);
        for (auto decode : {DecodeWithLibpng, testing::DecodePng}) {
            const testing::Decoded d = decode(file);
            ASSERT_EQ(d.error, "") << c.name;
            EXPECT_EQ(d.image, testing::WithoutTopByte(c.picture)) << c.name;
        }
    }
}

TEST(PngBands, EveryDeflateSettingGivesTheSamePicture) {
    const Image picture = Mixed(640, 120);
    for (int strategy : {0, 1, 3})
        for (int level : {1, 3, 6}) {
            PngOptions options;
            options.rgb = {level, 9, strategy};
            options.threads = 2;
            options.stripeRows = 25;
            const testing::Decoded d = DecodeWithLibpng(EncodePng(picture, options));
            ASSERT_EQ(d.error, "") << strategy << " " << level;
            EXPECT_EQ(d.image, picture) << strategy << " " << level;
        }
}

TEST(PngFilters, VectorPathMatchesThePlainOne) {
    // Lengths around the 16-byte step, with bytes at both ends of the range.
    for (std::size_t n : {1u, 3u, 15u, 16u, 17u, 33u, 48u, 301u}) {
        std::vector<uint8_t> cur(n + 3, 0), prior(n + 3, 0);
        uint32_t s = uint32_t(n);
        for (std::size_t i = 3; i < n + 3; ++i) {
            s = s * 1664525u + 1013904223u;
            cur[i] = uint8_t(s >> 24);
            prior[i] = (s >> 8) % 5 == 0 ? 255 : (s >> 8) % 5 == 1 ? 0 : uint8_t(s >> 16);
        }
        std::vector<uint8_t> want[4], got[4];
        for (int k = 0; k < 4; ++k) want[k].assign(n, 0), got[k].assign(n, 0);
        const png::RowCosts plain =
            png::FilterRgbRowPlain(cur.data() + 3, prior.data() + 3, n, want[0].data(),
                                   want[1].data(), want[2].data(), want[3].data());
        const png::RowCosts fast =
            png::FilterRgbRow(cur.data() + 3, prior.data() + 3, n, got[0].data(), got[1].data(),
                              got[2].data(), got[3].data());
        EXPECT_EQ(fast, plain) << n;
        for (int k = 0; k < 4; ++k) EXPECT_EQ(got[k], want[k]) << n << " filter " << k;
    }
}

}  // namespace
}  // namespace orv
