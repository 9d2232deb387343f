#pragma once
// Colours of the colour dialog: 0x00BBGGRR words, their hue, saturation and
// brightness, the hexadecimal text and the preset colours.

#include <array>
#include <cstdint>
#include <string>

#include "SettingsImage.h"

constexpr int kHueSteps = 3600;  // tenths of a degree
constexpr int kHueMax = kHueSteps - 1;
constexpr int kHsvScale = 1000;  // saturation and brightness in thousandths

struct Hsv {
  int hue = 0;         // 0..kHueMax
  int saturation = 0;  // 0..kHsvScale
  int brightness = 0;  // 0..kHsvScale
  bool operator==(const Hsv&) const = default;
};

constexpr uint8_t RedOf(Color c) { return uint8_t(c); }
constexpr uint8_t GreenOf(Color c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(Color c) { return uint8_t(c >> 16); }
constexpr Color MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
  return Color(red) | Color(green) << 8 | Color(blue) << 16;
}

enum class ColorChannel { Red, Green, Blue };
// `c` with one byte replaced by the low byte of `value`.
Color WithChannel(Color c, ColorChannel channel, unsigned value);

// Each part rounded up to its unit (hue in tenths, the others in thousandths).
Hsv HsvFromColor(Color c);
// Out-of-range parts are clamped (hue wraps); channels rounded to the nearest.
Color ColorFromHsv(const Hsv& hsv);

// Six lower-case digits, red first ("%.2x%.2x%.2x"), whatever the byte order.
std::string ColorHexText(Color c);

// Red, cyan, green, blue, yellow, magenta.
constexpr std::array<Color, 6> kPresetColors{0x0000FF, 0xFFFF00, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};

// The pickers' marker is black on a light colour, white on a dark one.
constexpr int kMarkerLightThreshold = 128;
bool MarkerIsBlack(Color c);
