#include "settings/text_convert.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

struct WholeCase {
    const char* text;
    std::optional<int64_t> expected;
};

class Int16Conversion : public ::testing::TestWithParam<WholeCase> {};

TEST_P(Int16Conversion, ConvertsOrRejects) {
    auto c = GetParam();
    EXPECT_EQ(ToWholeNumber(c.text, '.', -32768, 32767), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    StoredTexts, Int16Conversion,
    ::testing::Values(WholeCase{"639", 639}, WholeCase{"-1", -1}, WholeCase{"  42 ", 42},
                      WholeCase{"12.5", 12}, WholeCase{"13.5", 14}, WholeCase{"-2.5", -2},
                      WholeCase{"32767", 32767}, WholeCase{"32767.4", 32767},
                      WholeCase{"32767.5", std::nullopt}, WholeCase{"-32768", -32768},
                      WholeCase{"99999", std::nullopt}, WholeCase{"abc", std::nullopt},
                      WholeCase{"", std::nullopt}, WholeCase{" ", std::nullopt},
                      WholeCase{"True", std::nullopt}, WholeCase{"1e999", std::nullopt},
                      WholeCase{"1e3", 1000}, WholeCase{"&H10", 16}, WholeCase{"&HFFFF", -1},
                      WholeCase{"12abc", std::nullopt}, WholeCase{".", std::nullopt},
                      WholeCase{"+7", 7}, WholeCase{"1,5", std::nullopt}));

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
