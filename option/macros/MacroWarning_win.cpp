#include "MacroWarning_win.h"

#include "MacroIds.h"
#include "SkinButton_win.h"

namespace {
enum Control { kOk = 1, kCancel = 2, kClose = 3, kControlCount = 3 };
constexpr int kIdBase = 100;
}  // namespace

bool MacroWarningDialog::ask(HWND owner) {
  return runModal({skinFile_, SkinRoot(), {{1, kControlCount}}, {}}, "Warning", owner) == IDOK;
}

HWND MacroWarningDialog::createControl(int, int key, const SkinPosition& position,
                                       const SkinStatePictures& pictures) {
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void MacroWarningDialog::onCommand(int id, int, HWND) {
  switch (id - kIdBase) {
    case kOk:
      end(IDOK);
      break;
    case kCancel:
    case kClose:
      end(IDCANCEL);
      break;
  }
}

bool AskDeleteMacro(HWND owner) { return MacroWarningDialog(kDeleteMacroWarningSkin).ask(owner); }

void WarnNoMacro(HWND owner) { MacroWarningDialog(kNoMacroWarningSkin).ask(owner); }
