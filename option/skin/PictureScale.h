#pragma once
// Pictures of the 200 % skin brought to the size a window shows them at
// (125, 150 and 175 % are drawn from them at load), without a window system.

#include <cstddef>
#include <cstdint>

enum class PictureFilter {
  Smooth,   // photographs of the window: a sharp cubic filter
  Nearest,  // pictures with a transparent key colour: no colour in between
  Outline,  // masks: a pixel is inside where most of what it covers is
};

// Scales `from` (top-down rows of `fromStride` bytes, `channels` bytes a
// pixel: 1, 3 or 4) to `toWidth` x `toHeight` into `to`. False, writing
// nothing, for a size of zero or below or more than kMaxPictureSide.
bool ScalePictureRows(const uint8_t* from, int width, int height, size_t fromStride, int channels,
                      uint8_t* to, int toWidth, int toHeight, size_t toStride, PictureFilter filter);
