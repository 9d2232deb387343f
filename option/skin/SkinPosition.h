#pragma once
// Position strings of the skin INI files: "name,x,y,w,h,text".

#include <cstdint>
#include <string_view>

struct SkinRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool operator==(const SkinRect&) const = default;
};

// Coordinates and sizes beyond this (in either direction) are no window's:
// the parser cuts them to it, so that the far edges x + w and y + h, and
// what the controls compute from them (thumb travel times a value range,
// a picker position times 1000), cannot overflow.
constexpr int32_t kSkinCoordinateLimit = 32767;

struct SkinPosition {
  static constexpr size_t kNameSize = 40;
  static constexpr size_t kTextSize = 404;
  char name[kNameSize] = {};
  SkinRect rect;
  char text[kTextSize] = {};
};

// Never fails: missing fields stay empty or zero, long fields are cut to fit.
SkinPosition ParseSkinPosition(std::string_view value);
