#pragma once
// Decoding of the skin's JPEG (and GIF) pictures, without a window system.
// Bitmaps (BMP) are the system's to read; everything else comes through here.

#include <cstddef>
#include <cstdint>
#include <functional>

enum class PictureFormat { Unknown, Bmp, Jpeg, Gif };
PictureFormat PictureFormatOf(const uint8_t* data, size_t size);

// No skin window is larger; a header that claims more is a damaged file.
constexpr int kMaxPictureSide = 8192;

// Where the decoded rows go: `allocate(width, height, bytesPerPixel)`
// returns the first byte of a top-down picture whose rows are padded to 4
// bytes, as a device-independent bitmap holds them: 3 bytes a pixel (blue,
// green, red), or 1 (a grey level) for a grey picture, a third of the
// memory; null refuses the picture.
using PictureRows = std::function<uint8_t*(int width, int height, int bytesPerPixel)>;

// Decodes a JPEG or GIF picture into `rows`. False, without calling `rows`,
// for anything damaged: an unknown format, a header that claims no pixels or
// more than kMaxPictureSide, a JPEG cut short of its end marker or a GIF of
// its trailer, or data the decoder refuses.
bool DecodePicture(const uint8_t* data, size_t size, const PictureRows& rows);

// The width and height a BMP, JPEG or GIF header claims, without decoding:
// false for anything else, or a size of none or beyond kMaxPictureSide.
bool PictureDimensions(const uint8_t* data, size_t size, int& width, int& height);

constexpr size_t PictureStride(int width, int bytesPerPixel = 3) {
  return (size_t(width) * size_t(bytesPerPixel) + 3) & ~size_t(3);
}
