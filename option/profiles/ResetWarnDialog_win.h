#pragma once
// The question before a reset: skin 0 for all profiles, 1..5 for one profile.

#include "SkinDialog_win.h"

class ResetWarnDialog : public SkinDialog {
 public:
  explicit ResetWarnDialog(int skinNumber) : skinNumber_(skinNumber) {}
  // True when the user confirmed with OK.
  bool ask(HWND owner);

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  int skinNumber_;
};
