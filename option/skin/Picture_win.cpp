#include "Picture_win.h"

#include <cstring>
#include <vector>

#include "MaskRuns.h"
#include "PictureDecode.h"

namespace {

bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const DWORD length = GetFileSize(file.get(), nullptr);
  if (length == 0 || length == INVALID_FILE_SIZE) return false;
  bytes.resize(length);
  DWORD got = 0;
  return ReadFile(file.get(), bytes.data(), length, &got, nullptr) && got == length;
}

// The system's loader hands back a 1 x 1 placeholder for a truncated BMP, or
// reads past the end of the file where only its pixels are cut short; refuse
// one whose headers or pixel rows do not fit in the file, so the window gets
// no picture.
bool plausibleBitmap(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return false;
  DWORD offset = 0;
  std::memcpy(&offset, bytes.data() + 10, sizeof offset);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, bytes.data() + sizeof(BITMAPFILEHEADER), sizeof header);
  if (offset >= bytes.size()) return false;
  const uint64_t width = uint64_t(header.biWidth < 0 ? -int64_t(header.biWidth) : header.biWidth);
  const uint64_t height = uint64_t(header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight);
  const uint64_t pixels = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS
                              ? (width * header.biBitCount + 31) / 32 * 4 * height
                              : header.biSizeImage;
  return uint64_t(offset) + pixels <= bytes.size();
}

// A top-down section the decoder's rows go straight into: 24 bits, a
// quarter less memory than 32, or 8 bits of grey levels for a grey picture.
HBITMAP decodedSection(const std::vector<uint8_t>& bytes) {
  HBITMAP section = nullptr;
  const bool ok =
      DecodePicture(bytes.data(), bytes.size(), [&](int width, int height, int bytesPerPixel) -> uint8_t* {
        struct {
          BITMAPINFOHEADER header;
          RGBQUAD greys[256];
        } info{};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = width;
        info.header.biHeight = -height;
        info.header.biPlanes = 1;
        info.header.biBitCount = WORD(bytesPerPixel * 8);
        info.header.biCompression = BI_RGB;
        if (bytesPerPixel == 1) {
          info.header.biClrUsed = 256;
          for (int i = 0; i < 256; ++i) info.greys[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
        }
        void* bits = nullptr;
        section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                   nullptr, 0);
        return section ? static_cast<uint8_t*>(bits) : nullptr;
      });
  if (!ok && section) {
    DeleteObject(section);
    section = nullptr;
  }
  return section;
}

}  // namespace

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObject(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

bool LoadPictureFile(const std::string& path, UniqueBitmap& target, SIZE& size) {
  target.reset();
  size = {0, 0};
  std::vector<uint8_t> bytes;
  if (path.empty() || !readWholeFile(path, bytes)) return false;
  switch (PictureFormatOf(bytes.data(), bytes.size())) {
    case PictureFormat::Bmp:
      // A bitmap needs no decoder: the system reads it as fast as it reads the file.
      if (!plausibleBitmap(bytes)) return false;
      bytes = {};
      target.reset(static_cast<HBITMAP>(
          LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
      break;
    case PictureFormat::Jpeg:
    case PictureFormat::Gif:
      target.reset(decodedSection(bytes));
      break;
    case PictureFormat::Unknown:
      return false;
  }
  size = BitmapSize(target.get());
  if (size.cx <= 0 || size.cy <= 0) {
    target.reset();
    size = {0, 0};
  }
  return bool(target);
}

namespace {
struct SelectedSource {
  HBITMAP picture = nullptr;
  HDC dc = nullptr;
  HGDIOBJ previous = nullptr;
};
struct CutCache {
  bool open = false;
  std::vector<SelectedSource> sources;
};
CutCache& cutCache() {
  static CutCache cache;  // the UI thread's only
  return cache;
}

// A memory DC with `picture` selected: the scope's own while one is open.
HDC sourceDc(HDC like, HBITMAP picture, UniqueMemoryDc& temporary, HGDIOBJ& previous) {
  CutCache& cache = cutCache();
  if (cache.open) {
    for (const SelectedSource& s : cache.sources)
      if (s.picture == picture) return s.dc;
    SelectedSource s{picture, CreateCompatibleDC(like), nullptr};
    if (!s.dc) return nullptr;
    s.previous = SelectObject(s.dc, picture);
    cache.sources.push_back(s);
    return s.dc;
  }
  temporary.reset(CreateCompatibleDC(like));
  if (temporary) previous = SelectObject(temporary.get(), picture);
  return temporary.get();
}
}  // namespace

StateCutScope::StateCutScope() { cutCache().open = true; }

StateCutScope::~StateCutScope() {
  CutCache& cache = cutCache();
  for (const SelectedSource& s : cache.sources) {
    SelectObject(s.dc, s.previous);
    DeleteDC(s.dc);
  }
  cache.sources.clear();
  cache.open = false;
}

void CutStateImage(HDC dc, UniqueBitmap& target, HBITMAP source, int left, int top, int right, int bottom) {
  if (!source) return;
  target.reset();
  int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return;
  target.reset(CreateCompatibleBitmap(dc, w, h));
  if (!target) return;
  UniqueMemoryDc temporary;
  HGDIOBJ previous = nullptr;
  HDC from = sourceDc(dc, source, temporary, previous);
  UniqueMemoryDc to(CreateCompatibleDC(dc));
  HGDIOBJ oldTo = SelectObject(to.get(), target.get());
  BitBlt(to.get(), 0, 0, w, h, from, left, top, SRCCOPY);
  SelectObject(to.get(), oldTo);
  if (temporary) SelectObject(temporary.get(), previous);
}

UniqueRegion RegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance) {
  if (!mask) return {};
  SIZE size = BitmapSize(mask);
  UniqueMemoryDc maskDc(CreateCompatibleDC(nullptr));
  UniqueMemoryDc copyDc(CreateCompatibleDC(nullptr));
  if (!maskDc || !copyDc) return {};

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = size.cy;  // bottom-up, as the system prefers
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap copy(CreateDIBSection(maskDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy || !bits) return {};
  HGDIOBJ oldMask = SelectObject(maskDc.get(), mask);
  HGDIOBJ oldCopy = SelectObject(copyDc.get(), copy.get());
  BitBlt(copyDc.get(), 0, 0, size.cx, size.cy, maskDc.get(), 0, 0, SRCCOPY);
  GdiFlush();

  const size_t stride = ((size_t(size.cx) * 32 + 31) / 32) * 4;
  const auto* base = static_cast<const BYTE*>(bits);
  auto rowAt = [&](int y) { return reinterpret_cast<const uint32_t*>(base + (size.cy - 1 - y) * stride); };

  UniqueRegion result(CreateRectRgn(0, 0, 0, 0));
  std::vector<BYTE> buffer;
  CollectMaskRuns(size.cx, size.cy, rowAt, transparent, tolerance, [&](const MaskBatch& batch) {
    buffer.assign(sizeof(RGNDATAHEADER) + batch.rects.size() * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(batch.rects.size());
    data->rdh.rcBound = {batch.bounds.left, batch.bounds.top, batch.bounds.right, batch.bounds.bottom};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < batch.rects.size(); ++i) {
      const SkinRect& r = batch.rects[i];
      rects[i] = {r.left, r.top, r.right, r.bottom};
    }
    UniqueRegion part(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
    if (part) CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
  });

  SelectObject(maskDc.get(), oldMask);
  SelectObject(copyDc.get(), oldCopy);
  return result;
}
