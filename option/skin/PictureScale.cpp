#include "PictureScale.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STBIR_ASSERT(x) ((void)0)
#include <stb_image_resize.h>

#include <vector>

#include "PictureDecode.h"

namespace {

bool fits(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

void nearest(const uint8_t* from, int width, int height, size_t fromStride, int channels, uint8_t* to,
             int toWidth, int toHeight, size_t toStride) {
  for (int y = 0; y < toHeight; ++y) {
    // The source pixel under the centre of the target pixel.
    const int sy = int((int64_t(2 * y + 1) * height) / (2 * int64_t(toHeight)));
    const uint8_t* row = from + size_t(sy) * fromStride;
    uint8_t* out = to + size_t(y) * toStride;
    for (int x = 0; x < toWidth; ++x) {
      const int sx = int((int64_t(2 * x + 1) * width) / (2 * int64_t(toWidth)));
      for (int c = 0; c < channels; ++c) out[size_t(x) * channels + c] = row[size_t(sx) * channels + c];
    }
  }
}

}  // namespace

bool ScalePictureRows(const uint8_t* from, int width, int height, size_t fromStride, int channels,
                      uint8_t* to, int toWidth, int toHeight, size_t toStride, PictureFilter filter) {
  if (!from || !to || !fits(width, height) || !fits(toWidth, toHeight)) return false;
  if (channels != 1 && channels != 3 && channels != 4) return false;
  if (fromStride < size_t(width) * channels || toStride < size_t(toWidth) * channels) return false;
  if (filter == PictureFilter::Nearest) {
    nearest(from, width, height, fromStride, channels, to, toWidth, toHeight, toStride);
    return true;
  }
  const stbir_filter kind = filter == PictureFilter::Smooth ? STBIR_FILTER_CATMULLROM : STBIR_FILTER_TRIANGLE;
  if (!stbir_resize_uint8_generic(from, width, height, int(fromStride), to, toWidth, toHeight, int(toStride),
                                  channels, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, kind,
                                  STBIR_COLORSPACE_LINEAR, nullptr))
    return false;
  if (filter == PictureFilter::Outline) {
    // Two levels only: the outline a region is made from has no grey.
    for (int y = 0; y < toHeight; ++y) {
      uint8_t* row = to + size_t(y) * toStride;
      for (size_t i = 0; i < size_t(toWidth) * channels; ++i) row[i] = row[i] >= 128 ? 255 : 0;
    }
  }
  return true;
}
