#include "OptionRules.h"

#include <gtest/gtest.h>

#include <memory>

TEST(FirmwareText, StartUpAcceptsOneToFiveOnly) {
  EXPECT_EQ(firmwareVersionText(103, FirmwareRange::StartUp), "1.03");
  EXPECT_EQ(firmwareVersionText(250, FirmwareRange::StartUp), "2.50");
  EXPECT_EQ(firmwareVersionText(100, FirmwareRange::StartUp), "1.00");
  EXPECT_EQ(firmwareVersionText(500, FirmwareRange::StartUp), "5.00");
  EXPECT_EQ(firmwareVersionText(99, FirmwareRange::StartUp), "N/A");
  EXPECT_EQ(firmwareVersionText(501, FirmwareRange::StartUp), "N/A");
  EXPECT_EQ(firmwareVersionText(-250, FirmwareRange::StartUp), "N/A");
}

TEST(FirmwareText, ReloadHasNoUpperBound) {
  EXPECT_EQ(firmwareVersionText(501, FirmwareRange::Reload), "5.01");
  EXPECT_EQ(firmwareVersionText(1234, FirmwareRange::Reload), "1.234");
  EXPECT_EQ(firmwareVersionText(99, FirmwareRange::Reload), "N/A");
}

TEST(KeyLook, CategoriesShowTheirColours) {
  KeyAssignment key{};
  const struct {
    uint8_t category;
    KeyLook look;
  } table[] = {{0, KeyLook::Normal},  {1, KeyLook::Normal},  {2, KeyLook::Normal},  {4, KeyLook::Danlv},
               {5, KeyLook::Red},     {6, KeyLook::Green},   {7, KeyLook::Purple},  {8, KeyLook::Cyan},
               {9, KeyLook::Dective}, {10, KeyLook::Normal}, {255, KeyLook::Normal}};
  for (const auto& row : table) {
    key.category = row.category;
    EXPECT_EQ(keyLookOf(key, 4), row.look) << int(row.category);
  }
}

TEST(KeyLook, ACombinationOfTheKeyItselfLooksPlainARemapLooksAssigned) {
  constexpr int kKeyA = 45, kKeyB = 62;
  ASSERT_EQ(defaultUsageOf[kKeyA], 0x04);
  KeyAssignment key{};
  key.category = kCategoryCombination;
  key.steps[0] = MacroStep::make(0x04, kActionPress, 0);
  EXPECT_EQ(keyLookOf(key, kKeyA), KeyLook::Normal);
  // B remapped to A: the profile's standardKey holds A for B as well, but the
  // key does something other than its own.
  EXPECT_EQ(keyLookOf(key, kKeyB), KeyLook::Blue);
  key.steps[2] = MacroStep::make(0x04, kActionRelease, 0);
  EXPECT_EQ(keyLookOf(key, kKeyA), KeyLook::Blue);
  EXPECT_EQ(keyLookOf(key, kKeyCount), KeyLook::Blue);
}

TEST(KeyboardPicture, KeysWithTheWindowsKeyPageLedsOnlyForPerKeyColours) {
  auto profile = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*profile, 0);
  profile->lightFx = kCustomEffect;
  profile->customMode = 0;
  EXPECT_EQ(keyboardPictureMode(ContentPage::WindowsKey, *profile), KeyboardPictureMode::Keys);
  EXPECT_EQ(keyboardPictureMode(ContentPage::Lighting, *profile), KeyboardPictureMode::Leds);
  profile->customMode = 1;
  EXPECT_EQ(keyboardPictureMode(ContentPage::Lighting, *profile), KeyboardPictureMode::Empty);
  profile->customMode = 0;
  profile->lightFx = 2;
  EXPECT_EQ(keyboardPictureMode(ContentPage::Lighting, *profile), KeyboardPictureMode::Empty);
}

TEST(ProgramLists, TheSelectionAfterARemove) {
  EXPECT_EQ(selectionAfterRemove(0, 3), 0);
  EXPECT_EQ(selectionAfterRemove(1, 3), 1);
  EXPECT_EQ(selectionAfterRemove(3, 3), 2);  // the last line went
  EXPECT_EQ(selectionAfterRemove(0, 0), -1);
}
