// The main window's scale and place: the monitor it opens on, the largest
// scale of that monitor that fits its work area, the place it had when it
// last closed, and a move to a monitor of another scale.
#include <vector>

#include "LightingPage_win.h"
#include "MainWindow_win.h"
#include "OptionResources.h"
#include "PictureDecode.h"
#include "ProfileFiles.h"
#include "SkinPictures_win.h"
#include "SkinScale.h"
#include "WinKeyPage_win.h"
#include "WindowPlace.h"

namespace {
constexpr char kMainSkin[] = "skin_Config.ini";

// The main window at 100 %: the size of its rest picture, read from the
// picture's header (the picture itself is decoded at the scale chosen).
SIZE baseSizeOfMainSkin() {
  const std::string name = ReadSkinString(SkinRoot() + kMainSkin, "SCREEN", "Normal");
  UniqueFileHandle file(name.empty() ? INVALID_HANDLE_VALUE
                                     : CreateFileA((SkinRoot() + name).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<uint8_t> bytes(64 << 10);
  DWORD got = 0;
  if (!file || !ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &got, nullptr)) return {0, 0};
  int width = 0, height = 0;
  if (!PictureDimensions(bytes.data(), got, width, height)) return {0, 0};
  return {width, height};
}

std::vector<SkinRect> workAreas() {
  std::vector<SkinRect> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<SkinRect>*>(data)->push_back(MonitorWorkArea(monitor));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}

RECT toRect(const SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

HMONITOR pointerMonitor() {
  POINT pointer{};
  GetCursorPos(&pointer);
  return MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
}

// The remembered place, when it is still on a screen.
std::optional<SkinRect> rememberedPlace(const std::string& folder) {
  std::optional<SkinRect> place = ReadWindowPlace(configIniPath(folder));
  if (place && !AreaOfPlace(*place, workAreas())) place.reset();
  return place;
}

int scaleFor(HMONITOR monitor, SIZE base) {
  return FittingSkinScale(SkinScaleForDpi(MonitorDpi(monitor)), base.cx, base.cy, MonitorWorkArea(monitor));
}
}  // namespace

void MainWindow::chooseScale() {
  // The program's own pictures, as the 200 % skin set names them.
  NameSkinResourcePicture(IDB_ENTER_MASK, "enter_mask.bmp");
  NameSkinResourcePicture(IDB_STEP_DELAY, "step_delay.bmp");
  NameSkinResourcePicture(IDB_STEP_RELEASE, "step_release.bmp");
  NameSkinResourcePicture(IDB_STEP_PRESS, "step_press.bmp");
  NameSkinResourcePicture(IDB_STEP_MOUSE, "step_mouse.bmp");
  baseSize_ = baseSizeOfMainSkin();
  const std::optional<SkinRect> place = rememberedPlace(doc_.folder);
  const RECT placeRect = place ? toRect(*place) : RECT{};
  HMONITOR monitor = place ? MonitorFromRect(&placeRect, MONITOR_DEFAULTTONEAREST) : pointerMonitor();
  SetCurrentSkinScale(scaleFor(monitor, baseSize_));
}

void MainWindow::placeWindow(HWND) {
  const SIZE size = skin().size;
  POINT pointer{};
  GetCursorPos(&pointer);
  const SkinRect at = PlaceSkinWindow(size.cx, size.cy, rememberedPlace(doc_.folder), workAreas(),
                                      MonitorWorkArea(pointerMonitor()));
  SetWindowPos(hwnd(), nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::rememberPlace() {
  RECT r{};
  if (!hwnd() || IsIconic(hwnd()) || !GetWindowRect(hwnd(), &r)) return;
  const SkinRect place{int(r.left), int(r.top), int(r.right), int(r.bottom)};
  const std::string configIni = configIniPath(doc_.folder);
  if (ReadWindowPlace(configIni) != place) WriteWindowPlace(configIni, place);
}

// The window came onto a monitor of another scale (the system moved it, or
// the user changed the monitor's scale): the skin of that scale, or the
// largest that fits there. The document and the page shown stay as they are.
void MainWindow::onDpiChanged(int dpi, const RECT* suggested) {
  RECT target{};
  if (suggested)
    target = *suggested;
  else
    GetWindowRect(hwnd(), &target);
  HMONITOR monitor = MonitorFromRect(&target, MONITOR_DEFAULTTONEAREST);
  const int scale =
      FittingSkinScale(SkinScaleForDpi(dpi), baseSize_.cx, baseSize_.cy, MonitorWorkArea(monitor));
  if (scale != CurrentSkinScale()) rebuildAtScale(scale);
  const SIZE size = skin().size;
  const RECT kept = KeepOnWorkArea({target.left, target.top, target.left + size.cx, target.top + size.cy});
  SetWindowPos(hwnd(), nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::rebuildAtScale(int scale) {
  SetCurrentSkinScale(scale);
  const ContentPage shown = page_;
  keyboard_.reset();
  lightingPage_.reset();
  winKeyPage_.reset();
  reloadSkin();
  createPages();
  page_ = shown;
  refresh();
  if (HWND apply = control(kApply)) EnableWindow(apply, !busy_);
  InvalidateRect(hwnd(), nullptr, FALSE);
}
