#pragma once
// Common shell of the skinned controls: a system control subclassed with a C++
// object that lives exactly as long as its window (deleted at WM_NCDESTROY).

#include <windows.h>

#include "ButtonLooks.h"
#include "Handle_win.h"
#include "SkinPosition.h"

class SkinControl {
 public:
  SkinControl(const SkinControl&) = delete;
  SkinControl& operator=(const SkinControl&) = delete;
  HWND hwnd() const { return hwnd_; }
  // The object behind a control window made by this framework, or null.
  static SkinControl* FromWindow(HWND window);
  // The window's hover picture, decoded when the mouse first came over one
  // of its controls: a control with a hover look cuts its image at `at`.
  virtual void cutOverImage(HBITMAP, const SkinPosition&) {}
  // Buttons: a press from the keyboard, as a click (SkinFocus_win.h).
  virtual bool pressable() const { return false; }
  virtual bool takesFocusOnPress() const { return true; }
  virtual void press() {}

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

// Registers one of the program's window classes (arrow cursor, `style`) the
// first time; true when the class is there.
bool RegisterProgramClass(const char* name, WNDPROC proc, UINT style);

// Hover as the system's own hot-tracking controls follow it: a mouse move
// over a control that is not hovered yet asks for one WM_MOUSELEAVE. The
// mouse is never captured for it: a capture held for hover takes the next
// click wherever it lands, whenever a window appears or goes under the mouse.
// True when the control may show hover now (its program is the active one).
bool BeginHover(HWND control);

// The click of a toggle button, done by the button itself (the system's would
// notify twice): the press captures the mouse until its release, which flips
// the state and sends WM_COMMAND to the parent when it comes over the button.
struct ToggleClick {
  bool pressed = false;
  void press(HWND button);
  // False when no press of this button came first, or the release came
  // elsewhere; the capture is released either way.
  bool release(HWND button, bool& checked, POINT client);
  // The capture was taken away: the press is forgotten.
  void lost() { pressed = false; }
};

// Four state images cut at a control's rectangle.
struct StateImages {
  UniqueBitmap normal, over, down, disabled;
  void cut(HWND control, const RECT& rect, HBITMAP normalPicture, HBITMAP overPicture, HBITMAP downPicture,
           HBITMAP disabledPicture);
  // The hover image, cut later from the window's hover picture (the other
  // three come with the window); nothing when it has one already.
  void cutOver(HWND control, const SkinPosition& at, HBITMAP overPicture);
  HBITMAP of(StateImage which) const;
};

// Copies `image` 1:1 to the top-left of `dc`.
void DrawImage(HDC dc, HBITMAP image, int width, int height);
