#include "UnappliedWarnDialog_win.h"

#include "SkinButton_win.h"

namespace {
enum Control { kApply = 1, kDiscard = 2, kCancel = 3, kClose = 4, kControlCount = 4 };
constexpr int kIdBase = 100;
constexpr INT_PTR kDiscardResult = 100;  // beside IDOK and IDCANCEL
}  // namespace

CloseChoice UnappliedWarnDialog::ask(HWND owner) {
  switch (runModal({"skin_unapplied_warn.ini", SkinRoot(), {{1, kControlCount}}, {}}, "Not applied", owner)) {
    case IDOK:
      return CloseChoice::Apply;
    case kDiscardResult:
      return CloseChoice::Discard;
  }
  return CloseChoice::Stay;
}

HWND UnappliedWarnDialog::createControl(int, int key, const SkinPosition& position,
                                        const SkinStatePictures& pictures) {
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void UnappliedWarnDialog::onCommand(int id, int, HWND) {
  switch (id - kIdBase) {
    case kApply:
      end(IDOK);
      break;
    case kDiscard:
      end(kDiscardResult);
      break;
    case kCancel:
    case kClose:
      end(IDCANCEL);
      break;
  }
}
