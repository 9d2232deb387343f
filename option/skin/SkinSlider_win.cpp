#include "SkinSlider_win.h"

#include <windowsx.h>

#include <cstdio>

#include "FocusRules.h"
#include "Picture_win.h"
#include "SkinFocus_win.h"
#include "SkinHelp_win.h"
#include "SkinMessages.h"
#include "SkinPictures_win.h"

namespace {
HWND makeStatic(HWND parent, int x, int y, int w, int h, int id) {
  return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
}

void trace(const char* format, double value) {
  char line[64];
  std::snprintf(line, sizeof line, format, value);
  OutputDebugStringA(line);
}
}  // namespace

SkinSlider* SkinSlider::Create(const std::string& thumbPicture, const RECT& rect, HWND page, int id) {
  UniqueBitmap probe;
  SIZE size{};
  if (!LoadSkinPicture(thumbPicture, probe, size, PictureFilter::Nearest)) return nullptr;
  HWND window = makeStatic(page, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, id);
  auto* slider = new SkinSlider;
  if (!slider->attach(window)) {
    delete slider;
    if (window) DestroyWindow(window);
    return nullptr;
  }
  slider->id_ = id;
  slider->rect_ = rect;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  // The thumb sits centred on the track's middle line.
  slider->thumb_ = SliderThumb::Create(thumbPicture, size.cx / 2, height / 2, width, window, id);
  if (slider->thumb_) slider->thumb_->setValue(0);
  return slider;
}

void SkinSlider::setBackground(const RECT& rect, HBITMAP pageBackground) {
  HDC dc = GetDC(hwnd());
  CutStateImage(dc, background_, pageBackground, rect.left, rect.top, rect.right, rect.bottom);
  ReleaseDC(hwnd(), dc);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void SkinSlider::setRange(int minimum, int maximum) {
  if (!thumb_) return;
  thumb_->geometry.minimum = minimum;
  thumb_->geometry.maximum = maximum;
  thumb_->setValue(thumb_->value());
}

void SkinSlider::setSnap(bool snap) {
  if (thumb_) thumb_->geometry.snap = snap;
}

void SkinSlider::setValue(int value) {
  if (thumb_) thumb_->setValue(value);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

int SkinSlider::value() const { return thumb_ ? thumb_->value() : 0; }

void SkinSlider::enableDrag(bool on) {
  if (thumb_) thumb_->dragEnabled = on;
}

void SkinSlider::setHelpText(const std::string& text) {
  help_ = text;
  NameControl(hwnd(), text);
  if (thumb_) NameControl(thumb_->hwnd(), text);
}

// The arrows step, Page Up and Down jump a tenth, Home and End go to the ends;
// the page hears of it as of a click.
bool SkinSlider::keyPressed(WPARAM key) {
  if (!thumb_ || !IsSliderKey(unsigned(key))) return false;
  const int before = thumb_->value();
  const int v = SliderKeyValue(thumb_->geometry, before, unsigned(key));
  if (v != before) {
    thumb_->setValue(v);
    if (HWND page = GetParent(hwnd())) PostMessageA(page, MSG_SLIDER_POS, WPARAM(v), id_);
  }
  return true;
}

void SkinSlider::clickAt(int x) {
  if (!thumb_) return;
  int pageX = x + rect_.left;
  double real = SliderClickRealValue(thumb_->geometry, pageX, rect_.left, rect_.right);
  trace("CclickHSlider=%f\n", real);
  int v = SliderSettle(thumb_->geometry, real);
  thumb_->setValue(v);
  if (HWND page = GetParent(hwnd())) PostMessageA(page, MSG_SLIDER_POS, WPARAM(v), id_);
}

LRESULT SkinSlider::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_SLIDER_POS:
      if (HWND page = GetParent(hwnd())) PostMessageA(page, MSG_SLIDER_POS, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      clickAt(GET_X_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (!leavePending_) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, hwnd(), 1};
        leavePending_ = TrackMouseEvent(&track) != 0;
      }
      if (help_ != QuickHelpText()) {
        SetQuickHelpText(help_);
        PostShowHelp(hwnd(), 1);
      }
      break;
    case WM_MOUSELEAVE:
      leavePending_ = false;
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (keyPressed(wParam)) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd(), nullptr, FALSE);  // the focus mark
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      DrawImage(dc, background_.get(), rect_.right - rect_.left, rect_.bottom - rect_.top);
      if (ShowsFocusMark(hwnd()))
        DrawFocusMark(dc, {0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top});
      EndPaint(hwnd(), &ps);
      return 0;
    }
  }
  return defaultProc(message, wParam, lParam);
}
