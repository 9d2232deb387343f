#pragma once
// The keyboard key page (key combination): a RECORD toggle and the captured
// keys joined by "+". While the toggle is down the recorder's hook sends every
// key here and no other program sees it; the first key that is not a modifier
// completes the combination and ends the capture.

#include "CaptureRules.h"
#include "KeySubPages_win.h"
#include "KeyboardHook_win.h"

class KeyboardKeyPage : public AssignSubPage {
 public:
  using AssignSubPage::AssignSubPage;
  bool create(HWND parent, POINT at) override;
  void refresh() override;
  void abandonCapture() override;
  bool capturing() const { return owner_.running(); }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onDestroyed() override;
  void paintOver(HDC dc) override;

 private:
  void startCapture();
  void showKeys(const std::string& text);
  void raiseToggle();

  CombinationCapture capture_;
  KeyCaptureOwner owner_;  // the hook ends with this page at the latest
  std::string text_;
};
