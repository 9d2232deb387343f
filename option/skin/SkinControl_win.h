#pragma once
// Common shell of the skinned controls: a system control subclassed with a C++
// object that lives exactly as long as its window (deleted at WM_NCDESTROY).

#include <windows.h>

#include "ButtonLooks.h"
#include "Handle_win.h"

class SkinControl {
 public:
  SkinControl(const SkinControl&) = delete;
  SkinControl& operator=(const SkinControl&) = delete;
  HWND hwnd() const { return hwnd_; }
  // The object behind a control window made by this framework, or null.
  static SkinControl* FromWindow(HWND window);

 protected:
  SkinControl() = default;
  virtual ~SkinControl() = default;
  // Subclasses `window`; on failure destroys nothing and returns false.
  bool attach(HWND window);
  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HWND hwnd_ = nullptr;
};

// Four state images cut at a control's rectangle.
struct StateImages {
  UniqueBitmap normal, over, down, disabled;
  void cut(HWND control, const RECT& rect, HBITMAP normalPicture, HBITMAP overPicture, HBITMAP downPicture,
           HBITMAP disabledPicture);
  HBITMAP of(StateImage which) const;
};

// Copies `image` 1:1 to the top-left of `dc`.
void DrawImage(HDC dc, HBITMAP image, int width, int height);
