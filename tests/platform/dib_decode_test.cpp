#include "platform/dib_decode.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A 3 x 2 picture as a clipboard block; raw holds the stored value of each
// pixel (a palette index, a 16- or 32-bit word, or 0xRRGGBB for 24 bits), top
// row first.
struct Block {
    uint32_t headerSize = 40;
    uint16_t bits = 32;
    uint32_t compression = 0;
    std::vector<uint32_t> masks;    // in the header from 52 bytes on, else after it
    std::vector<uint32_t> palette;  // 0xRRGGBB
    uint32_t clrUsed = 0;
    bool topDown = false;
    uint32_t raw[2][3] = {};

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> b;
        Put(b, headerSize, 4);
        if (headerSize == 12) {
            Put(b, 3, 2), Put(b, 2, 2), Put(b, 1, 2), Put(b, bits, 2);
        } else {
            Put(b, 3, 4), Put(b, topDown ? uint32_t(-2) : 2, 4), Put(b, 1, 2), Put(b, bits, 2);
            Put(b, compression, 4);
            for (int i = 0; i < 3; ++i) Put(b, 0, 4);  // image size, resolution
            Put(b, clrUsed, 4), Put(b, 0, 4);
            for (uint32_t m : masks) Put(b, m, 4);
            b.resize(std::max<std::size_t>(b.size(), headerSize));  // the rest of a V4/V5 header
        }
        for (uint32_t c : palette) Put(b, c, headerSize == 12 ? 3 : 4);
        const std::size_t stride = (3 * bits + 31) / 32 * 4;
        for (int r = 0; r < 2; ++r) {
            const int y = topDown ? r : 1 - r;
            std::vector<uint8_t> row(stride);
            for (int x = 0; x < 3; ++x) {
                const uint32_t v = raw[y][x];
                if (bits < 8) {
                    row[x * bits / 8] |= static_cast<uint8_t>(v << (8 - bits - x * bits % 8));
                } else {
                    for (int k = 0; k < bits / 8; ++k)
                        row[x * bits / 8 + k] = static_cast<uint8_t>(v >> (8 * k));
                }
            }
            b.insert(b.end(), row.begin(), row.end());
        }
        return b;
    }
};

struct Case {
    const char* name;
    Block block;
    uint32_t expected[2][3];
};

constexpr uint32_t kBgr[] = {0x0000FF, 0x00FF00, 0xFF0000};
constexpr uint32_t k565[] = {0xF800, 0x07E0, 0x001F};
constexpr uint32_t k10[] = {0x3FF00000, 0x000FFC00, 0x000003FF};

