#pragma once
// The skinned dialogs and pages of the configuration program.
//
// SkinDialog runs a skinned pop-up modally over its owner: the owner is
// disabled, a message loop of our own runs until end(), every message is first
// offered to the balloons and then to preTranslate() (which gives the keyboard
// its work in the window: Tab, Enter, Space, Escape, Alt+F4; SkinFocus_win.h),
// and the owner is enabled again before the dialog is destroyed, so that the
// system does not activate another program's window.
//
//   class WarnDialog : public SkinDialog {
//     void onCommand(int id, int, HWND) override { end(id == kOk ? IDOK : IDCANCEL); }
//   };
//   if (WarnDialog().runModal(source, title, owner) == IDOK) ...
//
// SkinPage is a child window inside a dialog: never dragged, presses passed on.

#include "BalloonTip_win.h"
#include "SkinFocus_win.h"
#include "SkinWindow_win.h"

class SkinDialog : public SkinWindow {
 public:
  // Returns the value given to end(), IDCANCEL when the window could not be made.
  INT_PTR runModal(const SkinSource& source, const char* title, HWND owner);
  void end(INT_PTR result);
  bool running() const { return running_; }
  BalloonTip& balloon() { return balloon_; }

 protected:
  // After the skin is loaded and before the window is shown.
  virtual void onInit() {}
  // WM_COMMAND from a control or a menu.
  virtual void onCommand(int id, int code, HWND control);
  // Where the window appears; the default centres it over its owner.
  virtual void placeWindow(HWND owner);
  virtual bool preTranslate(MSG& msg);
  // The BUTTONPOS keys of the buttons Enter and Escape press (0: none; Escape
  // then closes the window).
  void setDialogKeys(int okKey, int cancelKey) {
    okKey_ = okKey;
    cancelKey_ = cancelKey;
  }
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  BalloonTip balloon_;
  INT_PTR result_ = IDCANCEL;
  bool running_ = false;
  int okKey_ = 0, cancelKey_ = 0;
};

class SkinPage : public SkinWindow {
 public:
  // A child of `parent` at `at` (in the parent's client coordinates).
  bool createPage(const SkinSource& source, HWND parent, POINT at);
  BalloonTip& balloon() { return balloon_; }

 protected:
  virtual void onCommand(int id, int code, HWND control);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  BalloonTip balloon_;
};
