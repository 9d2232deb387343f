#pragma once
// The one settings record of both programs. Its byte layout, padding
// included, is the exchange format of the shared block and the file format of
// the profile files, so every size and offset is pinned below.

#include <cstddef>
#include <cstdint>

constexpr int kProfileCount = 5;
constexpr int kKeyCount = 105;
constexpr int kLinkedAppCount = 20;
constexpr int kLedCount = 126;
constexpr int kMaxMacroSteps = 40;
constexpr int kMaxMacroKeys = 35;  // keys with function code 2 or 3 per profile

// A 24-bit colour in colour-reference order: red in the lowest byte.
using Color = uint32_t;

enum : uint8_t {
  kActionPress = 1,
  kActionRelease = 2,
};

// One recorded step: key or mouse code, press/release, delay after it.
struct MacroStep {
  uint32_t word;

  static constexpr MacroStep make(uint8_t code, uint8_t action, uint16_t delayMs) {
    return MacroStep{uint32_t(code) | uint32_t(action) << 8 | uint32_t(delayMs) << 16};
  }
  constexpr uint8_t code() const { return uint8_t(word); }
  constexpr uint8_t action() const { return uint8_t(word >> 8); }
  constexpr uint16_t delayMs() const { return uint16_t(word >> 16); }
  constexpr bool operator==(const MacroStep&) const = default;
};
static_assert(sizeof(MacroStep) == 4);

// What the user chose for a key (the `category` byte).
enum KeyCategory : uint8_t {
  kCategoryDefault = 1,
  kCategoryCombination = 3,
  kCategoryMedia = 4,
  kCategoryMacro = 5,
  kCategoryLaunch = 6,
  kCategoryShortcut = 8,
  kCategoryDisabled = 9,
};

// Function codes with a meaning of their own outside the lookup tables.
enum FunctionCode : uint8_t {
  kFunctionDisabled = 1,
  kFunctionCombination = 2,
  kFunctionRecordedMacro = 3,
  kFunctionLaunch = 11,
  kFunctionTextMacro = 58,
  kFunctionDefault = 64,
};

enum PlayMode : int32_t {
  kPlayOnce = 0,
  kPlayNTimes = 1,
  kPlayWhilePressed = 2,
  kPlayToggle = 3,
};

struct KeyAssignment {
  uint8_t keyIndex;
  uint8_t category;
  uint8_t functionCode;
  uint8_t padding0[3];
  uint16_t repeatDelayMs;
  int32_t triggerMode;
  int32_t playMode;
  char macroName[16];
  int32_t reserved0;  // cleared together with macroName
  uint16_t stepCount;
  uint8_t padding1[2];
  int32_t playCount;
  MacroStep steps[kMaxMacroSteps];
  char appPath[260];
  char textMacroName[50];
  char textMacroText[5002];
  int32_t textDelayMs;
  uint8_t keyBefore;
  uint8_t keyAfter;
  uint8_t padding2[2];
  int32_t macroListIndex;
};

// The ranges of the lighting and Windows-key fields that the configuration
// program shows: brightness, the three effect speeds, and the switches and
// variants that are 0 or 1.
constexpr int32_t kBrightnessMin = 0, kBrightnessMax = 10;
constexpr int32_t kSpeedMin = 1, kSpeedMax = 3;

struct ProfileRecord {
  char profileName[250];
  char linkedApps[kLinkedAppCount][500];
  uint8_t padding0[2];
  int32_t mediaOption;
  int32_t hddKeyboard;
  int32_t ltSwitch;
  int32_t ltPulsation;
  int32_t ltControl;
  int32_t ltColor;
  int32_t ltSaving;
  int32_t leftWinLock;
  int32_t contextKey;
  int32_t capsLockKey;
  int32_t tabKey;
  int32_t totalMacro;
  int32_t pollingRate;
  int32_t reportDelay;
  int32_t lightFx;
  int32_t lightFxFlag;
  int32_t breatheSpeed;
  int32_t waveSpeed;
  int32_t waveMode;
  int32_t rippleSpeed;
  int32_t rippleMode;
  int32_t customMode;
  Color staticColor;
  Color breatheColor;
  Color waveColor;
  Color rippleColor;
  Color reactiveColor;
  Color customColors[kLedCount];
  Color customCtrlClickColor;
  Color globalColor;
  uint8_t standardKey[kKeyCount];
  uint8_t padding1[3];
  KeyAssignment keys[kKeyCount];
  int32_t fnStatus;
  int32_t previewOn;
};

