#include "PickerMath.h"

#include <algorithm>
#include <cmath>

namespace {
int ceilDiv(int a, int b) { return a / b + (a % b > 0 ? 1 : 0); }
// Nearest integer of a/b for a >= 0, b > 0.
int roundDiv(int a, int b) { return (2 * a + b) / (2 * b); }
}  // namespace

FieldValue FieldValueAt(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  // Both edges count as inside, so the corners reach 0 and 1000.
  x = std::clamp(x, 0, width);
  y = std::clamp(y, 0, height);
  return {ceilDiv(x * kHsvScale, width), ceilDiv((height - y) * kHsvScale, height)};
}

int FieldXOf(int saturation, int width) {
  return roundDiv(std::clamp(saturation, 0, kHsvScale) * width, kHsvScale);
}

int FieldYOf(int brightness, int height) {
  return height - roundDiv(std::clamp(brightness, 0, kHsvScale) * height, kHsvScale);
}

bool FieldAfterKey(FieldValue& value, PickerKey key) {
  FieldValue v = value;
  switch (key) {
    case PickerKey::PageUp:
      v = {kHsvScale, kHsvScale};
      break;
    case PickerKey::PageDown:
      v = {kHsvScale, 0};
      break;
    case PickerKey::End:
      v = {0, 0};
      break;
    case PickerKey::Home:
      v = {0, kHsvScale};
      break;
    case PickerKey::Left:
      --v.saturation;
      break;
    case PickerKey::Right:
      ++v.saturation;
      break;
    case PickerKey::Up:
      ++v.brightness;
      break;
    case PickerKey::Down:
      --v.brightness;
      break;
    default:
      return false;
  }
  value = {std::clamp(v.saturation, 0, kHsvScale), std::clamp(v.brightness, 0, kHsvScale)};
  return true;
}

int HueAt(int y, int height) {
  if (height <= 0) return 0;
  return roundDiv(std::clamp(y, 0, height) * kHueMax, height);
}

int HueBarYOf(int hue, int height) {
  return roundDiv(std::clamp(hue, 0, kHueMax) * std::max(height, 0), kHueMax);
}

bool HueAfterKey(int& hue, PickerKey key) {
  int h = hue;
  switch (key) {
    case PickerKey::PageUp:
      h -= kHuePageStep;
      break;
    case PickerKey::PageDown:
      h += kHuePageStep;
      break;
    case PickerKey::Home:
      h = 0;
      break;
    case PickerKey::End:
      h = kHueMax;
      break;
    case PickerKey::Right:
    case PickerKey::Down:
      h += kHueLineStep;
      break;
    case PickerKey::Left:
    case PickerKey::Up:
      h -= kHueLineStep;
      break;
    default:
      return false;
  }
  hue = std::clamp(h, 0, kHueMax);
  return true;
}

void FillFieldGradient(uint32_t* pixels, int width, int height, int stride, int hue) {
  if (width <= 0 || height <= 0) return;
  // At full saturation and brightness each channel is a fraction of 255; a
  // pixel is brightness x (1 - saturation x (1 - fraction)) of 255 per channel.
  Color pure = ColorFromHsv({hue, kHsvScale, kHsvScale});
  const int full[3] = {RedOf(pure), GreenOf(pure), BlueOf(pure)};
  const int lastColumn = std::max(width - 1, 1), lastRow = std::max(height - 1, 1);
  constexpr int kMax = 255;
  for (int y = 0; y < height; ++y) {
    uint32_t* row = pixels + size_t(y) * size_t(stride);
    const int brightness = (lastRow - y) * kHsvScale / lastRow;
    for (int x = 0; x < width; ++x) {
      const int saturation = x * kHsvScale / lastColumn;
      uint32_t pixel = 0;
      for (int c = 0; c < 3; ++c) {
        // value x 1000 x 1000 x 255: fits in 64 bits, not in 32.
        int64_t keep = int64_t(kHsvScale) * kMax - int64_t(saturation) * (kMax - full[c]);
        int64_t scaled = int64_t(brightness) * keep;
        const int64_t unit = int64_t(kHsvScale) * kHsvScale;
        pixel = pixel << 8 | uint32_t((scaled + unit / 2) / unit);
      }
      row[x] = pixel;
    }
  }
}

void FillHueStrip(uint32_t* pixels, int width, int height, int stride) {
  const int lastRow = std::max(height - 1, 1);
  for (int y = 0; y < height; ++y) {
    uint32_t pixel = DibPixelOf(ColorFromHsv({y * kHueMax / lastRow, kHsvScale, kHsvScale}));
    std::fill_n(pixels + size_t(y) * size_t(stride), std::max(width, 0), pixel);
  }
}
