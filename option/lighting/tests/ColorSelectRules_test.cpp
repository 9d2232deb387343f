#include "ColorSelectRules.h"

#include <gtest/gtest.h>

#include "NumberSpinRules.h"

TEST(ColorSelectRules, NumberFieldsReplaceTheirByte) {
  Color c = MakeColor(0x33, 0x22, 0x11);
  EXPECT_EQ(ColorAfterNumberField(c, kRedFieldId, 0x44), MakeColor(0x44, 0x22, 0x11));
  EXPECT_EQ(ColorAfterNumberField(c, kGreenFieldId, 0), MakeColor(0x33, 0, 0x11));
  EXPECT_EQ(ColorAfterNumberField(c, kBlueFieldId, 0x1FF), MakeColor(0x33, 0x22, 0xFF));  // low byte
  EXPECT_EQ(ColorAfterNumberField(c, 404, 0x99), c);
  // 300 typed into the red field: the field settles on 255, the red byte follows.
  int typed = SettleSpinValue(kColorByteRange, ParseSpinText("300")).value;
  EXPECT_EQ(RedOf(ColorAfterNumberField(c, kRedFieldId, unsigned(typed))), 255);
}

TEST(ColorSelectRules, PresetsByIndexAndTextsOfAColour) {
  EXPECT_EQ(PresetColor(2), 0x00FF00u);  // green
  EXPECT_EQ(PresetColor(0), 0x0000FFu);  // red
  EXPECT_EQ(PresetColor(5), 0xFF00FFu);
  EXPECT_EQ(PresetColor(6), std::nullopt);
  EXPECT_EQ(PresetColor(-1), std::nullopt);

  ColorTexts t = TextsOf(MakeColor(0x33, 0x22, 0x11));
  EXPECT_EQ(t.red, 0x33);
  EXPECT_EQ(t.green, 0x22);
  EXPECT_EQ(t.blue, 0x11);
  EXPECT_EQ(t.hex, "332211");
}

TEST(ColorSelectRules, TheHexFieldTakesATypedColourAndNothingElse) {
  EXPECT_EQ(ColorFromHexText("FF8800"), MakeColor(0xFF, 0x88, 0x00));
  EXPECT_EQ(ColorFromHexText(" #00a0Ff "), MakeColor(0x00, 0xA0, 0xFF));
  EXPECT_EQ(ColorFromHexText("FF880"), std::nullopt);  // still typing
  EXPECT_EQ(ColorFromHexText("FF88001"), std::nullopt);
  EXPECT_EQ(ColorFromHexText("GG8800"), std::nullopt);
  EXPECT_EQ(ColorFromHexText("#"), std::nullopt);
  EXPECT_EQ(HexFieldText(MakeColor(0xAB, 0x0C, 0xEF)), "ab0cef");
  EXPECT_EQ(ColorFromHexText(HexFieldText(0x123456)), 0x123456u);
}
