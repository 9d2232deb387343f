#include "WarningDialog_win.h"

#include "Handle_win.h"
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

void WarningDialog::paintOver(HDC dc) {
  if (text_.empty()) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  RECT area{16, 56, client.right - 16, 140};  // between the title bar and the buttons
  UniqueFont font(CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play"));
  HGDIOBJ old = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(232, 232, 232));
  RECT measured = area;
  DrawTextA(dc, text_.c_str(), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  OffsetRect(&measured, 0, ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2);
  measured.left = area.left;
  measured.right = area.right;
  DrawTextA(dc, text_.c_str(), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
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
