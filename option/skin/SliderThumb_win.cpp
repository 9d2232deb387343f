#include <windowsx.h>

#include <cstdio>

#include "Picture_win.h"
#include "SkinMessages.h"
#include "SkinPictures_win.h"
#include "SkinSlider_win.h"

SliderThumb* SliderThumb::Create(const std::string& picture, int centreX, int centreY, int rightLimit,
                                 HWND track, int id) {
  UniqueBitmap bitmap;
  SIZE size{};
  if (!LoadSkinPicture(picture, bitmap, size, PictureFilter::Nearest)) return nullptr;
  HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_TABSTOP | SS_NOTIFY, centreX - size.cx / 2,
                                centreY - size.cy / 2, size.cx, size.cy, track,
                                reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  auto* thumb = new SliderThumb;
  if (!thumb->attach(window)) {
    delete thumb;
    if (window) DestroyWindow(window);
    return nullptr;
  }
  thumb->id_ = id;
  thumb->size_ = size;
  thumb->geometry.leftLimit = 0;
  thumb->geometry.rightLimit = rightLimit;
  thumb->geometry.thumbWidth = size.cx;
  // The top-left colour is the thumb's transparent colour.
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
  COLORREF key = GetPixel(dc.get(), 0, 0);
  SelectObject(dc.get(), old);
  UniqueRegion outline = RegionFromMask(bitmap.get(), key, 0);
  if (outline && SetWindowRgn(window, outline.get(), TRUE)) outline.release();
  // Shown only now, so it never paints outside its outline.
  ShowWindow(window, SW_SHOWNA);
  thumb->picture_ = std::move(bitmap);
  return thumb;
}

int SliderThumb::left() const {
  RECT r;
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  return r.left;
}

void SliderThumb::moveTo(int newLeft) {
  RECT r;
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(hwnd(), nullptr, newLeft, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SliderThumb::setValue(int value) {
  value_ = ClampSliderValue(geometry, value);
  moveTo(SliderThumbLeft(geometry, value_));
}

LRESULT SliderThumb::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND track = GetParent(hwnd());
  switch (message) {
    case WM_LBUTTONDOWN:
      if (dragEnabled) {
        SetCapture(hwnd());
        dragging_ = true;
        grab_ = GET_X_LPARAM(lParam);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        int cursor = left() + GET_X_LPARAM(lParam);  // in the track's coordinates
        int newLeft = SliderDragLeft(geometry, cursor, grab_);
        moveTo(newLeft);
        value_ = SliderDragValue(geometry, newLeft);
        PostMessageA(track, MSG_SLIDER_POS, WPARAM(value_), id_);
      }
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
        double real = SliderRealValue(geometry, left());
        char line[64];
        std::snprintf(line, sizeof line, "CPHSlider=%f\n", real);
        OutputDebugStringA(line);
        value_ = SliderSettle(geometry, real);
        PostMessageA(track, MSG_SLIDER_POS, WPARAM(value_), id_);
        if (geometry.snap) moveTo(SliderThumbLeft(geometry, value_));
      }
      return 0;  // a release on the thumb is no click on the track
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      // A static control paints with its parent's clipping (CS_PARENTDC),
      // which knows nothing of the thumb's outline: clip to it here.
      UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
      if (outline && GetWindowRgn(hwnd(), outline.get()) != ERROR)
        ExtSelectClipRgn(dc, outline.get(), RGN_AND);
      DrawImage(dc, picture_.get(), size_.cx, size_.cy);
      EndPaint(hwnd(), &ps);
      return 0;
    }
  }
  return defaultProc(message, wParam, lParam);
}
