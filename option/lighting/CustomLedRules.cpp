#include "CustomLedRules.h"

bool ApplyLedSwatchColor(ProfileRecord& profile, int selectedLed, Color color) {
  if (!IsLedIndex(selectedLed)) return false;
  profile.customColors[selectedLed] = color;
  profile.customCtrlClickColor = color;
  return true;
}

bool ApplyLedClick(ProfileRecord& profile, int led, bool ctrlHeld) {
  if (!ctrlHeld || !IsLedIndex(led)) return false;
  profile.customColors[led] = profile.customCtrlClickColor;
  return true;
}

Color LedColor(const ProfileRecord& profile, int led) {
  return IsLedIndex(led) ? profile.customColors[led] : 0;
}
