#pragma once
// Position arithmetic of the colour dialog's two pickers: the saturation x
// brightness field and the vertical hue bar, their keys and their pixels.

#include <cstdint>

#include "ColorMath.h"

// Keys the pickers answer, independent of the platform's key codes.
enum class PickerKey { PageUp, PageDown, Home, End, Left, Right, Up, Down };

// The field: saturation grows to the right, brightness upwards.
struct FieldValue {
  int saturation = 0;
  int brightness = 0;
  bool operator==(const FieldValue&) const = default;
};
// The cursor is clamped into the field first; both parts round up.
FieldValue FieldValueAt(int x, int y, int width, int height);
// Where the marker of a value sits in a field of that size.
int FieldXOf(int saturation, int width);
int FieldYOf(int brightness, int height);
// False for keys the field does not use (then `value` is unchanged).
bool FieldAfterKey(FieldValue& value, PickerKey key);

// The hue bar: hue 0 at the top, kHueMax at the bottom.
constexpr int kHueLineStep = 10;
constexpr int kHuePageStep = 100;
int HueAt(int y, int height);
int HueBarYOf(int hue, int height);
bool HueAfterKey(int& hue, PickerKey key);

// The gradient of the field at `hue`, 0x00RRGGBB per pixel (the layout of a
// 32-bit DIB), row 0 on top, `stride` pixels per row. The first column is
// saturation 0, the last 1000; the top row brightness 1000, the bottom 0.
void FillFieldGradient(uint32_t* pixels, int width, int height, int stride, int hue);
// The bar: each row the full colour of its hue.
void FillHueStrip(uint32_t* pixels, int width, int height, int stride);
// 0x00BBGGRR to the 0x00RRGGBB of a DIB pixel.
constexpr uint32_t DibPixelOf(Color c) {
  return uint32_t(RedOf(c)) << 16 | uint32_t(GreenOf(c)) << 8 | BlueOf(c);
}
