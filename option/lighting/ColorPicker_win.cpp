#include "ColorPicker_win.h"

#include <windowsx.h>

#include "LightingMessages.h"

void SetPickersToColor(Color color, ColorPicker* field, ColorPicker* bar) {
  Hsv hsv = HsvFromColor(color);
  for (ColorPicker* picker : {field, bar})
    if (picker) picker->setValue(hsv);
}

bool PickerKeyOf(WPARAM virtualKey, PickerKey& key) {
  switch (virtualKey) {
    case VK_PRIOR:
      key = PickerKey::PageUp;
      return true;
    case VK_NEXT:
      key = PickerKey::PageDown;
      return true;
    case VK_HOME:
      key = PickerKey::Home;
      return true;
    case VK_END:
      key = PickerKey::End;
      return true;
    case VK_LEFT:
      key = PickerKey::Left;
      return true;
    case VK_RIGHT:
      key = PickerKey::Right;
      return true;
    case VK_UP:
      key = PickerKey::Up;
      return true;
    case VK_DOWN:
      key = PickerKey::Down;
      return true;
  }
  return false;
}

HWND ColorPicker::CreateWindowAt(HWND parent, int id, const SkinPosition& position) {
  const SkinRect& r = position.rect;
  return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY, r.left, r.top,
                         r.width(), r.height(), parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

void ColorPicker::link(HWND target) {
  if (target && target != hwnd()) linked_.push_back(target);
}

void ColorPicker::setValue(const Hsv& value) {
  value_ = value;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

int ColorPicker::width() const {
  RECT r;
  GetClientRect(hwnd(), &r);
  return r.right;
}

int ColorPicker::height() const {
  RECT r;
  GetClientRect(hwnd(), &r);
  return r.bottom;
}

HCURSOR ColorPicker::insideCursor() const { return LoadCursor(nullptr, IDC_ARROW); }

void ColorPicker::change(const Hsv& value) {
  value_ = value;
  // Repainted at once, so the marker follows a drag without waiting for idle time.
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PickerSync sync{hwnd(), GetDlgCtrlID(hwnd()), value_};
  for (HWND target : linked_)
    if (IsWindow(target)) SendMessageA(target, MSG_PICKER_SYNC, 0, reinterpret_cast<LPARAM>(&sync));
  if (HWND parent = GetParent(hwnd()))
    SendMessageA(parent, MSG_PICKER_SYNC, 0, reinterpret_cast<LPARAM>(&sync));
}

void ColorPicker::moveTo(int x, int y) {
  bool inside = x >= 0 && y >= 0 && x < width() && y < height();
  SetCursor(inside ? insideCursor() : LoadCursor(nullptr, IDC_ARROW));
  change(valueAt(x, y));
}

void ColorPicker::render() {
  if (!canvas_.ensure(width(), height())) return;
  canvas_.clear();
  draw(canvas_);
  GdiFlush();
}

void ColorPicker::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  render();
  canvas_.copyTo(dc);
  EndPaint(hwnd(), &ps);
}

LRESULT ColorPicker::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      SetFocus(hwnd());
      SetCapture(hwnd());
      dragging_ = true;
      moveTo(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && GetCapture() == hwnd()) moveTo(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(insideCursor());
        return TRUE;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_KEYDOWN: {
      PickerKey key;
      Hsv next = value_;
      if (!dragging_ && PickerKeyOf(wParam, key) && applyKey(next, key)) {
        change(next);
        return 0;
      }
      break;
    }
    case MSG_PICKER_SYNC: {
      // A linked picker changed: show the same colour, tell nobody.
      const auto* sync = reinterpret_cast<const PickerSync*>(lParam);
      if (!sync) return 0;
      Hsv next = value_;
      adopt(next, sync->value);
      if (!(next == value_)) setValue(next);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
  }
  return defaultProc(message, wParam, lParam);
}
