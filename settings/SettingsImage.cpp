#include "SettingsImage.h"

#include <cstdio>
#include <cstring>

const uint8_t defaultUsageOf[kKeyCount] = {
    41, 58, 59, 60, 61, 62,  63,  64,  65,  66, 67,  68,  69,  70,  71, 72,  53, 30, 31, 32, 33,
    34, 35, 36, 37, 38, 39,  45,  46,  42,  43, 20,  26,  8,   21,  23, 28,  24, 12, 18, 19, 47,
    48, 40, 57, 4,  22, 7,   9,   10,  11,  13, 14,  15,  51,  52,  50, 225, 29, 27, 6,  25, 5,
    17, 16, 54, 55, 56, 229, 224, 227, 226, 44, 230, 231, 101, 228, 73, 76,  80, 74, 77, 82, 81,
    75, 78, 79, 83, 95, 92,  89,  98,  84,  96, 93,  90,  85,  97,  94, 91,  99, 86, 87, 88, 100,
};

namespace {

struct DefaultLedColor {
  int led;
  Color color;
};

constexpr DefaultLedColor kDefaultLedColors[] = {
    {9, 0x11FFFF},  {10, 0xFF8000}, {13, 0x03A71C}, {15, 0x4196FE}, {16, 0xFF8000}, {20, 0x8000FF},
    {21, 0x062FA8}, {22, 0xFF8000}, {26, 0x8000FF}, {27, 0x0000FF}, {28, 0xFF8000}, {30, 0x0000FF},
    {31, 0x03A71C}, {34, 0xFF8000}, {40, 0xFF8000}, {46, 0xFF8000}, {52, 0xFF8000}, {84, 0x0000FF},
    {90, 0x0000FF}, {91, 0x0000FF}, {96, 0x0000FF},
};

constexpr Color kRed = 0x0000FF;

}  // namespace

void clearImage(SettingsImage& image) {
  const int32_t rightWin = image.rightWin;
  std::memset(&image, 0, sizeof image);
  image.currentProfile = -1;
  image.rightWin = rightWin;
}

void buildDefaultKey(KeyAssignment& key, int keyIndex) {
  std::memset(&key, 0, sizeof key);
  key.keyIndex = uint8_t(keyIndex);
  key.category = kCategoryDefault;
  key.playCount = 1;
  key.macroListIndex = -1;
}

void buildDefaultProfile(ProfileRecord& profile, int index) {
  std::memset(profile.profileName, 0, sizeof profile.profileName);
  std::snprintf(profile.profileName, sizeof profile.profileName, "Profile #%d", index + 1);
  std::memset(profile.linkedApps, 0, sizeof profile.linkedApps);
  std::memset(profile.padding0, 0, sizeof profile.padding0);

  profile.mediaOption = 0;
  profile.hddKeyboard = 1;
  profile.ltSwitch = 1;
  profile.ltPulsation = 3;
  profile.ltControl = 10;
  profile.ltColor = 4;
  profile.ltSaving = 50;
  profile.leftWinLock = 1;
  profile.contextKey = 1;
  profile.capsLockKey = 1;
  profile.tabKey = 1;
  profile.totalMacro = 0;
  profile.pollingRate = 4;
  profile.reportDelay = 4;
  profile.lightFx = 1;
  profile.lightFxFlag = 0;
  profile.breatheSpeed = 2;
  profile.waveSpeed = 2;
  profile.waveMode = 1;
  profile.rippleSpeed = 2;
  profile.rippleMode = 0;
  profile.customMode = 0;
  profile.previewOn = 0;
  profile.fnStatus = 0;

  profile.staticColor = kRed;
  profile.breatheColor = kRed;
  profile.waveColor = kRed;
  profile.rippleColor = kRed;
  profile.reactiveColor = kRed;
  profile.customCtrlClickColor = 0;
  // ONE COLOUR starts with every key lit white, not dark.
  profile.globalColor = 0xFFFFFF;
  std::memset(profile.customColors, 0, sizeof profile.customColors);
  for (const DefaultLedColor& d : kDefaultLedColors) profile.customColors[d.led] = d.color;

  std::memcpy(profile.standardKey, defaultUsageOf, sizeof profile.standardKey);
  std::memset(profile.padding1, 0, sizeof profile.padding1);
  for (int k = 0; k < kKeyCount; ++k) buildDefaultKey(profile.keys[k], k);
}

void buildDefaultImage(SettingsImage& image) {
  image.currentProfile = 0;
  image.rightWin = 1;
  for (int p = 0; p < kProfileCount; ++p) buildDefaultProfile(image.profiles[p], p);
}

void clearChangeFlags(SettingsImage& image) {
  std::memset(reinterpret_cast<unsigned char*>(&image) + kChangeFlagsOffset, 0, kChangeFlagsSize);
}

int countMacroKeys(const ProfileRecord& profile) {
  int count = 0;
  for (const KeyAssignment& key : profile.keys)
    if (key.functionCode == kFunctionCombination || key.functionCode == kFunctionRecordedMacro) ++count;
  return count;
}
