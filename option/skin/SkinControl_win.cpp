#include "SkinControl_win.h"

#include <commctrl.h>

#include "Picture_win.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x51A1;
constexpr char kObjectProperty[] = "QuillonSkinControl";
}  // namespace

SkinControl* SkinControl::FromWindow(HWND window) {
  return window ? static_cast<SkinControl*>(GetPropA(window, kObjectProperty)) : nullptr;
}

bool SkinControl::attach(HWND window) {
  if (!window) return false;
  hwnd_ = window;
  if (!SetWindowSubclass(window, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    hwnd_ = nullptr;
    return false;
  }
  SetPropA(window, kObjectProperty, this);
  return true;
}

LRESULT SkinControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return defaultProc(message, wParam, lParam);
}

LRESULT SkinControl::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SkinControl::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<SkinControl*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, subclassProc, kSubclassId);
    RemovePropA(hwnd, kObjectProperty);
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    delete self;
    return result;
  }
  return self->onMessage(message, wParam, lParam);
}

void StateImages::cut(HWND control, const RECT& rect, HBITMAP normalPicture, HBITMAP overPicture,
                      HBITMAP downPicture, HBITMAP disabledPicture) {
  HDC dc = GetDC(control);
  normal.reset();
  over.reset();
  down.reset();
  disabled.reset();
  CutStateImage(dc, normal, normalPicture, rect.left, rect.top, rect.right, rect.bottom);
  CutStateImage(dc, over, overPicture, rect.left, rect.top, rect.right, rect.bottom);
  CutStateImage(dc, down, downPicture, rect.left, rect.top, rect.right, rect.bottom);
  CutStateImage(dc, disabled, disabledPicture, rect.left, rect.top, rect.right, rect.bottom);
  ReleaseDC(control, dc);
}

void StateImages::cutOver(HWND control, const SkinPosition& at, HBITMAP overPicture) {
  if (over) return;
  HDC dc = GetDC(control);
  CutStateImage(dc, over, overPicture, at.rect.left, at.rect.top, at.rect.right, at.rect.bottom);
  ReleaseDC(control, dc);
}

void DrawImage(HDC dc, HBITMAP image, int width, int height) {
  if (!image) return;  // a missing state picture draws nothing
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  HGDIOBJ old = SelectObject(source.get(), image);
  BitBlt(dc, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
  SelectObject(source.get(), old);
}

HBITMAP StateImages::of(StateImage which) const {
  switch (which) {
    case StateImage::Over:
      return over.get();
    case StateImage::Down:
      return down.get();
    case StateImage::Disabled:
      return disabled.get();
    case StateImage::Normal:
      break;
  }
  return normal.get();
}

bool RegisterProgramClass(const char* name, WNDPROC proc, UINT style) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{sizeof wc};
  if (GetClassInfoExA(module, name, &wc)) return true;
  wc = {sizeof wc};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

void ActivateTopLevelOf(HWND control) {
  HWND parent = GetParent(control);
  if (parent && GetActiveWindow() != GetAncestor(parent, GA_ROOT))
    SetActiveWindow(GetAncestor(parent, GA_ROOT));
}

bool BeginHover(HWND control) {
  if (!GetActiveWindow() || !GetParent(control)) return false;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
  TrackMouseEvent(&track);
  return true;
}

void ToggleClick::press(HWND button) {
  pressed = true;
  if (GetCapture() != button) SetCapture(button);
}

bool ToggleClick::release(HWND button, bool& checked, POINT client) {
  const bool wasPressed = pressed;
  pressed = false;
  if (GetCapture() == button) ReleaseCapture();
  RECT area;
  GetClientRect(button, &area);
  if (!wasPressed || !PtInRect(&area, client)) return false;
  checked = !checked;
  InvalidateRect(button, nullptr, FALSE);
  if (HWND parent = GetParent(button))
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), 0), reinterpret_cast<LPARAM>(button));
  return true;
}
