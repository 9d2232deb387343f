#include "SkinWindow_win.h"

#include <windowsx.h>

#include <cstring>

#include "Picture_win.h"
#include "SkinFocus_win.h"
#include "SkinHelp_win.h"
#include "SkinPictures_win.h"

namespace {
constexpr char kClassName[] = "QuillonSkinWindow";
}  // namespace

SkinWindow::~SkinWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool SkinWindow::create(const SkinSource& source, const char* title, HWND parent, bool child) {
  RegisterProgramClass(kClassName, staticProc, CS_DBLCLKS);
  source_ = source;
  if (child) dragByFreeSpot_ = false;
  DWORD style = child ? WS_CHILD | WS_CLIPCHILDREN : WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU;
  HWND made = CreateWindowExA(0, kClassName, title, style, 0, 0, 0, 0, parent, nullptr,
                              GetModuleHandleA(nullptr), this);
  if (!made) return false;
  InstallSkinRegion(made, skin_);
  return true;
}

LRESULT CALLBACK SkinWindow::staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* owner = static_cast<SkinWindow*>(created->lpCreateParams);
    owner->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  }
  auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->onMessage(message, wParam, lParam);
}

LRESULT SkinWindow::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

HWND SkinWindow::createControl(int, int, const SkinPosition&, const SkinStatePictures&) { return nullptr; }

bool SkinWindow::dragsAt(POINT) const { return dragByFreeSpot_; }

HWND SkinWindow::control(int key) const {
  auto found = placed_.find(key);
  return found == placed_.end() ? nullptr : found->second.window;
}

const SkinPosition* SkinWindow::position(int key) const {
  auto found = placed_.find(key);
  return found == placed_.end() ? nullptr : &found->second.position;
}

void SkinWindow::CutOverImages(HWND control) {
  HWND parent = GetParent(control);
  char name[64] = {};
  if (!parent || !GetClassNameA(parent, name, sizeof name) || std::strcmp(name, kClassName) != 0) return;
  auto* window = reinterpret_cast<SkinWindow*>(GetWindowLongPtrA(parent, GWLP_USERDATA));
  if (!window || window->skin_.overCut) return;
  window->skin_.overCut = true;  // once, also when the skin has no hover picture
  const UniqueBitmap picture = LoadOverPicture(window->skin_);
  if (!picture) return;
  const StateCutScope cutting;
  for (const auto& [key, placed] : window->placed_)
    if (SkinControl* c = SkinControl::FromWindow(placed.window))
      c->cutOverImage(picture.get(), placed.position);
}

// The captions the skin gives its controls (NAMES) are their window texts,
// which screen readers announce; entry 0 names a page inside a window.
void SkinWindow::nameControls() {
  const bool page = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD) != 0;
  for (const auto& [key, name] : ReadSkinSection(skin_.iniPath, "NAMES")) {
    if (key == 0 && page) NameControl(hwnd_, name);
    if (HWND window = control(key)) NameControl(window, name);
  }
}

SkinPosition SkinWindow::readPosition(const char* section, int key) const {
  SkinPosition position =
      ParseSkinPosition(ReadSkinString(skin_.iniPath, section, std::to_string(key).c_str()));
  position.rect = DpiScale(position.rect);
  return position;
}

void SkinWindow::loadSkin() {
  LoadSkin(
      hwnd_, source_,
      [this](HWND, int ordinal, int key, const SkinPosition& position, const SkinStatePictures& pictures) {
        placed_[key] = {position, createControl(ordinal, key, position, pictures)};
      },
      skin_);
}

void SkinWindow::reloadSkin() {
  for (const auto& [key, placed] : placed_)
    if (placed.window) DestroyWindow(placed.window);
  placed_.clear();
  skin_ = LoadedSkin{};
  loadSkin();
  nameControls();
  InstallSkinRegion(hwnd_, skin_);
}

void SkinWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  // Only what needs painting: the system hands the whole to the screen at
  // once, so the texts drawn over the background never flicker.
  const RECT& area = ps.rcPaint;
  if (HBITMAP background = skin_.background.get()) {
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    HGDIOBJ oldSource = SelectObject(source.get(), background);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source.get(), area.left,
           area.top, SRCCOPY);
    SelectObject(source.get(), oldSource);
  }
  paintOver(dc);
  EndPaint(hwnd_, &ps);
}

LRESULT SkinWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT reflected = 0;
  if (ReflectToControl(hwnd_, message, wParam, lParam, reflected)) return reflected;
  switch (message) {
    case WM_CREATE:
      loadSkin();
      nameControls();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything; erasing would only flicker
    case WM_PAINT:
      paint();
      return 0;
    case WM_PRINTCLIENT:
      if (skin_.background) {
        UniqueMemoryDc source(CreateCompatibleDC(reinterpret_cast<HDC>(wParam)));
        HGDIOBJ old = SelectObject(source.get(), skin_.background.get());
        BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, skin_.size.cx, skin_.size.cy, source.get(), 0, 0,
               SRCCOPY);
        SelectObject(source.get(), old);
      }
      paintOver(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      if (POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; dragsAt(pt)) {
        ClientToScreen(hwnd_, &pt);
        PostMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
        return 0;
      }
      break;
    case WM_DESTROY:
      onDestroyed();
      skin_.mask.reset();
      skin_.background.reset();
      skin_.extra.clear();
      skin_.region.reset();
      placed_.clear();
      break;
    case WM_NCDESTROY: {
      HWND gone = hwnd_;
      SetWindowLongPtrA(gone, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcA(gone, message, wParam, lParam);
    }
  }
  return defaultProc(message, wParam, lParam);
}
