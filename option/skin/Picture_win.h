#pragma once
// Skin pictures: decoding, cutting state images, and window outlines from masks.

#include <windows.h>

#include <string>

#include "Handle_win.h"

// Reads a BMP (through the system's loader), JPEG or GIF file (through
// PictureDecode.h, as a 24-bit section, 8-bit for grey pictures) into
// `target`, an owned DIB section.
// A missing, damaged or undecodable file leaves `target` empty and `size`
// 0 x 0 and returns false: the window then simply has no picture.
bool LoadPictureFile(const std::string& path, UniqueBitmap& target, SIZE& size);

// Region of every pixel whose colour lies outside [transparent, transparent +
// tolerance] per channel; empty handle when there is no bitmap or no DC.
UniqueRegion RegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance);

// Replaces `target` with a copy of the rectangle (left, top)-(right, bottom) of
// `source`. Does nothing when there is no source.
void CutStateImage(HDC dc, UniqueBitmap& target, HBITMAP source, int left, int top, int right, int bottom);

SIZE BitmapSize(HBITMAP bitmap);

// While one lives, CutStateImage keeps each source picture selected in a
// memory DC of its own instead of selecting it anew for every cut: a window
// with a hundred controls cuts four hundred images from four pictures. The
// pictures must outlive the scope, and the scopes do not nest.
class StateCutScope {
 public:
  StateCutScope();
  ~StateCutScope();
  StateCutScope(const StateCutScope&) = delete;
  StateCutScope& operator=(const StateCutScope&) = delete;
};
