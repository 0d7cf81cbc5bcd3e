#include "state/delay.h"

#include <gtest/gtest.h>

#include "state/texts.h"

namespace {

struct DelayCase {
  const char* text;
  std::int32_t expectedMs;
};

class DelayConversion : public ::testing::TestWithParam<DelayCase> {};

TEST_P(DelayConversion, GivesMilliseconds) {
  EXPECT_EQ(DelayMsFromText(GetParam().text), GetParam().expectedMs) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DelayConversion,
    ::testing::Values(DelayCase{"0.4", 400}, DelayCase{"1.5", 1500},
                      DelayCase{"1.005", 1004},  // the product is 1004.9999999999999
                      DelayCase{"０．５", 500}, DelayCase{"　２", 2000}, DelayCase{"2 x", 2000},
                      DelayCase{"1e0", 1000}, DelayCase{"1d0", 1000}, DelayCase{"1D+1", 10000},
                      DelayCase{"1e", 1000}, DelayCase{"  \t3", 3000}, DelayCase{"+.5", 500}, DelayCase{"5.", 5000},
                      DelayCase{"abc", 0}, DelayCase{"", 0}, DelayCase{".", 0}, DelayCase{"-", 0},
                      DelayCase{"-0.5", -500}, DelayCase{"0x10", 0}, DelayCase{"inf", 0}, DelayCase{"nan", 0},
                      // 4294967.296 s is 2^32 ms: the low 32 bits are 0, one more is 1.
                      DelayCase{"4294967.296", 0}, DelayCase{"4294967.297", 1},
                      // 2^31 ms turns negative.
                      DelayCase{"2147483.648", -2147483648}, DelayCase{"1e300", 0}, DelayCase{"1e400", 0},
                      DelayCase{"-1e300", 0}, DelayCase{"9.3e15", 0}, DelayCase{"9.2e15", -1650982912}));

TEST(ParseDecimal, FoldsOnlyTheFullWidthForms) {
  EXPECT_DOUBLE_EQ(ParseDecimal("－１．２５ｅ２"), -125.0);
  // A lead byte at the very end ends the folded text; the number before it stays.
  EXPECT_DOUBLE_EQ(ParseDecimal("7\xA3"), 7.0);
  // Another double-byte character stops the number.
  EXPECT_DOUBLE_EQ(ParseDecimal("3秒"), 3.0);
}

}  // namespace
