#include "ColorKeyButton_win.h"

#include <windowsx.h>

#include "SkinMessages.h"
#include "SkinWindow_win.h"

ColorKeyButton* ColorKeyButton::Create(HWND parent, int id, const SkinPosition& position,
                                       const SkinStatePictures& pictures) {
  const SkinRect& r = position.rect;
  HWND window = CreateWindowExA(0, "BUTTON", position.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                r.left, r.top, r.width(), r.height(), parent,
                                reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  auto* button = new ColorKeyButton;
  if (!button->attach(window)) {
    delete button;
    DestroyWindow(window);
    return nullptr;
  }
  button->setStateImages({r.left, r.top, r.right, r.bottom}, pictures);
  button->help_ = position.text;
  return button;
}

void ColorKeyButton::setStateImages(const RECT& rect, const SkinStatePictures& pictures) {
  images_.cut(hwnd(), rect, pictures.normal, pictures.over, pictures.down, pictures.disabled);
  LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
  SetWindowLongPtrA(hwnd(), GWL_STYLE, (style & ~WS_BORDER) | WS_TABSTOP);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void ColorKeyButton::setColor(COLORREF color) {
  color_ = color;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void ColorKeyButton::setShape(ColorKeyShape shape) {
  shape_ = shape;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void ColorKeyButton::setDrawMode(ColorKeyDrawMode mode) {
  mode_ = mode;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void ColorKeyButton::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  InvalidateRect(hwnd(), nullptr, FALSE);
  NotifyCheckChanged(hwnd());
}

// Ctrl+Enter paints the key as Ctrl+click does.
void ColorKeyButton::press() {
  if (GetKeyState(VK_CONTROL) & 0x8000) setColor(ctrlClickColor_);
  PressButtonWindow(hwnd(), toggle_, checked_);
}

void ColorKeyButton::setHover(bool hover) {
  if (hover == hover_) return;
  hover_ = hover;
  if (HWND parent = GetParent(hwnd())) PostMessageA(parent, MSG_CONTROL_HOVER, hover ? 1 : 0, tag_);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void ColorKeyButton::trackMouse() {
  if (hover_ || !BeginHover(hwnd())) return;
  if (!images_.over) SkinWindow::CutOverImages(hwnd());
  setHover(true);
}

LRESULT ColorKeyButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ctrlHeld_ = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  switch (message) {
    case MSG_REFLECT_BASE + WM_DRAWITEM:
      draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      trackMouse();
      break;
    case WM_MOUSELEAVE:
    case WM_KILLFOCUS:
      setHover(false);
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) click_.lost();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The mouse message carries the key state of its own moment.
      if (ctrlHeld_ || (wParam & MK_CONTROL)) setColor(ctrlClickColor_);
      ActivateTopLevelOf(hwnd());
      if (toggle_) {
        click_.press(hwnd());
        return 0;
      }
      if (message == WM_LBUTTONDBLCLK) return defaultProc(WM_LBUTTONDOWN, wParam, lParam);
      break;
    case WM_LBUTTONUP:
      if (toggle_) {
        click_.release(hwnd(), checked_, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case BM_GETCHECK:
      return CheckStateOf(checked_);
  }
  return defaultProc(message, wParam, lParam);
}

void ColorKeyButton::draw(const DRAWITEMSTRUCT& item) {
  ColorKeyLook look;
  look.toggle = toggle_;
  look.checked = checked_;
  look.hover = hover_;
  look.disabled = (item.itemState & ODS_DISABLED) != 0;
  look.pressed = (item.itemState & ODS_SELECTED) != 0;
  HBITMAP image = images_.of(ColorKeyImage(look));
  int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
  DrawImage(item.hDC, image, w, h);
  drawColour(item.hDC, w, h, ColorKeyOverlayFor(mode_, !look.disabled, color_));
  if (ShowsFocusMark(hwnd())) DrawFocusMark(item.hDC, item.rcItem);
}

void PaintColorKey(HDC canvas, ColorKeyShape shape, int w, int h, COLORREF colour) {
  const RECT all{0, 0, w, h};
  FillRect(canvas, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const ShapeRects parts = ColorKeyShapeRects(shape, w, h);
  UniqueRegion key(CreateRectRgn(parts.first.left, parts.first.top, parts.first.right, parts.first.bottom));
  UniqueRegion second(
      CreateRectRgn(parts.second.left, parts.second.top, parts.second.right, parts.second.bottom));
  CombineRgn(key.get(), key.get(), second.get(), RGN_OR);
  UniqueBrush brush(CreateSolidBrush(colour));
  FillRgn(canvas, key.get(), brush.get());
}

void ColorKeyButton::drawColour(HDC dc, int w, int h, ColorKeyOverlay overlay) {
  if (overlay == ColorKeyOverlay::None || w <= 0 || h <= 0) return;
  UniqueMemoryDc canvas(CreateCompatibleDC(dc));
  UniqueBitmap surface(CreateCompatibleBitmap(dc, w, h));
  if (!canvas || !surface) return;
  HGDIOBJ old = SelectObject(canvas.get(), surface.get());
  PaintColorKey(canvas.get(), shape_, w, h, color_);
  if (overlay == ColorKeyOverlay::Solid) {
    BitBlt(dc, 0, 0, w, h, canvas.get(), 0, 0, SRCCOPY);
  } else {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, kColorKeyAlpha, 0};
    AlphaBlend(dc, 0, 0, w, h, canvas.get(), 0, 0, w, h, blend);
  }
  SelectObject(canvas.get(), old);
}
