#include "CustomLedRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {
std::unique_ptr<ProfileRecord> defaultProfile() {
  auto profile = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*profile, 0);
  return profile;
}
}  // namespace

TEST(CustomLedRules, SwatchColourThenCtrlClickPaintsTheLed) {
  auto p = defaultProfile();
  constexpr Color kChosen = 0x2468AC;
  ApplyLedSwatchColor(*p, 0, kChosen);
  EXPECT_EQ(p->customColors[0], kChosen);
  EXPECT_EQ(p->customCtrlClickColor, kChosen);

  EXPECT_TRUE(ApplyLedClick(*p, 7, true));
  EXPECT_EQ(p->customColors[7], kChosen);
  EXPECT_EQ(LedColor(*p, 7), kChosen);  // what the LED swatch shows after a plain click

  const Color before = p->customColors[9];
  EXPECT_FALSE(ApplyLedClick(*p, 9, false));  // a plain click never paints
  EXPECT_EQ(p->customColors[9], before);
}

// Before any LED is selected the swatch chooses the paint colour only: LED 0
// keeps its colour, and the swatch shows the paint colour.
TEST(CustomLedRules, WithoutASelectedLedTheSwatchChoosesOnlyThePaintColour) {
  auto p = defaultProfile();
  auto untouched = defaultProfile();
  for (int led : {kNoLed, kLedCount, 1000}) {
    ApplyLedSwatchColor(*p, led, 0x123456);
    EXPECT_EQ(p->customCtrlClickColor, 0x123456u);
    EXPECT_EQ(LedColor(*p, led), 0x123456u);
    EXPECT_FALSE(ApplyLedClick(*p, led, true));
  }
  EXPECT_EQ(std::memcmp(p->customColors, untouched->customColors, sizeof p->customColors), 0);
}
