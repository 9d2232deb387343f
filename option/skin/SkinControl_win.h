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

// A click on a control first brings its top-level window to the front.
void ActivateTopLevelOf(HWND control);

// The click of a toggle button, done by the button itself (the system's would
// notify twice): the press captures the mouse, the release that follows it
// flips the state and sends WM_COMMAND to the parent.
struct ToggleClick {
  bool pressed = false;
  void press(HWND button);
  // False when no press of this button came first.
  bool release(HWND button, bool& checked);
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
