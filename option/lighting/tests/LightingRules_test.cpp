#include "LightingRules.h"

#include <gtest/gtest.h>

#include <memory>

TEST(LightingRules, MenuCommandsWriteTheKeyboardsEffectCodes) {
  EXPECT_EQ(EffectForMenuCommand(1001), kEffectStatic);
  EXPECT_EQ(EffectForMenuCommand(1002), kEffectBreathe);
  EXPECT_EQ(EffectForMenuCommand(1003), kEffectWave);
  EXPECT_EQ(EffectForMenuCommand(1004), 6);  // Ripple, not 4
  EXPECT_EQ(EffectForMenuCommand(1005), 4);  // Reactive
  EXPECT_EQ(EffectForMenuCommand(1006), kEffectCustom);
  for (int unknown : {0, 1000, 1007, -1}) EXPECT_EQ(EffectForMenuCommand(unknown), kEffectStatic) << unknown;
  // The menu lists its names in command order.
  for (int i = 0; i < kEffectMenuCount; ++i) {
    EXPECT_EQ(EffectMenuEntryAt(i).command, kEffectMenuFirstCommand + i);
    EXPECT_EQ(EffectMenuEntryAt(i).nameString, kEffectNameFirstString + i);
    EXPECT_EQ(EffectNameString(EffectForMenuCommand(EffectMenuEntryAt(i).command)),
              EffectMenuEntryAt(i).nameString);
  }
}

TEST(LightingRules, EffectCodeChoosesSubPageAndName) {
  struct Case {
    int32_t fx;
    LightingSubPage page;
    int name;
  } cases[] = {
      {1, LightingSubPage::Static, 1042},   {2, LightingSubPage::Breathe, 1043},
      {3, LightingSubPage::Wave, 1044},     {6, LightingSubPage::Ripple, 1045},
      {4, LightingSubPage::Reactive, 1046}, {51, LightingSubPage::Custom, 1047},
      {0, LightingSubPage::Breathe, 1047},  {5, LightingSubPage::Breathe, 1047},
      {-1, LightingSubPage::Breathe, 1047},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SubPageForEffect(c.fx), c.page) << c.fx;
    EXPECT_EQ(EffectNameString(c.fx), c.name) << c.fx;
  }
}

TEST(LightingRules, LedButtonsOnlyForCustomWithModeZero) {
  EXPECT_EQ(LightingPictureFor(kEffectCustom, 0), LightingPicture::LedButtons);
  EXPECT_EQ(LightingPictureFor(kEffectCustom, 1), LightingPicture::Nothing);
  EXPECT_EQ(LightingPictureFor(kEffectStatic, 0), LightingPicture::Nothing);
  EXPECT_EQ(LightingPictureFor(kEffectRipple, 0), LightingPicture::Nothing);
}

TEST(LightingRules, EachSubPageEditsItsOwnFields) {
  auto profile = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*profile, 0);
  const SubPageFields wave = FieldsOf(LightingSubPage::Wave);
  profile.get()->*wave.color = 0x123456;
  profile.get()->*wave.speed = 3;
  profile.get()->*wave.mode = 0;
  EXPECT_EQ(profile->waveColor, 0x123456u);
  EXPECT_EQ(profile->waveSpeed, 3);
  EXPECT_EQ(profile->waveMode, 0);

  EXPECT_EQ(FieldsOf(LightingSubPage::Static).color, &ProfileRecord::staticColor);
  EXPECT_EQ(FieldsOf(LightingSubPage::Reactive).color, &ProfileRecord::reactiveColor);
  EXPECT_EQ(FieldsOf(LightingSubPage::Breathe).speed, &ProfileRecord::breatheSpeed);
  EXPECT_EQ(FieldsOf(LightingSubPage::Ripple).mode, &ProfileRecord::rippleMode);
  EXPECT_EQ(FieldsOf(LightingSubPage::Ripple).color, &ProfileRecord::rippleColor);
  EXPECT_EQ(FieldsOf(LightingSubPage::Custom).mode, &ProfileRecord::customMode);
  // Static and Reactive share a skin but neither has a speed or variants.
  for (LightingSubPage page : {LightingSubPage::Static, LightingSubPage::Reactive}) {
    EXPECT_EQ(FieldsOf(page).speed, nullptr);
    EXPECT_EQ(FieldsOf(page).mode, nullptr);
  }
  EXPECT_EQ(FieldsOf(LightingSubPage::Custom).color, nullptr);
}

TEST(LightingRules, BrightnessTrackClicksRoundToTheNearestStep) {
  constexpr int kTrack = 200;
  SliderGeometry g = BrightnessSliderGeometry(kTrack, 12);
  auto clickAt = [&](int x) { return SliderSettle(g, SliderClickRealValue(g, x, 0, kTrack)); };
  EXPECT_EQ(clickAt(kTrack * 95 / 100), 10);  // 9.5 rounds up
  EXPECT_EQ(clickAt(kTrack * 4 / 100), 0);    // 0.4 rounds down
  EXPECT_EQ(clickAt(0), 0);
  EXPECT_EQ(clickAt(kTrack + 30), 10);

  SliderGeometry speed = SpeedSliderGeometry(kTrack, 12);
  EXPECT_EQ(SliderSettle(speed, SliderClickRealValue(speed, -5, 0, kTrack)), 1);
  EXPECT_EQ(SliderSettle(speed, SliderClickRealValue(speed, kTrack / 2, 0, kTrack)), 2);
}

TEST(LightingRules, SubPagesLoadTheirSkinFileAndTheControlsTheirFieldsNeed) {
  struct Case {
    LightingSubPage page;
    const char* file;
    int controls;
  } cases[] = {
      {LightingSubPage::Static, "skin_CONSTANT.ini", 1}, {LightingSubPage::Reactive, "skin_CONSTANT.ini", 1},
      {LightingSubPage::Breathe, "skin_Breathe.ini", 2}, {LightingSubPage::Wave, "skin_wave.ini", 4},
      {LightingSubPage::Ripple, "skin_Ripple.ini", 4},   {LightingSubPage::Custom, "skin_Custom.ini", 6},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(SubPageSkinFile(c.page), c.file) << int(c.page);
    EXPECT_EQ(SubPageControlCount(c.page), c.controls) << int(c.page);
  }
}
