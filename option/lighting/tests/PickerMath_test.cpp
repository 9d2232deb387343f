#include "PickerMath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {
constexpr int kSide = 200;  // the skin's field

int distance(uint32_t dibPixel, Color c) {
  uint32_t expected = DibPixelOf(c);
  int worst = 0;
  for (int shift : {0, 8, 16})
    worst = std::max(worst, std::abs(int((dibPixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF)));
  return worst;
}
}  // namespace

TEST(PickerMath, FieldPointsRoundUpAndClampToTheField) {
  EXPECT_EQ(FieldValueAt(0, kSide, kSide, kSide), (FieldValue{0, 0}));
  EXPECT_EQ(FieldValueAt(kSide, 0, kSide, kSide), (FieldValue{1000, 1000}));
  EXPECT_EQ(FieldValueAt(1, kSide - 1, kSide, kSide), (FieldValue{5, 5}));
  EXPECT_EQ(FieldValueAt(1, 0, 300, 300), (FieldValue{4, 1000}));  // 3.33 rounds up
  EXPECT_EQ(FieldValueAt(-40, 900, kSide, kSide), (FieldValue{0, 0}));
  EXPECT_EQ(FieldValueAt(900, -40, kSide, kSide), (FieldValue{1000, 1000}));
  EXPECT_EQ(FieldValueAt(5, 5, 0, 0), (FieldValue{0, 0}));  // an empty field divides by nothing
  // The marker comes back to the point that gave the value.
  for (int x = 0; x <= kSide; x += 7) {
    FieldValue v = FieldValueAt(x, x, kSide, kSide);
    EXPECT_EQ(FieldXOf(v.saturation, kSide), x);
    EXPECT_EQ(FieldYOf(v.brightness, kSide), x);
  }
}

TEST(PickerMath, FieldKeys) {
  FieldValue v{500, 500};
  ASSERT_TRUE(FieldAfterKey(v, PickerKey::Left));
  EXPECT_EQ(v, (FieldValue{499, 500}));
  FieldAfterKey(v, PickerKey::Up);
  EXPECT_EQ(v, (FieldValue{499, 501}));
  FieldAfterKey(v, PickerKey::Down);
  FieldAfterKey(v, PickerKey::Right);
  EXPECT_EQ(v, (FieldValue{500, 500}));
  FieldAfterKey(v, PickerKey::PageUp);
  EXPECT_EQ(v, (FieldValue{1000, 1000}));
  FieldAfterKey(v, PickerKey::Right);
  FieldAfterKey(v, PickerKey::Up);
  EXPECT_EQ(v, (FieldValue{1000, 1000}));  // clamped
  FieldAfterKey(v, PickerKey::PageDown);
  EXPECT_EQ(v, (FieldValue{1000, 0}));
  FieldAfterKey(v, PickerKey::Home);
  EXPECT_EQ(v, (FieldValue{0, 1000}));
  FieldAfterKey(v, PickerKey::End);
  FieldAfterKey(v, PickerKey::Left);
  FieldAfterKey(v, PickerKey::Down);
  EXPECT_EQ(v, (FieldValue{0, 0}));
}

TEST(PickerMath, HueBarPositionsAndKeys) {
  EXPECT_EQ(HueAt(0, kSide), 0);
  EXPECT_EQ(HueAt(kSide, kSide), kHueMax);
  EXPECT_EQ(HueAt(kSide / 2, kSide), 1800);  // 1799.5 rounds to the nearest
  EXPECT_EQ(HueAt(1, kSide), 18);            // 17.995
  EXPECT_EQ(HueAt(-10, kSide), 0);
  EXPECT_EQ(HueAt(kSide + 10, kSide), kHueMax);
  EXPECT_EQ(HueBarYOf(1800, kSide), 100);

  int hue = 1000;
  HueAfterKey(hue, PickerKey::Down);
  EXPECT_EQ(hue, 1010);
  HueAfterKey(hue, PickerKey::Right);
  EXPECT_EQ(hue, 1020);
  HueAfterKey(hue, PickerKey::Up);
  HueAfterKey(hue, PickerKey::Left);
  EXPECT_EQ(hue, 1000);
  HueAfterKey(hue, PickerKey::PageDown);
  EXPECT_EQ(hue, 1100);
  HueAfterKey(hue, PickerKey::PageUp);
  HueAfterKey(hue, PickerKey::PageUp);
  EXPECT_EQ(hue, 900);
  HueAfterKey(hue, PickerKey::End);
  EXPECT_EQ(hue, kHueMax);
  HueAfterKey(hue, PickerKey::PageDown);
  EXPECT_EQ(hue, kHueMax);
  HueAfterKey(hue, PickerKey::Home);
  HueAfterKey(hue, PickerKey::Up);
  EXPECT_EQ(hue, 0);
}

TEST(PickerMath, GradientShowsTheColourOfEachPoint) {
  for (int hue : {0, 450, 1200, 2000, 3300}) {
    std::vector<uint32_t> pixels(size_t(kSide) * kSide, 0xDEADBEEF);
    FillFieldGradient(pixels.data(), kSide, kSide, kSide, hue);
    EXPECT_EQ(pixels[kSide - 1], DibPixelOf(ColorFromHsv({hue, 1000, 1000})));  // top right: the pure hue
    EXPECT_EQ(pixels[0], 0xFFFFFFu);                                            // top left: white
    EXPECT_EQ(pixels[size_t(kSide - 1) * kSide], 0u);                           // bottom: black
    for (int y = 0; y < kSide; y += 13)
      for (int x = 0; x < kSide; x += 11) {
        Hsv at{hue, x * 1000 / (kSide - 1), (kSide - 1 - y) * 1000 / (kSide - 1)};
        ASSERT_LE(distance(pixels[size_t(y) * kSide + x], ColorFromHsv(at)), 1)
            << hue << " " << x << "," << y;
      }
  }
}

TEST(PickerMath, GradientKeepsToItsRowsInAWiderBuffer) {
  constexpr int kStride = 8, kWidth = 5, kHeight = 3;
  std::vector<uint32_t> pixels(kStride * kHeight, 0xABCDEF);
  FillFieldGradient(pixels.data(), kWidth, kHeight, kStride, 0);
  for (int y = 0; y < kHeight; ++y)
    for (int x = kWidth; x < kStride; ++x) EXPECT_EQ(pixels[size_t(y) * kStride + x], 0xABCDEFu);
  FillHueStrip(pixels.data(), kWidth, kHeight, kStride);
  EXPECT_EQ(pixels[0], 0xFF0000u);  // red on top, in DIB order
  EXPECT_EQ(pixels[kStride * 2 + kWidth], 0xABCDEFu);
}
