#pragma once
// The Custom effect's per-LED colours: what the LED swatch, the global swatch,
// the variant buttons and a click on an LED of the keyboard picture change in
// the profile. Indices outside 0..125 change nothing.

#include "SettingsImage.h"

constexpr int kFirstLedPositionKey = 150;  // LED i sits at skin position key 150 + i

inline bool IsLedIndex(int led) { return led >= 0 && led < kLedCount; }

// The LED swatch's dialog closed with OK: the selected LED and every later
// Ctrl+click take the colour. False when `selectedLed` is no LED.
bool ApplyLedSwatchColor(ProfileRecord& profile, int selectedLed, Color color);
// LED `led` clicked; with Ctrl it takes the Ctrl+click colour. True when the
// profile changed. A plain click only selects (the caller keeps `selectedLed`).
bool ApplyLedClick(ProfileRecord& profile, int led, bool ctrlHeld);
// The colour the LED swatch shows; 0 for no LED.
Color LedColor(const ProfileRecord& profile, int led);
