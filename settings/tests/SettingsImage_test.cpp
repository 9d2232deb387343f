#include "SettingsImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<SettingsImage> makeDefaultImage() {
  auto image = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0xAB, sizeof *image);
  clearImage(*image);
  buildDefaultImage(*image);
  return image;
}

bool allZero(const void* p, size_t n) {
  const auto* b = static_cast<const unsigned char*>(p);
  for (size_t i = 0; i < n; ++i)
    if (b[i]) return false;
  return true;
}

TEST(SettingsImage, SizesAreTheExchangeFormat) {
  EXPECT_EQ(sizeof(SettingsImage) / 4, 739857u);
  EXPECT_EQ(sizeof(ProfileRecord) / 4, 147857u);
  EXPECT_EQ(sizeof(KeyAssignment), 5528u);
  EXPECT_EQ(offsetof(ProfileRecord, keys), 10980u);
}

TEST(SettingsImage, ClearKeepsRightWinOnly) {
  auto image = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0x5A, sizeof *image);
  image->rightWin = 7;
  clearImage(*image);
  EXPECT_EQ(image->currentProfile, -1);
  EXPECT_EQ(image->rightWin, 7);
  EXPECT_EQ(image->desktopProfile, 0);
  EXPECT_TRUE(allZero(image->profiles, sizeof image->profiles));
  EXPECT_TRUE(allZero(&image->keyDirty, sizeof *image - kChangeFlagsOffset));
}

TEST(SettingsImage, DefaultImage) {
  auto image = makeDefaultImage();
  EXPECT_EQ(image->currentProfile, 0);
  EXPECT_EQ(image->rightWin, 1);
  for (int p = 0; p < kProfileCount; ++p) {
    const ProfileRecord& profile = image->profiles[p];
    char name[32];
    std::snprintf(name, sizeof name, "Profile #%d", p + 1);
    EXPECT_STREQ(profile.profileName, name);
    // Zero-filled behind the terminator, so byte comparisons of images hold.
    EXPECT_TRUE(
        allZero(profile.profileName + std::strlen(name), sizeof profile.profileName - std::strlen(name)));
    EXPECT_TRUE(allZero(profile.linkedApps, sizeof profile.linkedApps));
    EXPECT_EQ(0, std::memcmp(profile.standardKey, defaultUsageOf, kKeyCount));
    EXPECT_EQ(profile.ltControl, 10);
    EXPECT_EQ(profile.lightFx, 1);
    EXPECT_EQ(profile.waveMode, 1);
    EXPECT_EQ(profile.ltSaving, 50);
    EXPECT_EQ(profile.staticColor, 0x0000FFu);
    EXPECT_EQ(profile.reactiveColor, 0x0000FFu);
    EXPECT_EQ(profile.customColors[9], 0x11FFFFu);
    EXPECT_EQ(profile.customColors[96], 0x0000FFu);
    EXPECT_EQ(profile.customColors[0], 0u);
    EXPECT_EQ(profile.customColors[125], 0u);
    EXPECT_EQ(profile.previewOn, 0);
    for (int k = 0; k < kKeyCount; ++k) {
      const KeyAssignment& key = profile.keys[k];
      EXPECT_EQ(key.keyIndex, k);
      EXPECT_EQ(key.category, kCategoryDefault);
      EXPECT_EQ(key.functionCode, 0);
      EXPECT_EQ(key.playCount, 1);
      EXPECT_EQ(key.macroListIndex, -1);
      EXPECT_EQ(key.stepCount, 0);
      EXPECT_TRUE(allZero(key.textMacroText, sizeof key.textMacroText));
    }
  }
  // Building defaults leaves the flags of a cleared image at zero.
  EXPECT_TRUE(allZero(&image->keyDirty, sizeof *image - kChangeFlagsOffset));
}

TEST(SettingsImage, DefaultsAreDeterministicByteForByte) {
  // Both programs compare images byte for byte, padding included.
  auto a = makeDefaultImage();
  auto b = std::make_unique<SettingsImage>();
  std::memset(b.get(), 0x11, sizeof *b);
  clearImage(*b);
  buildDefaultImage(*b);
  b->rightWin = a->rightWin;
  EXPECT_EQ(0, std::memcmp(a.get(), b.get(), sizeof *a));
}

TEST(SettingsImage, BuildDefaultsLeavesFlagsAlone) {
  auto image = makeDefaultImage();
  image->keyDirty[3][104] = 1;
  image->customColorDirty[4] = 1;
  buildDefaultImage(*image);
  EXPECT_EQ(image->keyDirty[3][104], 1);
  EXPECT_EQ(image->customColorDirty[4], 1);
}

TEST(SettingsImage, ClearChangeFlagsStopsBeforeLastReservedWord) {
  auto image = makeDefaultImage();
  std::memset(&image->keyDirty, 1, kChangeFlagsSize);
  image->reserved5 = 9;
  clearChangeFlags(*image);
  EXPECT_TRUE(allZero(&image->keyDirty, kChangeFlagsSize));
  EXPECT_EQ(image->reserved5, 9);
  EXPECT_EQ(image->currentProfile, 0);
}

TEST(SettingsImage, CopyOfOneProfileOverAnother) {
  auto image = makeDefaultImage();
  ProfileRecord& source = image->profiles[2];
  std::strcpy(source.linkedApps[19], "C:\\Games\\game.exe");
  source.keys[104].category = kCategoryLaunch;
  source.keys[104].functionCode = kFunctionLaunch;
  source.previewOn = 1;
  image->profiles[0] = source;
  EXPECT_EQ(0, std::memcmp(&image->profiles[0], &source, 147857 * 4));
  EXPECT_STREQ(image->profiles[1].profileName, "Profile #2");
}

TEST(SettingsImage, MacroStepPacking) {
  const MacroStep s = MacroStep::make(241, kActionRelease, 65535);
  EXPECT_EQ(s.word, 0xFFFF02F1u);
  EXPECT_EQ(s.code(), 241);
  EXPECT_EQ(s.action(), kActionRelease);
  EXPECT_EQ(s.delayMs(), 65535);
}

TEST(SettingsImage, CountsCombinationsAndRecordedMacros) {
  auto image = makeDefaultImage();
  ProfileRecord& p = image->profiles[0];
  p.keys[0].functionCode = kFunctionCombination;
  p.keys[50].functionCode = kFunctionRecordedMacro;
  p.keys[51].functionCode = kFunctionTextMacro;
  EXPECT_EQ(countMacroKeys(p), 2);
}

}  // namespace
