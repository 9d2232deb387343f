#include "MacroWarning_win.h"

#include "MacroIds.h"
#include "WarningDialog_win.h"

bool AskDeleteMacro(HWND owner) { return WarningDialog(kDeleteMacroWarningSkin).ask(owner); }

void WarnNoMacro(HWND owner) { WarningDialog(kNoMacroWarningSkin).ask(owner); }
