#pragma once
// The two questions of the macro managers: "delete the selected macro?" and
// "there is no macro to record into". Their texts are part of the skin picture.

#include "SkinDialog_win.h"

class MacroWarningDialog : public SkinDialog {
 public:
  explicit MacroWarningDialog(const char* skinFile) : skinFile_(skinFile) {}
  // True when the user confirmed with OK.
  bool ask(HWND owner);

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  const char* skinFile_;
};

bool AskDeleteMacro(HWND owner);
void WarnNoMacro(HWND owner);
