#pragma once
// Turns the rows of a mask picture into the rectangles of a window outline.
// Runs of non-transparent pixels become one-row rectangles, handed out in
// batches so that no region call gets an unbounded list.

#include <cstdint>
#include <functional>
#include <vector>

#include "SkinPosition.h"

constexpr size_t kMaskBatchSize = 2000;

// Pixels are 0x00RRGGBB words as a 32-bit DIB holds them; colours are COLORREF
// (0x00BBGGRR). A pixel is transparent when each channel lies in
// [transparent, transparent + tolerance], capped at 255.
bool IsMaskPixelTransparent(uint32_t dibPixel, uint32_t transparent, uint32_t tolerance);

struct MaskBatch {
  std::vector<SkinRect> rects;
  SkinRect bounds;  // left/top 0x7FFFFFFF and right/bottom 0 while empty
};

// rowAt(y) returns the first pixel of picture row y (top row is 0).
// emit is called for each full batch and once for the remainder (when not empty).
void CollectMaskRuns(int width, int height, const std::function<const uint32_t*(int)>& rowAt,
                     uint32_t transparent, uint32_t tolerance,
                     const std::function<void(const MaskBatch&)>& emit, size_t batchSize = kMaskBatchSize);
