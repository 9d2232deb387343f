#include "WarningDialog_win.h"

#include "Handle_win.h"
#include "SkinButton_win.h"
#include "SkinLoader_win.h"
#include "SkinPictures_win.h"

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

void WarningDialog::paintOver(HDC dc) {
  if (text_.empty()) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  // Between the title bar and the buttons.
  RECT area{DpiScale(16), DpiScale(56), client.right - DpiScale(16), DpiScale(140)};
  UniqueFont font(CreateFontA(-DpiScale(12), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play"));
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

// The question is drawn into the picture, or written over it; a screen
// reader reads it from a text window of no size (the skin writes the drawn
// one as NAMES 0).
void WarningDialog::onInit() {
  const std::string message = text_.empty() ? ReadSkinString(skin().iniPath, "NAMES", "0") : text_;
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
