#include "CustomLedRules.h"

void ApplyLedSwatchColor(ProfileRecord& profile, int selectedLed, Color color) {
  if (IsLedIndex(selectedLed)) profile.customColors[selectedLed] = color;
  profile.customCtrlClickColor = color;
}

bool ApplyLedClick(ProfileRecord& profile, int led, bool ctrlHeld) {
  if (!ctrlHeld || !IsLedIndex(led)) return false;
  profile.customColors[led] = profile.customCtrlClickColor;
  return true;
}

Color LedColor(const ProfileRecord& profile, int led) {
  return IsLedIndex(led) ? profile.customColors[led] : profile.customCtrlClickColor;
}
