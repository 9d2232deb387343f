#pragma once
// A profile file refused at import, in the skinned warning's look: the reason
// in plain words, OK to close. Nothing was changed.

#include <string>

#include "WarningDialog_win.h"

class ProfileRefusedDialog : public WarningDialog {
 public:
  // `text` is refusalText()'s: UTF-8.
  explicit ProfileRefusedDialog(std::string text);
  void show(HWND owner) { WarningDialog::ask(owner, "Profile not imported"); }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void paintOver(HDC dc) override;

 private:
  std::string text_;
};
