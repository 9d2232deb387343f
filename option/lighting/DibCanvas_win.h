#pragma once
// A 32-bit top-down DIB section selected into its own memory DC: pixels are
// written directly (0x00RRGGBB), then the whole picture is copied to a window.

#include <windows.h>

#include <cstdint>

#include "Handle_win.h"

class DibCanvas {
 public:
  DibCanvas() = default;
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;
  ~DibCanvas();

  // Keeps the picture when the size is unchanged; false when it cannot be made.
  bool ensure(int width, int height);
  HDC dc() const { return dc_.get(); }
  uint32_t* pixels() const { return pixels_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Clears to black.
  void clear();
  void copyTo(HDC target) const;

 private:
  void release();
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
};
