#pragma once
// What the colour dialog does with its controls' notifications: the number
// fields' identifiers and bytes, the presets, the texts it shows.

#include <optional>
#include <string>
#include <string_view>

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

// The "#" field: a typed colour as RRGGBB, six hexadecimal digits in either
// case, with or without "#" and blanks around; nothing while it is not one.
std::optional<Color> ColorFromHexText(std::string_view text);
// What the field shows: rrggbb, as the colour's other texts.
std::string HexFieldText(Color c);
