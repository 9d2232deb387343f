#include "OptionRules.h"

std::string firmwareVersionText(int version, FirmwareRange range) {
  constexpr int kLowest = 100, kHighestAtStart = 500;
  if (version < kLowest || (range == FirmwareRange::StartUp && version > kHighestAtStart)) return "N/A";
  std::string digits = std::to_string(version);
  return digits.substr(0, 1) + "." + digits.substr(1);
}

KeyLook keyLookOf(const KeyAssignment& key, int keyIndex) {
  switch (key.category) {
    case kCategoryCombination: {
      // A combination that is just the key itself is the key's own function.
      const bool ownKey = keyIndex >= 0 && keyIndex < kKeyCount &&
                          key.steps[0].code() == defaultUsageOf[keyIndex] && key.steps[1].word == 0 &&
                          key.steps[2].word == 0;
      return ownKey ? KeyLook::Normal : KeyLook::Blue;
    }
    case kCategoryMedia:
      return KeyLook::Danlv;
    case kCategoryMacro:
      return KeyLook::Red;
    case kCategoryLaunch:
      return KeyLook::Green;
    case 7:
      return KeyLook::Purple;
    case kCategoryShortcut:
      return KeyLook::Cyan;
    case kCategoryDisabled:
      return KeyLook::Dective;
    default:
      return KeyLook::Normal;
  }
}

KeyboardPictureMode keyboardPictureMode(ContentPage page, const ProfileRecord& profile) {
  if (page == ContentPage::WindowsKey) return KeyboardPictureMode::Keys;
  if (profile.lightFx == kCustomEffect && profile.customMode == 0) return KeyboardPictureMode::Leds;
  return KeyboardPictureMode::Empty;
}

int selectionAfterRemove(int removed, int remaining) {
  if (remaining <= 0) return -1;
  return removed < remaining ? removed : remaining - 1;
}