TEST(DibDecode, EveryHeaderDepthOrderPaletteAndMaskWidth) {
    const std::vector<uint32_t> pal4 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
    // clang-format off
    const Case cases[] = {
        {"core 24", {12, 24, 0, {}, {}, 0, false, {{0x010203, 0xFFFFFF, 0}, {0x808080, 0xA0B0C0, 1}}},
         {{0x010203, 0xFFFFFF, 0}, {0x808080, 0xA0B0C0, 1}}},
        {"core 8 palette", {12, 8, 0, {}, std::vector<uint32_t>(256, 0x445566), 0, false, {{0, 1, 255}, {2, 3, 4}}},
         {{0x445566, 0x445566, 0x445566}, {0x445566, 0x445566, 0x445566}}},
        {"1 bit", {40, 1, 0, {}, {0x000000, 0xFFFFFF}, 0, false, {{1, 0, 1}, {0, 1, 0}}},
         {{0xFFFFFF, 0, 0xFFFFFF}, {0, 0xFFFFFF, 0}}},
        {"4 bits, short table: black past it", {40, 4, 0, {}, pal4, 5, true, {{1, 2, 3}, {4, 5, 15}}},
         {{0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0, 0}}},
        {"8 bits", {40, 8, 0, {}, std::vector<uint32_t>(256, 0x0A0B0C), 0, false, {{0, 7, 255}, {1, 2, 3}}},
         {{0x0A0B0C, 0x0A0B0C, 0x0A0B0C}, {0x0A0B0C, 0x0A0B0C, 0x0A0B0C}}},
        {"16 bits 5-5-5", {40, 16, 0, {}, {}, 0, false, {{0x7FFF, 0x7C00, 0x0200}, {0, 0x03E0, 0x001F}}},
         {{0xFFFFFF, 0xFF0000, 0x008400}, {0, 0x00FF00, 0x0000FF}}},
        {"16 bits 5-6-5 after the header", {40, 16, 3, {k565[0], k565[1], k565[2]}, {}, 0, false,
          {{0xFFFF, 0xF800, 0x0400}, {0x8000, 0x07E0, 0x001F}}},
         {{0xFFFFFF, 0xFF0000, 0x008200}, {0x840000, 0x00FF00, 0x0000FF}}},
        {"24 bits top-down", {40, 24, 0, {}, {}, 0, true, {{0x112233, 0x445566, 0x778899}, {1, 2, 3}}},
         {{0x112233, 0x445566, 0x778899}, {1, 2, 3}}},
        {"32 bits plain", {40, 32, 0, {}, {}, 0, false, {{0xFF112233, 0x445566, 0}, {1, 2, 3}}},
         {{0x112233, 0x445566, 0}, {1, 2, 3}}},
        {"32 bits BGR masks after the header", {40, 32, 3, {kBgr[0], kBgr[1], kBgr[2]}, {}, 0, false,
          {{0x112233, 0, 0}, {0, 0, 0}}},
         {{0x332211, 0, 0}, {0, 0, 0}}},
        {"V2 header BGR masks", {52, 32, 3, {kBgr[0], kBgr[1], kBgr[2]}, {}, 0, false, {{0x112233, 0, 0}, {0, 0, 0}}},
         {{0x332211, 0, 0}, {0, 0, 0}}},
        {"V3 header BGR masks", {56, 32, 3, {kBgr[0], kBgr[1], kBgr[2], 0xFF000000}, {}, 0, true,
          {{0x112233, 0, 0}, {0, 0, 0}}},
         {{0x332211, 0, 0}, {0, 0, 0}}},
        {"V4 header 5-6-5", {108, 16, 3, {k565[0], k565[1], k565[2], 0}, {}, 0, false, {{0xF800, 0, 0}, {0, 0, 0x001F}}},
         {{0xFF0000, 0, 0}, {0, 0, 0x0000FF}}},
        {"V5 header 10-bit, top-down", {124, 32, 3, {k10[0], k10[1], k10[2], 0}, {}, 0, true,
          {{0x3FFFFFFF, 0x20000000, 0x00080000}, {0x00000200, 0x000003FF, 0}}},
         {{0xFFFFFF, 0x800000, 0x008000}, {0x000080, 0x0000FF, 0}}},
        {"V5 header plain ignores its masks", {124, 32, 0, {kBgr[0], kBgr[1], kBgr[2], 0}, {}, 0, false,
          {{0x112233, 0, 0}, {0, 0, 0}}},
         {{0x112233, 0, 0}, {0, 0, 0}}},
        {"32 bits with an unused colour table", {40, 32, 0, {}, {0xABCDEF, 0x123456}, 2, false,
          {{0x010101, 0, 0}, {0, 0, 0x020202}}},
         {{0x010101, 0, 0}, {0, 0, 0x020202}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = c.block.Bytes();
        const auto image = DecodePackedDib(bytes.data(), bytes.size());
        ASSERT_TRUE(image) << c.name;
        ASSERT_EQ(image->width, 3) << c.name;
        ASSERT_EQ(image->height, 2) << c.name;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(image->at(x, y), c.expected[y][x]) << c.name << " at " << x << "," << y;
    }
}

TEST(DibDecode, RefusesBlocksThatDoNotHoldWhatTheyClaim) {
    auto patched = [](Block b, std::size_t at, uint32_t value, int bytes, std::size_t cut = 0) {
        std::vector<uint8_t> v = b.Bytes();
        for (int i = 0; i < bytes; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
        v.resize(v.size() - cut);
        return v;
    };
    const Block plain;
    const Block v5 = {124, 32, 3, {k10[0], k10[1], k10[2], 0}, {}, 0, false, {}};
    std::vector<uint8_t> shortV5 = v5.Bytes();
    shortV5.resize(40);  // a V5 header with bit fields cut to 40 bytes
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"V5 header in a 40-byte block", shortV5},
        {"masks missing after the header", Block{40, 32, 3, {}, {}, 0, false, {}}.Bytes()},
        {"colour table of 4 GiB", patched(plain, 32, 0x40000000, 4)},
        {"one pixel byte short", patched(plain, 0, 40, 4, 1)},
        {"no width", patched(plain, 4, 0, 4)},
        {"negative width", patched(plain, 4, uint32_t(-3), 4)},
        {"no height", patched(plain, 8, 0, 4)},
        {"two planes", patched(plain, 12, 2, 2)},
        {"2 bits", patched(plain, 14, 2, 2)},
        {"run-length", patched(plain, 16, 1, 4)},
        {"bit fields at 24 bits", patched(Block{40, 24, 3, {1, 2, 4}, {}, 0, false, {}}, 16, 3, 4)},
        {"header longer than the block", patched(plain, 0, 1000, 4)},
        {"header of 30 bytes", patched(plain, 0, 30, 4)},
        {"height of -2^31", patched(plain, 8, 0x80000000, 4)},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(DecodePackedDib(bytes.data(), bytes.size())) << name;
    EXPECT_FALSE(DecodePackedDib(nullptr, 0));
}

}  // namespace
}  // namespace orv
