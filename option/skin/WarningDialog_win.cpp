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
  setDialogKeys(kOk, kCancel);
  return button ? button->hwnd() : nullptr;
}

// The question is drawn into the picture; a screen reader reads it from a
// text window of no size (the skin writes it as NAMES 0).
void WarningDialog::onInit() {
  const std::string message = ReadSkinString(skin().iniPath, "NAMES", "0");
  if (message.empty()) return;
  CreateWindowExA(0, "STATIC", message.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, hwnd(), nullptr,
                  GetModuleHandleA(nullptr), nullptr);
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
