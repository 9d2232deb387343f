#include "WarningDialog_win.h"

#include "SkinButton_win.h"

namespace {
enum Control { kOk = 1, kCancel = 2, kClose = 3, kControlCount = 3 };
constexpr int kIdBase = 100;
}  // namespace

bool WarningDialog::ask(HWND owner, const char* title) {
  return runModal({skinFile_, SkinRoot(), {{1, kControlCount}}, {}}, title, owner) == IDOK;
}

HWND WarningDialog::createControl(int, int key, const SkinPosition& position,
                                  const SkinStatePictures& pictures) {
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void WarningDialog::onCommand(int id, int, HWND) {
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
