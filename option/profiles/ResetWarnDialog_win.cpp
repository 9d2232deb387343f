#include "ResetWarnDialog_win.h"

#include <string>

#include "SkinButton_win.h"

namespace {
enum Control { kOk = 1, kCancel = 2, kClose = 3, kControlCount = 3 };
constexpr int kIdBase = 100;

std::string skinFile(int number) {
  if (number < 1 || number > 5) return "skin_reset_warn.ini";
  return "skin_profile" + std::to_string(number) + "_reset_warn.ini";
}
}  // namespace

bool ResetWarnDialog::ask(HWND owner) {
  const SkinSource source{skinFile(skinNumber_), SkinRoot(), {{1, kControlCount}}, {}};
  return runModal(source, "Reset", owner) == IDOK;
}

HWND ResetWarnDialog::createControl(int, int key, const SkinPosition& position,
                                    const SkinStatePictures& pictures) {
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void ResetWarnDialog::onCommand(int id, int, HWND) {
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
