#include "KeyboardKeyPage_win.h"

#include "KeyMessages.h"
#include "KeyboardLayout_win.h"
#include "SkinButton_win.h"
#include "SkinPictures_win.h"

namespace {
enum Control { kRecord = 1, kKeysText = 2, kControlCount = 2 };
constexpr int kIdBase = 700;
constexpr int kTextHeight = 16;
constexpr COLORREF kTextColour = RGB(0xE6, 0xE6, 0xE6);
constexpr int kTextIndent = 8;
}  // namespace

bool KeyboardKeyPage::create(HWND parent, POINT at) {
  return createPage({"buttons\\skin_Keyboard_button.ini", SkinRoot(), {{1, kControlCount}}, {}}, parent, at);
}

HWND KeyboardKeyPage::createControl(int, int key, const SkinPosition& position,
                                    const SkinStatePictures& pictures) {
  if (key != kRecord) return nullptr;  // the keys text is painted by the page
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures, true);
  return button ? button->hwnd() : nullptr;
}

void KeyboardKeyPage::refresh() { showKeys(CombinationTextOnRefresh(entry_, systemKeyboardLayout())); }

void KeyboardKeyPage::onCommand(int id, int, HWND) {
  if (id != kIdBase + kRecord) return;
  auto* toggle = controlAs<SkinButton>(kRecord);
  if (toggle && toggle->checked()) {
    startCapture();
  } else {
    owner_.Stop();
    capture_.Stop();
  }
}

void KeyboardKeyPage::startCapture() {
  capture_.Start(entry_);
  showKeys({});
  if (!owner_.Start(hwnd())) {
    capture_.Stop();
    raiseToggle();
  }
}

void KeyboardKeyPage::abandonCapture() {
  owner_.Stop();
  capture_.Stop();
  raiseToggle();
}

void KeyboardKeyPage::raiseToggle() {
  if (auto* toggle = controlAs<SkinButton>(kRecord)) toggle->setChecked(false);
}

LRESULT KeyboardKeyPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_HOOK_KEY) {
    const HookKeyEvent event{uint32_t(wParam), uint32_t(lParam)};
    const CaptureStep step = capture_.OnHookKey(entry_, event, systemKeyboardLayout());
    if (step == CaptureStep::Ignored) return 0;
    if (step == CaptureStep::Finished) abandonCapture();
    showKeys(CombinationText(entry_, systemKeyboardLayout()));
    return 0;
  }
  return AssignSubPage::onMessage(message, wParam, lParam);
}

void KeyboardKeyPage::onDestroyed() {
  owner_.Stop();
  capture_.Stop();
}

void KeyboardKeyPage::showKeys(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  if (const SkinPosition* at = position(kKeysText)) {
    const RECT area{at->rect.left, at->rect.top, at->rect.right, at->rect.bottom};
    InvalidateRect(hwnd(), &area, FALSE);
  }
}

void KeyboardKeyPage::paintOver(HDC dc) {
  const SkinPosition* at = position(kKeysText);
  if (!at || text_.empty()) return;
  UniqueFont font(
      CreateFontA(DpiScale(kTextHeight), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play"));
  HGDIOBJ old = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColour);
  RECT area{at->rect.left + DpiScale(kTextIndent), at->rect.top, at->rect.right - DpiScale(kTextIndent),
            at->rect.bottom};
  DrawTextA(dc, text_.c_str(), int(text_.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old);
}
