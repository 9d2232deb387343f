#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "BitmapEdit_win.h"
#include "ColorKeyButton_win.h"
#include "GallerySkins.h"
#include "Picture_win.h"
#include "SkinButton_win.h"
#include "SkinFocus_win.h"
#include "SkinListBox_win.h"
#include "SkinSlider_win.h"
#include "SkinWindow_win.h"

namespace {

bool named(const SkinPosition& position, const char* prefix) {
  return std::strncmp(position.name, prefix, std::strlen(prefix)) == 0;
}

// Six saturated colours in turn: each has at least one channel at zero.
constexpr COLORREF kRainbow[] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};
int keyCount = 0;  // keys made so far, for their colour

constexpr COLORREF kListBackground = 0x323232;
constexpr COLORREF kListSelection = 0x0A0A0A;
constexpr int kListLineHeight = 20;
constexpr COLORREF kThumbTransparent = RGB(255, 0, 255);  // the thumb picture's corner colour

struct Placed {
  HWND window;
  SkinPosition position;
  COLORREF keyColour;  // keys only
};

class GalleryWindow : public SkinWindow {
 public:
  explicit GalleryWindow(std::string folder) : folder_(std::move(folder)) {}
  std::vector<Placed> controls;

 protected:
  HWND createControl(int ordinal, int, const SkinPosition& position,
                     const SkinStatePictures& pictures) override {
    const int first = keyCount;
    HWND control = CreateGalleryControl(hwnd(), 1000 + ordinal, position, pictures, folder_);
    controls.push_back({control, position, keyCount != first ? kRainbow[first % 6] : 0});
    return control;
  }

 private:
  std::string folder_;
};

