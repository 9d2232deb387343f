#include "ColorPreview_win.h"

#include "ColorPicker_win.h"
#include "LightingMessages.h"

ColorPreview* ColorPreview::Create(HWND parent, int id, const SkinPosition& position) {
  const SkinRect& r = position.rect;
  HWND window =
      CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.width(), r.height(), parent,
                      reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  auto* preview = new ColorPreview;
  if (!preview->attach(window)) {
    delete preview;
    if (window) DestroyWindow(window);
    return nullptr;
  }
  return preview;
}

void ColorPreview::setColor(Color color) {
  color_ = color & 0xFFFFFF;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT ColorPreview::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_PICKER_SYNC:
      if (const auto* sync = reinterpret_cast<const PickerSync*>(lParam)) {
        setColor(ColorFromHsv(sync->value));
        if (HWND parent = GetParent(hwnd()))
          PostMessageA(parent, MSG_PICKER_COLOR, WPARAM(color_), GetDlgCtrlID(hwnd()));
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      RECT r;
      GetClientRect(hwnd(), &r);
      UniqueBrush brush(CreateSolidBrush(color_));
      FillRect(dc, &r, brush.get());
      EndPaint(hwnd(), &ps);
      return 0;
    }
  }
  return defaultProc(message, wParam, lParam);
}
