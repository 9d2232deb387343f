// Message handling and drawing of SkinButton.
#include <windowsx.h>

#include "SkinButton_win.h"
#include "SkinMessages.h"
#include "SkinPictures_win.h"

LRESULT SkinButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
      InvalidateRect(hwnd(), nullptr, FALSE);
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) click_.lost();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
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
    case WM_SETCURSOR:
      if (handCursor_ && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case BM_GETCHECK:
      return CheckStateOf(checked_);
    case BM_SETCHECK:
      setChecked(wParam == BST_CHECKED);
      return 0;
  }
  return defaultProc(message, wParam, lParam);
}

void SkinButton::draw(const DRAWITEMSTRUCT& item) {
  bool disabled = item.itemState & ODS_DISABLED;
  bool selected = item.itemState & ODS_SELECTED;
  HBITMAP image = images_.normal.get();
  if (toggle_) {
    if (disabled)
      image = images_.disabled.get();
    else if (checked_)
      image = images_.down.get();
  } else if (checked_ && !disabled) {
    image = images_.down.get();
  } else if (selected) {
    image = images_.down.get();
  } else if (hover_) {
    image = images_.over.get();
  } else if (disabled) {
    image = images_.disabled.get();
  }
  int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
  const bool focusMark = ShowsFocusMark(hwnd());
  if (caption_.empty()) {
    DrawImage(item.hDC, image, w, h);
    if (focusMark) DrawFocusMark(item.hDC, item.rcItem);
    return;
  }
  UniqueMemoryDc canvas(CreateCompatibleDC(item.hDC));
  UniqueBitmap surface(CreateCompatibleBitmap(item.hDC, w, h));
  HGDIOBJ oldSurface = SelectObject(canvas.get(), surface.get());
  DrawImage(canvas.get(), image, w, h);
  UniqueFont font(CreateFontA(DpiScale(14), DpiScale(6), 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, "Play"));
  HGDIOBJ oldFont = SelectObject(canvas.get(), font.get());
  SetBkMode(canvas.get(), TRANSPARENT);
  SetTextColor(canvas.get(), hover_ ? hoverColor_ : selected ? pressedColor_ : restColor_);
  if (layout_ == kCaptionBesideLed) {
    drawBesideLed(canvas.get(), w, h, checked_ || hover_ || selected);
  } else if (layout_ == 0) {
    SIZE extent{};
    GetTextExtentPoint32A(canvas.get(), caption_.c_str(), int(caption_.size()), &extent);
    TextOutA(canvas.get(), DpiScale(5), (h - extent.cy) / 2, caption_.c_str(), int(caption_.size()));
  } else {
    RECT block{DpiScale(3), 0, w - DpiScale(40), h};
    DrawTextA(canvas.get(), caption_.c_str(), -1, &block, DT_WORDBREAK | DT_CALCRECT);
    int textHeight = block.bottom - block.top;
    block = {DpiScale(3), (h - textHeight) / 2, w - DpiScale(40), (h - textHeight) / 2 + textHeight};
    DrawTextA(canvas.get(), caption_.c_str(), -1, &block, DT_WORDBREAK);
  }
  if (focusMark) DrawFocusMark(canvas.get(), {0, 0, w, h});
  BitBlt(item.hDC, 0, 0, w, h, canvas.get(), 0, 0, SRCCOPY);
  SelectObject(canvas.get(), oldFont);
  SelectObject(canvas.get(), oldSurface);
}

// The skin's own labels: bold, 12 px, light, white when lit.
void SkinButton::drawBesideLed(HDC dc, int w, int h, bool lit) {
  constexpr int kLedRight = 26, kMargin = 6;
  UniqueFont font(CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Play"));
  HGDIOBJ old = SelectObject(dc, font.get());
  SetTextColor(dc, lit ? RGB(255, 255, 255) : RGB(232, 232, 232));
  RECT line{kLedRight, 0, w - kMargin, h};
  DrawTextA(dc, caption_.c_str(), int(caption_.size()), &line,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
}
