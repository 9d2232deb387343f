#include "MaskRuns.h"

#include <algorithm>

namespace {

bool channelInside(uint32_t value, uint32_t low, uint32_t tol) {
  uint32_t high = std::min<uint32_t>(low + tol, 255);
  return value >= low && value <= high;
}

void resetBatch(MaskBatch& batch) {
  batch.rects.clear();
  batch.bounds = {0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
}

}  // namespace

bool IsMaskPixelTransparent(uint32_t dibPixel, uint32_t transparent, uint32_t tolerance) {
  uint32_t r = (dibPixel >> 16) & 0xFF, g = (dibPixel >> 8) & 0xFF, b = dibPixel & 0xFF;
  return channelInside(r, transparent & 0xFF, tolerance & 0xFF) &&
         channelInside(g, (transparent >> 8) & 0xFF, (tolerance >> 8) & 0xFF) &&
         channelInside(b, (transparent >> 16) & 0xFF, (tolerance >> 16) & 0xFF);
}

void CollectMaskRuns(int width, int height, const std::function<const uint32_t*(int)>& rowAt,
                     uint32_t transparent, uint32_t tolerance,
                     const std::function<void(const MaskBatch&)>& emit, size_t batchSize) {
  MaskBatch batch;
  resetBatch(batch);
  batch.rects.reserve(batchSize);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = rowAt(y);
    for (int x = 0; x < width; ++x) {
      if (IsMaskPixelTransparent(row[x], transparent, tolerance)) continue;
      int x0 = x;
      while (x < width && !IsMaskPixelTransparent(row[x], transparent, tolerance)) ++x;
      batch.rects.push_back({x0, y, x, y + 1});
      batch.bounds.left = std::min(batch.bounds.left, x0);
      batch.bounds.top = std::min(batch.bounds.top, y);
      batch.bounds.right = std::max(batch.bounds.right, x);
      batch.bounds.bottom = std::max(batch.bounds.bottom, y + 1);
      if (batch.rects.size() >= batchSize) {
        emit(batch);
        resetBatch(batch);
      }
    }
  }
  if (!batch.rects.empty()) emit(batch);
}
