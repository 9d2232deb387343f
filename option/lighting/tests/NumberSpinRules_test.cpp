#include "NumberSpinRules.h"

#include <gtest/gtest.h>

TEST(NumberSpinRules, TypingLimitFollowsTheMaximum) {
  EXPECT_EQ(SpinTextLimit(kColorByteRange), 3);
  EXPECT_EQ(SpinTextLimit({-50, 9999, 1}), 5);
  EXPECT_EQ(SpinTextLimit({1, 999, 1}), 3);
}

TEST(NumberSpinRules, TypedTextIsParsedRoundedAndClamped) {
  EXPECT_EQ(ParseSpinText("  42"), 42);
  EXPECT_EQ(ParseSpinText("12ab"), 12);
  EXPECT_EQ(ParseSpinText("abc"), 0);
  EXPECT_EQ(ParseSpinText(""), 0);
  EXPECT_EQ(ParseSpinText("-7"), -7);
  EXPECT_EQ(ParseSpinText("99999999999999999999"), INT_MAX);  // saturates, no wrap

  SpinSettled typed300 = SettleSpinValue(kColorByteRange, ParseSpinText("300"));
  EXPECT_EQ(typed300.value, 255);
  EXPECT_TRUE(typed300.rewrite);
  SpinSettled fine = SettleSpinValue(kColorByteRange, 128);
  EXPECT_EQ(fine.value, 128);
  EXPECT_FALSE(fine.rewrite);
  EXPECT_EQ(SettleSpinValue(kColorByteRange, -3).value, 0);

  SpinRange fives{0, 100, 5};
  EXPECT_EQ(SettleSpinValue(fives, 12).value, 10);
  EXPECT_EQ(SettleSpinValue(fives, 13).value, 15);
  EXPECT_EQ(SettleSpinValue({0, 10, 0}, 7).value, 7);  // a zero step counts as 1
}

TEST(NumberSpinRules, ArrowsStepWithinTheRange) {
  EXPECT_EQ(SpinUp(kColorByteRange, 10), 11);
  EXPECT_EQ(SpinUp(kColorByteRange, 255), 255);
  EXPECT_EQ(SpinUp(kColorByteRange, 256), std::nullopt);  // text beyond the maximum
  EXPECT_EQ(SpinDown(kColorByteRange, 10), 9);
  EXPECT_EQ(SpinDown(kColorByteRange, 0), 0);
  EXPECT_EQ(SpinDown(kColorByteRange, -1), std::nullopt);
  EXPECT_EQ(SpinUp(kColorByteRange, -20), 0);  // below the range: up lands on the minimum

  SpinRange fives{0, 100, 5};
  EXPECT_EQ(SpinUp(fives, 12), 15);  // 17 rounds to 15
  EXPECT_EQ(SpinDown(fives, 13), 10);
  EXPECT_EQ(SpinUp(fives, 98), 100);
}

TEST(NumberSpinRules, NegativeValuesRoundToTheNearestStepWithinTheRange) {
  const SpinRange below{-9, -3, 3};
  EXPECT_EQ(SpinUp(below, -3), -3);  // rounding towards zero gave 0, past the maximum
  EXPECT_EQ(SpinDown(below, -6), -9);
  EXPECT_EQ(SettleSpinValue(below, -5).value, -6);
  EXPECT_EQ(SettleSpinValue(below, -4).value, -3);
  EXPECT_EQ(SettleSpinValue(SpinRange{-100, 100, 10}, -14).value, -10);
}
