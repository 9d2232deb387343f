#include "GallerySkins.h"

#include <cstdio>
#include <set>

#include "Picture_win.h"
#include "SkinButton_win.h"
#include "SkinWindow_win.h"

namespace {

class GalleryWindow : public SkinWindow {
 public:
  std::vector<std::pair<SkinButton*, SkinRect>> buttons;

 protected:
  void createControl(int ordinal, int, const SkinPosition& position,
                     const SkinStatePictures& pictures) override {
    buttons.push_back({SkinButton::Create(hwnd(), 1000 + ordinal, position, pictures),
                       position.rect});
  }
};

bool writeBmp(const std::string& path, int w, int h, const std::vector<uint32_t>& px) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{sizeof info, w, -h, 1, 32, BI_RGB};
  DWORD bytes = DWORD(px.size() * 4);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + bytes;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  WriteFile(f, &file, sizeof file, &n, nullptr);
  WriteFile(f, &info, sizeof info, &n, nullptr);
  WriteFile(f, px.data(), bytes, &n, nullptr);
  CloseHandle(f);
  return true;
}

}  // namespace

const std::vector<std::string>& GalleryIniFiles() {
  static const std::vector<std::string> files = {
      "skin_Config.ini", "skin_main.ini", "skin_color_control.ini",
      "LightFX\\skin_CONSTANT.ini", "LightFX\\skin_Breathe.ini", "LightFX\\skin_wave.ini",
      "LightFX\\skin_Ripple.ini", "LightFX\\skin_Custom.ini", "LightFX\\skin_Color_Select.ini",
      "buttons\\skin_set_button.ini", "buttons\\skin_Keyboard_button.ini",
      "buttons\\skin_Shortcut_button.ini", "buttons\\skin_Media_button.ini",
      "buttons\\skin_LaunchAP_button.ini", "buttons\\skin_Default_button.ini",
      "buttons\\skin_Macro_section.ini", "skin_win_key.ini", "skin_lanuch_program.ini",
      "skin_macro_manager.ini", "skin_text_macro_manager.ini", "buttons\\skin_profile1.ini",
      "buttons\\skin_profile2.ini", "buttons\\skin_profile3.ini", "buttons\\skin_profile4.ini",
      "buttons\\skin_profile5.ini", "skin_reset_warn.ini", "skin_profile1_reset_warn.ini",
      "skin_profile2_reset_warn.ini", "skin_profile3_reset_warn.ini",
      "skin_profile4_reset_warn.ini", "skin_profile5_reset_warn.ini",
      "skin_macro_set_warn.ini", "skin_delete_macro_warn.ini"};
  return files;
}

SkinSource GallerySource(const std::string& root, const std::string& ini, int count) {
  SkinSource source{ini, root, {}, {}};
  const std::string lightFx = "LightFX\\";
  if (ini.compare(0, lightFx.size(), lightFx) == 0) {
    source.pageFolder = root + lightFx;
    source.iniFile = ini.substr(lightFx.size());
  }
  if (ini == "skin_main.ini") {
    source.keys = {{40, 105}, {150, 126}};
    return source;
  }
  if (count <= 0) {
    std::string path = source.pageFolder + source.iniFile;
    while (count < 1000 && !ReadSkinString(path, "BUTTONPOS", std::to_string(count + 1).c_str()).empty())
      ++count;
  }
  source.keys = {{1, count}};
  return source;
}

GalleryCheck CheckGalleryWindow(const SkinSource& source, const std::string& captureBmp) {
  GalleryCheck check;
  GalleryWindow window;
  if (!window.create(source, "Varnel Quillon Gallery", nullptr, false)) {
    check.problem = "window not created";
    return check;
  }
  check.opened = true;
  ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateWindow(window.hwnd());
  // Let the window and its controls paint before the capture.
  for (DWORD end = GetTickCount() + 300; GetTickCount() < end;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  RECT client;
  GetClientRect(window.hwnd(), &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) {
    check.problem = "window has no size";
    return check;
  }

  HDC screen = GetDC(nullptr);
  UniqueMemoryDc dc(CreateCompatibleDC(screen));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  UniqueBitmap capture(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc.get(), capture.get());
  // What the screen shows of the window, controls included.
  HDC windowDc = GetDC(window.hwnd());
  BitBlt(dc.get(), 0, 0, w, h, windowDc, 0, 0, SRCCOPY);
  ReleaseDC(window.hwnd(), windowDc);
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(px, px + size_t(w) * h);
  SelectObject(dc.get(), old);
  std::set<uint32_t> colours;
  for (uint32_t p : pixels) {
    colours.insert(p & 0xFFFFFF);
    if (p & 0xFFFFFF) check.notBlack = true;
    if (colours.size() > 1 && check.notBlack) break;
  }
  check.notBlank = colours.size() > 1;
  if (!captureBmp.empty()) writeBmp(captureBmp, w, h, pixels);

  // The outline: every white corner of the mask must be outside the region.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  bool hasRegion = GetWindowRgn(window.hwnd(), region) != ERROR;
  UniqueMemoryDc maskDc(CreateCompatibleDC(nullptr));
  HGDIOBJ oldMask = SelectObject(maskDc.get(), window.skin().mask.get());
  int whiteCorners = 0, outside = 0;
  for (POINT c : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
    if (GetPixel(maskDc.get(), c.x, c.y) != RGB(255, 255, 255)) continue;
    ++whiteCorners;
    if (hasRegion && !PtInRegion(region, c.x, c.y)) ++outside;
  }
  SelectObject(maskDc.get(), oldMask);
  DeleteObject(region);
  check.regionApplied = whiteCorners == 0 ? hasRegion || !window.skin().mask : outside == whiteCorners;
  if (!check.regionApplied) check.problem = "mask corner inside the window";

  check.controlsPlaced = true;
  for (auto& [button, rect] : window.buttons) {
    if (!button) {
      check.controlsPlaced = false;
      continue;
    }
    ++check.controls;
    RECT r;
    GetWindowRect(button->hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    if (r.left != rect.left || r.top != rect.top || r.right - r.left != rect.width() ||
        r.bottom - r.top != rect.height()) {
      check.controlsPlaced = false;
      char what[96];
      std::snprintf(what, sizeof what, "control %d at %ld,%ld", check.controls, r.left, r.top);
      check.problem = what;
    }
  }
  return check;
}
