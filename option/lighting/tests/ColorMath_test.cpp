#include "ColorMath.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
int channelDistance(Color a, Color b) {
  return std::max(
      {std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)), std::abs(BlueOf(a) - BlueOf(b))});
}
}  // namespace

TEST(ColorMath, ChannelsAndHexTextShowRedFirst) {
  Color c = MakeColor(0x33, 0x22, 0x11);
  EXPECT_EQ(c, 0x112233u);  // red in the low byte
  EXPECT_EQ(ColorHexText(c), "332211");
  EXPECT_EQ(ColorHexText(0x0000FF), "ff0000");
  EXPECT_EQ(ColorHexText(0), "000000");
  EXPECT_EQ(ColorHexText(0xFF123456), "563412");  // a stray top byte shows nowhere

  EXPECT_EQ(WithChannel(c, ColorChannel::Red, 255), 0x1122FFu);
  EXPECT_EQ(WithChannel(c, ColorChannel::Green, 0), 0x110033u);
  EXPECT_EQ(WithChannel(c, ColorChannel::Blue, 0x1AB), 0xAB2233u);  // low byte only
}

TEST(ColorMath, PresetsInTheirOrder) {
  // Red, cyan, green, blue, yellow, magenta, in 0x00BBGGRR.
  EXPECT_EQ(kPresetColors[0], MakeColor(255, 0, 0));
  EXPECT_EQ(kPresetColors[1], MakeColor(0, 255, 255));
  EXPECT_EQ(kPresetColors[2], 0x00FF00u);  // the third preset is green
  EXPECT_EQ(kPresetColors[3], MakeColor(0, 0, 255));
  EXPECT_EQ(kPresetColors[4], MakeColor(255, 255, 0));
  EXPECT_EQ(kPresetColors[5], MakeColor(255, 0, 255));
}

TEST(ColorMath, PrimaryColoursHaveExactHues) {
  EXPECT_EQ(HsvFromColor(MakeColor(255, 0, 0)), (Hsv{0, 1000, 1000}));
  EXPECT_EQ(HsvFromColor(MakeColor(0, 255, 0)), (Hsv{1200, 1000, 1000}));  // not 1201
  EXPECT_EQ(HsvFromColor(MakeColor(0, 0, 255)), (Hsv{2400, 1000, 1000}));
  EXPECT_EQ(HsvFromColor(MakeColor(255, 0, 255)), (Hsv{3000, 1000, 1000}));
  EXPECT_EQ(HsvFromColor(MakeColor(255, 255, 255)), (Hsv{0, 0, 1000}));
  EXPECT_EQ(HsvFromColor(0), (Hsv{0, 0, 0}));
}

TEST(ColorMath, PartsRoundUp) {
  // 128/255 = 0.50196: brightness 502; red just above blue stays below 3600.
  EXPECT_EQ(HsvFromColor(MakeColor(128, 128, 128)).brightness, 502);
  EXPECT_EQ(HsvFromColor(MakeColor(255, 0, 1)).hue, 3598);  // 359.76 degrees
  EXPECT_EQ(HsvFromColor(MakeColor(255, 1, 0)).hue, 3);     // 0.235 degrees
  EXPECT_EQ(HsvFromColor(MakeColor(200, 100, 100)).saturation, 500);
  EXPECT_EQ(HsvFromColor(MakeColor(3, 1, 1)).saturation, 667);
}

TEST(ColorMath, OutOfRangeHsvIsClampedAndHueWraps) {
  EXPECT_EQ(ColorFromHsv({3600, 1000, 1000}), MakeColor(255, 0, 0));
  EXPECT_EQ(ColorFromHsv({-1200, 1000, 1000}), MakeColor(0, 0, 255));
  EXPECT_EQ(ColorFromHsv({0, 5000, 5000}), MakeColor(255, 0, 0));
  EXPECT_EQ(ColorFromHsv({900, -3, -3}), 0u);
}

TEST(ColorMath, EveryColourSurvivesTheRoundTripWithinOneUnit) {
  int worst = 0;
  for (int r = 0; r < 256; r += 3)
    for (int g = 0; g < 256; g += 1)
      for (int b = 0; b < 256; b += 5) {
        Color c = MakeColor(uint8_t(r), uint8_t(g), uint8_t(b));
        Hsv hsv = HsvFromColor(c);
        ASSERT_GE(hsv.hue, 0);
        ASSERT_LE(hsv.hue, kHueMax);
        ASSERT_LE(hsv.saturation, kHsvScale);
        ASSERT_LE(hsv.brightness, kHsvScale);
        worst = std::max(worst, channelDistance(ColorFromHsv(hsv), c));
      }
  EXPECT_LE(worst, 1);
}

TEST(ColorMath, MarkerFollowsTheBrightestChannel) {
  EXPECT_TRUE(MarkerIsBlack(MakeColor(0, 0, 128)));
  EXPECT_FALSE(MarkerIsBlack(MakeColor(127, 127, 127)));
  EXPECT_TRUE(MarkerIsBlack(0xFFFFFF));
  EXPECT_FALSE(MarkerIsBlack(0));
}
