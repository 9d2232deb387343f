#include "DibCanvas_win.h"

#include <algorithm>

DibCanvas::~DibCanvas() { release(); }

void DibCanvas::release() {
  if (dc_ && oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
  oldBitmap_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  pixels_ = nullptr;
  width_ = height_ = 0;
}

bool DibCanvas::ensure(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (pixels_ && width == width_ && height == height_) return true;
  release();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first in memory
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc_.reset(CreateCompatibleDC(nullptr));
  if (!bitmap_ || !dc_ || !bits) {
    release();
    return false;
  }
  oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
  pixels_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

void DibCanvas::clear() {
  if (!pixels_) return;
  GdiFlush();  // GDI may still be drawing into the section
  std::fill_n(pixels_, size_t(width_) * size_t(height_), 0u);
}

void DibCanvas::copyTo(HDC target) const {
  if (dc_) BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}
