#pragma once
// What the colour dialog does with its controls' notifications: the number
// fields' identifiers and bytes, the presets, the texts it shows.

#include <optional>
#include <string>

#include "ColorMath.h"

// Identifiers of the red, green and blue number fields.
constexpr int kRedFieldId = 401, kGreenFieldId = 402, kBlueFieldId = 403;
constexpr int kPresetCount = int(kPresetColors.size());

// The channel a number field edits; nothing for another identifier.
std::optional<ColorChannel> ChannelOfNumberField(int id);
// The dialog's colour after a number field reported `value` (its low byte
// counts); unchanged for an unknown identifier.
Color ColorAfterNumberField(Color current, int id, unsigned value);
// Preset `index` (0..5); nothing for another index.
std::optional<Color> PresetColor(int index);

// What the dialog shows for a colour: the three number fields and the hex text.
struct ColorTexts {
  int red = 0, green = 0, blue = 0;
  std::string hex;
};
ColorTexts TextsOf(Color c);