COLORREF pixelAt(const std::vector<uint32_t>& pixels, int w, int h, int x, int y) {
  if (x < 0 || y < 0 || x >= w || y >= h) return CLR_INVALID;
  const uint32_t p = pixels[size_t(y) * w + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A key shows its colour when, over its rectangle, the channels that are zero
// in the colour are clearly weaker than the ones that are not.
bool showsColour(const std::vector<uint32_t>& pixels, int w, int h, const SkinRect& r, COLORREF colour) {
  double sum[3] = {};
  int n = 0;
  for (int y = r.top; y < r.top + r.height(); ++y)
    for (int x = r.left; x < r.left + r.width(); ++x) {
      const COLORREF p = pixelAt(pixels, w, h, x, y);
      if (p == CLR_INVALID) continue;
      sum[0] += GetRValue(p);
      sum[1] += GetGValue(p);
      sum[2] += GetBValue(p);
      ++n;
    }
  if (n == 0) return false;
  const int wanted[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  double lit = 0, dark = 255;
  for (int c = 0; c < 3; ++c) {
    const double mean = sum[c] / n;
    if (wanted[c])
      lit = std::max(lit, mean);
    else
      dark = std::min(dark, mean);
  }
  return lit - dark > 30;
}

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

HWND CreateGalleryControl(HWND window, int id, const SkinPosition& position,
                          const SkinStatePictures& pictures, const std::string& folder) {
  if (named(position, "LIST_")) {
    SkinListBox* list = SkinListBox::Create(window, id, position);
    if (!list) return nullptr;
    list->setKeepParent(true);
    list->setColors(kListBackground, kListSelection);
    list->setTextColors(0x5959BE, 0x5959BE);
    list->setLineHeight(kListLineHeight);
    for (const char* line : {"Macro: Reload", "Macro: Build order", "Macro: Salute"}) list->addLine(line, 0);
    SendMessageA(list->hwnd(), LB_SETCURSEL, 1, 0);
    return list->hwnd();
  }
  if (named(position, "EDIT_")) {
    BitmapEdit* edit = BitmapEdit::Create(window, id, position);
    if (!edit) return nullptr;
    edit->setDecimalFilter(true);
    SetWindowTextA(edit->hwnd(), "128");
    return edit->hwnd();
  }
  if (named(position, "SLIDER_")) {
    const SkinRect& r = position.rect;
    std::string thumb = folder + "scroll_arrow.bmp";
    if (GetFileAttributesA(thumb.c_str()) == INVALID_FILE_ATTRIBUTES) thumb = folder + "..\\scroll_arrow.bmp";
    SkinSlider* slider =
        SkinSlider::Create(thumb, {r.left, r.top, r.left + r.width(), r.top + r.height()}, window, id);
    if (!slider) return nullptr;
    slider->setBackground({r.left, r.top, r.left + r.width(), r.top + r.height()}, pictures.normal);
    slider->setRange(0, 4);
    slider->setValue(2);
    slider->setHelpText(position.text);
    return slider->hwnd();
  }
  if (named(position, "KEY_")) {
    ColorKeyButton* key = ColorKeyButton::Create(window, id, position, pictures);
    if (!key) return nullptr;
    key->setDrawMode(ColorKeyDrawMode::KeyColour);
    key->setColor(kRainbow[keyCount++ % 6]);
    return key->hwnd();
  }
  SkinButton* button = SkinButton::Create(window, id, position, pictures);
  if (!button) return nullptr;
  if (named(position, "LED_")) ShowWindow(button->hwnd(), SW_HIDE);
  // An area stands for the page the program puts there, which is named by its own skin.
  if (named(position, "AREA_")) NameControl(button->hwnd(), position.name);
  return button->hwnd();
}

const std::vector<std::string>& GalleryIniFiles() {
  static const std::vector<std::string> files = {"skin_Config.ini",
                                                 "skin_main.ini",
                                                 "skin_color_control.ini",
                                                 "LightFX\\skin_CONSTANT.ini",
                                                 "LightFX\\skin_Breathe.ini",
                                                 "LightFX\\skin_wave.ini",
                                                 "LightFX\\skin_Ripple.ini",
                                                 "LightFX\\skin_Custom.ini",
                                                 "LightFX\\skin_Color_Select.ini",
                                                 "buttons\\skin_set_button.ini",
                                                 "buttons\\skin_Keyboard_button.ini",
                                                 "buttons\\skin_Shortcut_button.ini",
                                                 "buttons\\skin_Media_button.ini",
                                                 "buttons\\skin_LaunchAP_button.ini",
                                                 "buttons\\skin_Default_button.ini",
                                                 "buttons\\skin_Macro_section.ini",
                                                 "skin_win_key.ini",
                                                 "skin_lanuch_program.ini",
                                                 "skin_macro_manager.ini",
                                                 "skin_text_macro_manager.ini",
                                                 "buttons\\skin_profile1.ini",
                                                 "buttons\\skin_profile2.ini",
                                                 "buttons\\skin_profile3.ini",
                                                 "buttons\\skin_profile4.ini",
                                                 "buttons\\skin_profile5.ini",
                                                 "skin_reset_warn.ini",
                                                 "skin_profile1_reset_warn.ini",
                                                 "skin_profile2_reset_warn.ini",
                                                 "skin_profile3_reset_warn.ini",
                                                 "skin_profile4_reset_warn.ini",
                                                 "skin_profile5_reset_warn.ini",
                                                 "skin_macro_set_warn.ini",
                                                 "skin_delete_macro_warn.ini"};
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
  GalleryWindow window(source.pageFolder);
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

  for (const Placed& placed : window.controls) {
    if (!placed.window) continue;
    if (placed.keyColour && !showsColour(pixels, w, h, placed.position.rect, placed.keyColour)) {
      check.keysLit = false;
      check.problem = std::string("key without its colour: ") + placed.position.name;
    }
    if (named(placed.position, "SLIDER_")) {
      const SkinRect& r = placed.position.rect;
      for (int y = r.top; y < r.top + r.height(); ++y)
        for (int x = r.left; x < r.left + r.width(); ++x)
          if (pixelAt(pixels, w, h, x, y) == kThumbTransparent) check.thumbsShaped = false;
      if (!check.thumbsShaped) check.problem = std::string("thumb corners show: ") + placed.position.name;
    }
    if (named(placed.position, "LIST_")) {
      const SkinRect& r = placed.position.rect;
      const int right = r.left + r.width() - 6;
      const COLORREF selected = pixelAt(pixels, w, h, right, r.top + kListLineHeight + kListLineHeight / 2);
      const COLORREF empty = pixelAt(pixels, w, h, right, r.top + r.height() - 6);
      if (selected != kListSelection || empty != kListBackground) {
        check.listsDrawn = false;
        char what[96];
        std::snprintf(what, sizeof what, "list %s: selection %06lX, background %06lX", placed.position.name,
                      selected, empty);
        check.problem = what;
      }
    }
  }

  for (HWND unnamed : UnnamedControls(window.hwnd())) {
    check.named = false;
    char what[96];
    std::snprintf(what, sizeof what, "control %d without a name", GetDlgCtrlID(unnamed));
    check.problem = what;
  }

  check.controlsPlaced = true;
  for (const Placed& placed : window.controls) {
    const SkinRect& rect = placed.position.rect;
    if (!placed.window) {
      check.controlsPlaced = false;
      continue;
    }
    ++check.controls;
    RECT r;
    GetWindowRect(placed.window, &r);
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
