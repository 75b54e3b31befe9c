#include "settings/text_convert.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

// One case per branch: blanks, rounding half to even, the range's edges,
// exponents, hex, and what is refused.
TEST(Int16Conversion, ConvertsOrRejects) {
    // clang-format off
    const std::pair<const char*, std::optional<int64_t>> cases[] = {
        {"  42 ", 42},      {"12.5", 12},        {"13.5", 14},       {"-2.5", -2},
        {"32767.4", 32767}, {"32767.5", std::nullopt}, {"-32768", -32768}, {"99999", std::nullopt},
        {"abc", std::nullopt}, {"", std::nullopt}, {" ", std::nullopt}, {"1e999", std::nullopt},
        {"1e3", 1000},      {"&H10", 16},        {"&HFFFF", -1},     {"12abc", std::nullopt},
        {".", std::nullopt}, {"+7", 7},          {"1,5", std::nullopt}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ToWholeNumber(text, '.', -32768, 32767), expected) << '"' << text << '"';
}

TEST(NumberConversion, AcceptsTheLocaleSeparatorAndThePoint) {
    EXPECT_EQ(ToNumber("12,5", ','), 12.5);
    EXPECT_EQ(ToNumber("12.5", ','), 12.5);
    EXPECT_EQ(ToNumber("nan", '.'), std::nullopt);
    EXPECT_EQ(ToNumber("inf", '.'), std::nullopt);
}

TEST(BooleanConversion, WordsInAnyCaseOrNumbers) {
    EXPECT_EQ(ToBoolean("True", '.'), true);
    EXPECT_EQ(ToBoolean(" false ", '.'), false);
    EXPECT_EQ(ToBoolean("-1", '.'), true);
    EXPECT_EQ(ToBoolean("0", '.'), false);
    EXPECT_EQ(ToBoolean("yes", '.'), std::nullopt);
}

TEST(Blanks, TrimsOnlySpaces) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
}

}  // namespace
}  // namespace orv
