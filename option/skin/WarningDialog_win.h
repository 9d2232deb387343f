#pragma once
// A question in a skinned dialog whose text is part of its picture, or is
// given (setText) where the question names something: OK (entry 1) confirms,
// Cancel (2) and the close button (3) do not.

#include <string>

#include "SkinDialog_win.h"

class WarningDialog : public SkinDialog {
 public:
  explicit WarningDialog(std::string skinFile) : skinFile_(std::move(skinFile)) {}
  // True when the user confirmed with OK.
  bool ask(HWND owner, const char* title = "Warning");
  // Written over the picture's empty middle, centred, lines broken at "\n".
  void setText(std::string text) { text_ = std::move(text); }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;
  void paintOver(HDC dc) override;
  void onInit() override;

 private:
  std::string skinFile_;
  std::string text_;
};
