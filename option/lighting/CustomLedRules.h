#pragma once
// The Custom effect's per-LED colours: what the LED swatch, the global swatch,
// the variant buttons and a click on an LED of the keyboard picture change in
// the profile. Indices outside 0..125 change nothing.

#include "SettingsImage.h"

constexpr int kFirstLedPositionKey = 150;  // LED i sits at skin position key 150 + i

inline bool IsLedIndex(int led) { return led >= 0 && led < kLedCount; }
// No LED selected yet: the LED swatch then chooses only the paint colour.
constexpr int kNoLed = -1;

// The LED swatch's dialog closed with OK: every later Ctrl+click paints with
// the colour, and the selected LED takes it too. Choosing the paint colour
// before any LED is selected colours no LED.
void ApplyLedSwatchColor(ProfileRecord& profile, int selectedLed, Color color);
// LED `led` clicked; with Ctrl it takes the Ctrl+click colour. True when the
// profile changed. A plain click only selects (the caller keeps `selectedLed`).
bool ApplyLedClick(ProfileRecord& profile, int led, bool ctrlHeld);
// The colour the LED swatch shows: the selected LED's, or the paint colour
// while no LED is selected.
Color LedColor(const ProfileRecord& profile, int led);
