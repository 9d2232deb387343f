#include "RegionButton_win.h"

#include <windowsx.h>

#include "Picture_win.h"
#include "SkinMessages.h"
#include "SkinWindow_win.h"

RegionButton* RegionButton::Create(HWND parent, int id, const char* text, const SkinPosition& position,
                                   int maskId, const SkinStatePictures& pictures) {
  if (!RegisterProgramClass(kRegionButtonClass, DefWindowProcA, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS))
    return nullptr;
  const SkinRect& r = position.rect;
  HWND window = CreateWindowExA(0, kRegionButtonClass, text ? text : "", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                r.left, r.top, r.width(), r.height(), parent,
                                reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  auto* button = new RegionButton;
  if (!button->attach(window)) {
    delete button;
    DestroyWindow(window);
    return nullptr;
  }
  button->buildOutline(maskId);
  button->images_.cut(window, {r.left, r.top, r.right, r.bottom}, pictures.normal, pictures.over,
                      pictures.down, pictures.disabled);
  return button;
}

void RegionButton::buildOutline(int maskId) {
  UniqueBitmap mask(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(maskId),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!mask) return;  // no mask: the button keeps its rectangle
  UniqueRegion region = RegionFromMask(mask.get(), RGB(255, 255, 255), 0);
  if (!region) return;
  outline_.reset(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(outline_.get(), region.get(), nullptr, RGN_COPY);
  if (!SetWindowRgn(hwnd(), region.get(), TRUE)) return;
  region.release();  // the window owns it now
}

void RegionButton::setStateImages(const RECT& rect, const SkinStatePictures& pictures) {
  images_.cut(hwnd(), rect, pictures.normal, pictures.over, pictures.down, pictures.disabled);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void RegionButton::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  InvalidateRect(hwnd(), nullptr, FALSE);
  NotifyCheckChanged(hwnd());
}

bool RegionButton::insideOutline(POINT pt) const {
  if (outline_) return PtInRegion(outline_.get(), pt.x, pt.y) != 0;
  RECT client;
  GetClientRect(hwnd(), &client);
  return PtInRect(&client, pt) != 0;
}

void RegionButton::setState(RegionState state) {
  if (state == state_) return;
  state_ = state;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void RegionButton::notifyHover(bool entered) {
  if (HWND parent = GetParent(hwnd())) PostMessageA(parent, MSG_CONTROL_HOVER, entered ? 1 : 0, tag_);
}

void RegionButton::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  HBITMAP image = images_.of(RegionButtonImage(state_, checked_, !IsWindowEnabled(hwnd())));
  RECT client;
  GetClientRect(hwnd(), &client);
  DrawImage(dc, image, client.right, client.bottom);
  if (ShowsFocusMark(hwnd())) DrawFocusMark(dc, client);
  EndPaint(hwnd(), &ps);
}

LRESULT RegionButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd(), nullptr, FALSE);  // the focus mark
      break;
    case BM_GETCHECK:
      return CheckStateOf(checked_);
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd(), &client);
      DrawImage(reinterpret_cast<HDC>(wParam), images_.normal.get(), client.right, client.bottom);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_ENABLE:
      state_ = wParam ? RegionState::Rest : RegionState::Disabled;
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_MOUSEMOVE: {
      if (state_ == RegionState::Disabled) break;
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      POINT screen = pt;
      ClientToScreen(hwnd(), &screen);
      bool over = insideOutline(pt) && WindowFromPoint(screen) == hwnd();
      if (state_ == RegionState::Rest && over && !pressed_ && BeginHover(hwnd())) {
        if (!images_.over) SkinWindow::CutOverImages(hwnd());
        setState(RegionState::Hover);
        notifyHover(true);
      } else if (state_ == RegionState::Hover && !over) {
        setState(RegionState::Rest);
        notifyHover(false);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (state_ == RegionState::Hover) {
        setState(RegionState::Rest);
        notifyHover(false);
      }
      return 0;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse: no hover or press survives that.
      if (reinterpret_cast<HWND>(lParam) != hwnd() &&
          (state_ == RegionState::Hover || state_ == RegionState::Pressed)) {
        pressed_ = pressedInside_ = false;
        setState(RegionState::Rest);
        notifyHover(false);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      pressed_ = true;
      pressedInside_ = insideOutline(pt);
      if (GetCapture() != hwnd()) SetCapture(hwnd());
      if (pressedInside_) setState(RegionState::Pressed);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (toggle_ && pressedInside_) checked_ = !checked_;
      pressed_ = pressedInside_ = false;
      state_ = RegionState::Rest;
      notifyHover(false);
      if (GetCapture() == hwnd()) ReleaseCapture();
      InvalidateRect(hwnd(), nullptr, FALSE);
      if (insideOutline(pt))
        if (HWND parent = GetParent(hwnd()))
          SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), 0),
                       reinterpret_cast<LPARAM>(hwnd()));
      return 0;
    }
  }
  return defaultProc(message, wParam, lParam);
}