struct SettingsImage {
  int32_t currentProfile;
  int32_t rightWin;
  // The profile (1..5) the monitor returns to when the program in front is
  // linked to none; 0 for none. Stored as DesktopProfile in config.ini.
  int32_t desktopProfile;
  ProfileRecord profiles[kProfileCount];
  // Change flags: never stored, produced by the configuration program and
  // cleared by the monitor after a download.
  int32_t keyDirty[kProfileCount][kKeyCount];
  int32_t lightSwitchDirty[kProfileCount];
  int32_t profileSwitched;
  int32_t standardKeyDirty[kProfileCount];
  int32_t winLockDirty[kProfileCount];
  int32_t reserved1[kProfileCount];
  int32_t reserved2;
  int32_t reserved3[kProfileCount];
  int32_t reserved4;
  int32_t effectDirty[kProfileCount];
  int32_t effectColorDirty[kProfileCount];
  int32_t customColorDirty[kProfileCount];
  int32_t reserved5;
};

static_assert(sizeof(KeyAssignment) == 5528);
static_assert(offsetof(KeyAssignment, category) == 1);
static_assert(offsetof(KeyAssignment, functionCode) == 2);
static_assert(offsetof(KeyAssignment, repeatDelayMs) == 6);
static_assert(offsetof(KeyAssignment, triggerMode) == 8);
static_assert(offsetof(KeyAssignment, playMode) == 12);
static_assert(offsetof(KeyAssignment, macroName) == 16);
static_assert(offsetof(KeyAssignment, reserved0) == 32);
static_assert(offsetof(KeyAssignment, stepCount) == 36);
static_assert(offsetof(KeyAssignment, playCount) == 40);
static_assert(offsetof(KeyAssignment, steps) == 44);
static_assert(offsetof(KeyAssignment, appPath) == 204);
static_assert(offsetof(KeyAssignment, textMacroName) == 464);
static_assert(offsetof(KeyAssignment, textMacroText) == 514);
static_assert(offsetof(KeyAssignment, textDelayMs) == 5516);
static_assert(offsetof(KeyAssignment, keyBefore) == 5520);
static_assert(offsetof(KeyAssignment, keyAfter) == 5521);
static_assert(offsetof(KeyAssignment, macroListIndex) == 5524);

