#include "state/texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

TEST(Texts, LiteralsAreGbkBytes) { EXPECT_EQ(std::string("导入！"), "\xB5\xBC\xC8\xEB\xA3\xA1"); }

TEST(BytesToText, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(BytesToText(std::string("12\0" "34", 5)), "12");
  EXPECT_EQ(BytesToText(""), "");
  EXPECT_EQ(BytesToText("1234"), "1234");
  // A UTF-16 file yields at most the first character of its first line.
  EXPECT_EQ(BytesToText(std::string("\xFF\xFE" "1\0" "2\0", 6)), "\xFF\xFE" "1");
}

TEST(DecimalText, WritesPlainDecimal) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(100000), "100000");
  EXPECT_EQ(DecimalText(-2147483647 - 1), "-2147483648");
}

struct SplitCase {
  std::string text;
  std::string delimiter;
  Pieces expected;
};

class SplitByDelimiterCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitByDelimiterCases, GivesThePieces) {
  EXPECT_EQ(SplitByDelimiter(GetParam().text, GetParam().delimiter), GetParam().expected);
}

// "乗" is 0x81 0x5C: its trail byte is a backslash; "丶" is 0xD8 0xBC.
INSTANTIATE_TEST_SUITE_P(
    Texts, SplitByDelimiterCases,
    ::testing::Values(SplitCase{"", ",", {}}, SplitCase{"abc", "", {"abc"}}, SplitCase{"abc", ",", {"abc"}},
                      SplitCase{"a,b", ",", {"a", "b"}}, SplitCase{"a,,b", ",", {"a", "", "b"}},
                      SplitCase{",a", ",", {"", "a"}}, SplitCase{"a,", ",", {"a"}}, SplitCase{",", ",", {""}},
                      SplitCase{"1\r\n2\r\n", "\r\n", {"1", "2"}}, SplitCase{"1\n2", "\r\n", {"1\n2"}},
                      // A match is never tried in the middle of a double-byte character.
                      SplitCase{"a乗b", "\\", {"a乗b"}}, SplitCase{"a\\乗\\b", "\\", {"a", "乗", "b"}},
                      SplitCase{"丶\xBC", "\xBC", {"丶"}},
                      // A lead byte at the end stops the scan; what follows the last match stays one piece.
                      SplitCase{"a,b\x81", ",", {"a", "b\x81"}}, SplitCase{"a\x81,", ",", {"a\x81,"}},
                      SplitCase{"ab", "abc", {"ab"}}));

}  // namespace
