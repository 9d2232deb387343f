#include "WinKeyPage_win.h"

#include "SkinButton_win.h"

namespace {
// Button 1 switches the Windows key off (locked, value 0), button 2 on (1).
enum Control { kKeyOff = 1, kKeyOn = 2, kHelp = 3, kControlCount = 3 };
constexpr int kIdBase = 300;
constexpr char kHelpText[] =
    "OFF locks the Windows key, so that it\ncannot throw you out of your game;\nON lets it work as usual.";
}  // namespace

bool WinKeyPage::create(HWND parent, POINT at) {
  if (!createPage({"skin_win_key.ini", SkinRoot(), {{1, kControlCount}}, {}}, parent, at)) return false;
  refresh();
  return true;
}

HWND WinKeyPage::createControl(int, int key, const SkinPosition& position,
                               const SkinStatePictures& pictures) {
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void WinKeyPage::refresh() {
  const bool on = host_.activeProfile().leftWinLock == 1;
  if (auto* button = controlAs<SkinButton>(kKeyOff)) button->setChecked(!on);
  if (auto* button = controlAs<SkinButton>(kKeyOn)) button->setChecked(on);
}

void WinKeyPage::onCommand(int id, int, HWND) {
  switch (id - kIdBase) {
    case kKeyOff:
    case kKeyOn:
      host_.activeProfile().leftWinLock = id - kIdBase == kKeyOn ? 1 : 0;
      refresh();
      host_.edited();
      break;
    case kHelp:
      balloon().show(kHelpText, -15, 15);
      break;
  }
}
