#include "SkinPictures_win.h"

#include <map>
#include <vector>

#include "PictureDecode.h"
#include "Picture_win.h"
#include "SkinLoader_win.h"
#include "SkinScale.h"

namespace {
int g_scale = 100;

// A picture as 24-bit rows, bottom-up as the system's bitmaps hold them.
bool pixelsOf(HBITMAP picture, SIZE size, std::vector<uint8_t>& rows) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  rows.assign(PictureStride(size.cx) * size_t(size.cy), 0);
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  return dc && GetDIBits(dc.get(), picture, 0, UINT(size.cy), rows.data(), &info, DIB_RGB_COLORS) == size.cy;
}

UniqueBitmap scaled(HBITMAP picture, SIZE from, SIZE to, PictureFilter filter) {
  std::vector<uint8_t> rows;
  if (!picture || to.cx <= 0 || to.cy <= 0 || !pixelsOf(picture, from, rows)) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = to.cx;
  info.bmiHeader.biHeight = to.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!result || !bits) return {};
  if (!ScalePictureRows(rows.data(), from.cx, from.cy, PictureStride(from.cx), 3, static_cast<uint8_t*>(bits),
                        to.cx, to.cy, PictureStride(to.cx), filter))
    return {};
  return result;
}

std::string inSet200(const std::string& path) {
  const std::string root = SkinRoot();
  if (path.compare(0, root.size(), root) != 0) return {};
  return root + kSkinSet200 + path.substr(root.size());
}
}  // namespace

int CurrentSkinScale() { return g_scale; }
void SetCurrentSkinScale(int percent) {
  g_scale = 100;
  for (int scale : kSkinScales)
    if (scale == percent) g_scale = scale;
}

int DpiScale(int length) { return ScaleLength(length, g_scale); }
RECT DpiScale(const RECT& rect) {
  return {DpiScale(int(rect.left)), DpiScale(int(rect.top)), DpiScale(int(rect.right)),
          DpiScale(int(rect.bottom))};
}
SkinRect DpiScale(const SkinRect& rect) { return ScaleSkinRect(rect, g_scale); }

int MonitorDpi(HMONITOR monitor) {
  // Per monitor where the system says (Windows 8.1 and later), else the system's.
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpi = [] {
    HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  UINT x = 0, y = 0;
  if (monitor && getDpi && SUCCEEDED(getDpi(monitor, 0 /* effective */, &x, &y)) && x > 0) return int(x);
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

SkinRect MonitorWorkArea(HMONITOR monitor) {
  MONITORINFO info{sizeof info};
  if (!monitor || !GetMonitorInfoA(monitor, &info))
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return {int(info.rcWork.left), int(info.rcWork.top), int(info.rcWork.right), int(info.rcWork.bottom)};
}

bool LoadSkinPicture(const std::string& path, UniqueBitmap& target, SIZE& size, PictureFilter filter) {
  if (g_scale == 100 || path.empty()) return LoadPictureFile(path, target, size);
  const std::string large = inSet200(path);
  UniqueBitmap source;
  SIZE sourceSize{};
  SIZE base{};
  if (!large.empty() && LoadPictureFile(large, source, sourceSize)) {
    // The 200 % set is the 100 % set drawn at twice the size.
    base = {(sourceSize.cx + 1) / 2, (sourceSize.cy + 1) / 2};
    if (g_scale == 200 && sourceSize.cx == ScaleLength(base.cx, 200) &&
        sourceSize.cy == ScaleLength(base.cy, 200)) {
      target = std::move(source);
      size = sourceSize;
      return true;
    }
  } else if (LoadPictureFile(path, source, sourceSize)) {
    base = sourceSize;
  } else {
    target.reset();
    size = {0, 0};
    return false;
  }
  const SIZE wanted{ScaleLength(base.cx, g_scale), ScaleLength(base.cy, g_scale)};
  target = scaled(source.get(), sourceSize, wanted, filter);
  size = target ? wanted : SIZE{0, 0};
  return bool(target);
}

std::map<int, std::string>& resourceFiles() {
  static std::map<int, std::string> files;  // the UI thread's only
  return files;
}

void NameSkinResourcePicture(int id, const char* file) { resourceFiles()[id] = file ? file : ""; }

UniqueBitmap LoadSkinResourcePicture(int id, PictureFilter filter) {
  UniqueBitmap resource(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (g_scale == 100) return resource;
  UniqueBitmap picture;
  SIZE size{};
  const auto named = resourceFiles().find(id);
  if (named != resourceFiles().end() && !named->second.empty() &&
      LoadPictureFile(SkinRoot() + kSkinSet200 + named->second, picture, size)) {
    const SIZE wanted{ScaleLength((size.cx + 1) / 2, g_scale), ScaleLength((size.cy + 1) / 2, g_scale)};
    if (wanted.cx == size.cx && wanted.cy == size.cy) return picture;
    if (UniqueBitmap fitted = scaled(picture.get(), size, wanted, filter)) return fitted;
  }
  // No 200 % picture: the program's own, scaled up.
  const SIZE base = BitmapSize(resource.get());
  if (UniqueBitmap fitted = scaled(resource.get(), base,
                                   {ScaleLength(base.cx, g_scale), ScaleLength(base.cy, g_scale)}, filter))
    return fitted;
  return resource;
}

RECT KeepOnWorkArea(const RECT& rect) {
  const SkinRect area = MonitorWorkArea(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
  const SkinRect kept = KeepInside({int(rect.left), int(rect.top), int(rect.right), int(rect.bottom)}, area);
  return {kept.left, kept.top, kept.right, kept.bottom};
}