static_assert(sizeof(ProfileRecord) == 591428);
static_assert(sizeof(ProfileRecord) == 147857 * 4);
static_assert(offsetof(ProfileRecord, linkedApps) == 250);
static_assert(offsetof(ProfileRecord, mediaOption) == 10252);
static_assert(offsetof(ProfileRecord, hddKeyboard) == 10256);
static_assert(offsetof(ProfileRecord, ltSwitch) == 10260);
static_assert(offsetof(ProfileRecord, ltPulsation) == 10264);
static_assert(offsetof(ProfileRecord, ltControl) == 10268);
static_assert(offsetof(ProfileRecord, ltColor) == 10272);
static_assert(offsetof(ProfileRecord, ltSaving) == 10276);
static_assert(offsetof(ProfileRecord, leftWinLock) == 10280);
static_assert(offsetof(ProfileRecord, contextKey) == 10284);
static_assert(offsetof(ProfileRecord, capsLockKey) == 10288);
static_assert(offsetof(ProfileRecord, tabKey) == 10292);
static_assert(offsetof(ProfileRecord, totalMacro) == 10296);
static_assert(offsetof(ProfileRecord, pollingRate) == 10300);
static_assert(offsetof(ProfileRecord, reportDelay) == 10304);
static_assert(offsetof(ProfileRecord, lightFx) == 10308);
static_assert(offsetof(ProfileRecord, lightFxFlag) == 10312);
static_assert(offsetof(ProfileRecord, breatheSpeed) == 10316);
static_assert(offsetof(ProfileRecord, waveSpeed) == 10320);
static_assert(offsetof(ProfileRecord, waveMode) == 10324);
static_assert(offsetof(ProfileRecord, rippleSpeed) == 10328);
static_assert(offsetof(ProfileRecord, rippleMode) == 10332);
static_assert(offsetof(ProfileRecord, customMode) == 10336);
static_assert(offsetof(ProfileRecord, staticColor) == 10340);
static_assert(offsetof(ProfileRecord, breatheColor) == 10344);
static_assert(offsetof(ProfileRecord, waveColor) == 10348);
static_assert(offsetof(ProfileRecord, rippleColor) == 10352);
static_assert(offsetof(ProfileRecord, reactiveColor) == 10356);
static_assert(offsetof(ProfileRecord, customColors) == 10360);
static_assert(offsetof(ProfileRecord, customCtrlClickColor) == 10864);
static_assert(offsetof(ProfileRecord, globalColor) == 10868);
static_assert(offsetof(ProfileRecord, standardKey) == 10872);
static_assert(offsetof(ProfileRecord, keys) == 10980);
static_assert(offsetof(ProfileRecord, fnStatus) == 591420);
static_assert(offsetof(ProfileRecord, previewOn) == 591424);

static_assert(sizeof(SettingsImage) == 2959428);
static_assert(sizeof(SettingsImage) == 739857 * 4);
static_assert(offsetof(SettingsImage, rightWin) == 4);
static_assert(offsetof(SettingsImage, profiles) == 12);
static_assert(offsetof(SettingsImage, keyDirty) == 2957152);
static_assert(offsetof(SettingsImage, lightSwitchDirty) == 2959252);
static_assert(offsetof(SettingsImage, profileSwitched) == 2959272);
static_assert(offsetof(SettingsImage, standardKeyDirty) == 2959276);
static_assert(offsetof(SettingsImage, winLockDirty) == 2959296);
static_assert(offsetof(SettingsImage, reserved1) == 2959316);
static_assert(offsetof(SettingsImage, reserved2) == 2959336);
static_assert(offsetof(SettingsImage, reserved3) == 2959340);
static_assert(offsetof(SettingsImage, reserved4) == 2959360);
static_assert(offsetof(SettingsImage, effectDirty) == 2959364);
static_assert(offsetof(SettingsImage, effectColorDirty) == 2959384);
static_assert(offsetof(SettingsImage, customColorDirty) == 2959404);
static_assert(offsetof(SettingsImage, reserved5) == 2959424);

// The change flags run from keyDirty to customColorDirty, reserved words
// between them included.
constexpr size_t kChangeFlagsOffset = offsetof(SettingsImage, keyDirty);
constexpr size_t kChangeFlagsSize = offsetof(SettingsImage, reserved5) - kChangeFlagsOffset;

// Default HID usage of each key index; also the default standardKey.
extern const uint8_t defaultUsageOf[kKeyCount];

// Sets currentProfile to -1 and everything but rightWin to zero bytes.
void clearImage(SettingsImage& image);
// Fills one profile with the built-in defaults; index 0..4 names it.
void buildDefaultProfile(ProfileRecord& profile, int index);
// The default key entry of one key position.
void buildDefaultKey(KeyAssignment& key, int keyIndex);
// currentProfile 0, rightWin 1 and five default profiles; flags untouched.
void buildDefaultImage(SettingsImage& image);
// Zeroes every change flag (and the reserved words between them).
void clearChangeFlags(SettingsImage& image);
// The number of keys whose function code is 2 or 3.
int countMacroKeys(const ProfileRecord& profile);
