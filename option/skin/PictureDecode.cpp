#include "PictureDecode.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS kMaxPictureSide
#include <stb_image.h>

#include <cstring>
#include <memory>

namespace {

// A file cut short still decodes, with grey where its end was; a skin
// picture like that is damaged and is refused as a whole.
bool complete(PictureFormat format, const uint8_t* data, size_t size) {
  if (format == PictureFormat::Jpeg) return size >= 4 && data[size - 2] == 0xFF && data[size - 1] == 0xD9;
  if (format == PictureFormat::Gif) return size >= 14 && data[size - 1] == 0x3B;
  return false;
}

}  // namespace

PictureFormat PictureFormatOf(const uint8_t* data, size_t size) {
  if (!data) return PictureFormat::Unknown;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return PictureFormat::Bmp;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return PictureFormat::Jpeg;
  if (size >= 6 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8')
    return PictureFormat::Gif;
  return PictureFormat::Unknown;
}

bool PictureDimensions(const uint8_t* data, size_t size, int& width, int& height) {
  width = height = 0;
  const PictureFormat format = PictureFormatOf(data, size);
  if (format == PictureFormat::Bmp) {
    if (size < 26) return false;
    int32_t w = 0, h = 0;
    std::memcpy(&w, data + 18, sizeof w);
    std::memcpy(&h, data + 22, sizeof h);
    width = w;
    height = h == INT32_MIN ? 0 : (h < 0 ? -h : h);  // top-down pictures count their rows negative
  } else if (format == PictureFormat::Jpeg || format == PictureFormat::Gif) {
    int channels = 0;
    if (size > size_t(INT32_MAX) || !stbi_info_from_memory(data, int(size), &width, &height, &channels))
      return false;
  } else {
    return false;
  }
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
    width = height = 0;
    return false;
  }
  return true;
}

bool DecodePicture(const uint8_t* data, size_t size, const PictureRows& rows) {
  const PictureFormat format = PictureFormatOf(data, size);
  if (format != PictureFormat::Jpeg && format != PictureFormat::Gif) return false;
  if (size > size_t(INT32_MAX) || !complete(format, data, size)) return false;
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, int(size), &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
  // Grey pictures (most pages' rest pictures) stay grey.
  const int bytesPerPixel = channels == 1 ? 1 : 3;
  std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
      stbi_load_from_memory(data, int(size), &width, &height, &channels, bytesPerPixel), stbi_image_free);
  if (!pixels || width <= 0 || height <= 0) return false;
  uint8_t* target = rows ? rows(width, height, bytesPerPixel) : nullptr;
  if (!target) return false;
  const size_t stride = PictureStride(width, bytesPerPixel);
  for (int y = 0; y < height; ++y) {
    const stbi_uc* from = pixels.get() + size_t(y) * size_t(width) * size_t(bytesPerPixel);
    uint8_t* to = target + size_t(y) * stride;
    if (bytesPerPixel == 1) {
      std::memcpy(to, from, size_t(width));
      continue;
    }
    for (int x = 0; x < width; ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  return true;
}
