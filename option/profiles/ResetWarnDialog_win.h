#pragma once
// The question before a reset: skin 0 for all profiles, 1..5 for one profile.

#include "WarningDialog_win.h"

class ResetWarnDialog : public WarningDialog {
 public:
  explicit ResetWarnDialog(int skinNumber);
  // True when the user confirmed with OK.
  bool ask(HWND owner) { return WarningDialog::ask(owner, "Reset"); }
};
