#include "ColorMath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kChannelMax = 255;
constexpr int kSixthOfCircle = kHueSteps / 6;

// Rounds a/b up for any sign of a (b > 0); C++ division truncates towards zero.
int ceilDiv(int a, int b) { return a / b + (a % b > 0 ? 1 : 0); }

uint8_t toChannel(double v) {
  return uint8_t(std::clamp(std::lround(v * kChannelMax), 0L, long(kChannelMax)));
}
}  // namespace

Color WithChannel(Color c, ColorChannel channel, unsigned value) {
  int shift = channel == ColorChannel::Red ? 0 : channel == ColorChannel::Green ? 8 : 16;
  return (c & ~(Color(0xFF) << shift)) | Color(value & 0xFF) << shift;
}

Hsv HsvFromColor(Color c) {
  // Integer arithmetic: the rounding up must not pick up the float error of an
  // exact value (120 degrees would become 1201 tenths).
  int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  int high = std::max({r, g, b}), low = std::min({r, g, b}), delta = high - low;
  Hsv hsv;
  hsv.brightness = ceilDiv(high * kHsvScale, kChannelMax);
  hsv.saturation = high == 0 ? 0 : ceilDiv(delta * kHsvScale, high);
  if (delta == 0) return hsv;
  int hue;
  if (high == r)
    hue = ceilDiv((g - b) * kSixthOfCircle, delta);
  else if (high == g)
    hue = 2 * kSixthOfCircle + ceilDiv((b - r) * kSixthOfCircle, delta);
  else
    hue = 4 * kSixthOfCircle + ceilDiv((r - g) * kSixthOfCircle, delta);
  hsv.hue = ((hue % kHueSteps) + kHueSteps) % kHueSteps;  // 360 degrees is 0
  return hsv;
}

Color ColorFromHsv(const Hsv& hsv) {
  double v = std::clamp(hsv.brightness, 0, kHsvScale) / double(kHsvScale);
  double s = std::clamp(hsv.saturation, 0, kHsvScale) / double(kHsvScale);
  int hue = ((hsv.hue % kHueSteps) + kHueSteps) % kHueSteps;
  double sector = hue / double(kSixthOfCircle);  // 0 <= sector < 6
  double chroma = v * s;
  double second = chroma * (1 - std::fabs(std::fmod(sector, 2.0) - 1));
  double low = v - chroma;
  double r = low, g = low, b = low;
  switch (int(sector)) {
    case 0:
      r += chroma;
      g += second;
      break;
    case 1:
      r += second;
      g += chroma;
      break;
    case 2:
      g += chroma;
      b += second;
      break;
    case 3:
      g += second;
      b += chroma;
      break;
    case 4:
      r += second;
      b += chroma;
      break;
    default:
      r += chroma;
      b += second;
      break;
  }
  return MakeColor(toChannel(r), toChannel(g), toChannel(b));
}

std::string ColorHexText(Color c) {
  char text[8];
  std::snprintf(text, sizeof text, "%.2x%.2x%.2x", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

bool MarkerIsBlack(Color c) { return std::max({RedOf(c), GreenOf(c), BlueOf(c)}) >= kMarkerLightThreshold; }
