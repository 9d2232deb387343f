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

// Where the decoded rows go: `allocate(width, height)` returns the first
// byte of a top-down picture of 3 bytes a pixel (blue, green, red) whose rows
// are padded to 4 bytes, as a 24-bit device-independent bitmap holds them;
// null refuses the picture.
using PictureRows = std::function<uint8_t*(int width, int height)>;

// Decodes a JPEG or GIF picture into `rows`. False, without calling `rows`,
// for anything damaged: an unknown format, a header that claims no pixels or
// more than kMaxPictureSide, a JPEG cut short of its end marker or a GIF of
// its trailer, or data the decoder refuses.
bool DecodePicture(const uint8_t* data, size_t size, const PictureRows& rows);

constexpr size_t PictureStride(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }
