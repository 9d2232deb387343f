#include "MacroWarning_win.h"

#include "MacroIds.h"
#include "WarningDialog_win.h"

bool AskDeleteMacro(HWND owner, const std::string& question) {
  WarningDialog dialog(kDeleteMacroWarningSkin);
  dialog.setText(question);
  return dialog.ask(owner);
}

void WarnNoMacro(HWND owner) { WarningDialog(kNoMacroWarningSkin).ask(owner); }
