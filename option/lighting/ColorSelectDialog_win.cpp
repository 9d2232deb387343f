#include "ColorSelectDialog_win.h"

#include "ColorField_win.h"
#include "ColorPreview_win.h"
#include "ColorSelectRules.h"
#include "HueBar_win.h"
#include "LightingMessages.h"
#include "NumberSpinField_win.h"
#include "SkinButton_win.h"

namespace {
enum Control {
  kField = 1,
  kHue = 2,
  kPreview = 3,
  kRed = 4,  // 4, 5, 6: red, green, blue
  kHex = 7,
  kFirstPreset = 8,  // 8..13
  kOk = 14,
  kCancel = 15,
  kHelp = 16,
  kControlCount = 16,
};
constexpr int kIdBase = 500;  // the number fields keep their own identifiers 401..403
constexpr int kChannelCount = 3;
constexpr char kHelpText[] = "Chose you color of your LED lights\nand click on APPLY.";
constexpr int kHelpOffsetX = -15, kHelpOffsetY = 15;
constexpr COLORREF kHexText = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kHexBackground = RGB(0x4D, 0x4D, 0x4D);
constexpr int kHexFontHeight = 14;
}  // namespace

std::optional<Color> ColorSelectDialog::choose(HWND owner, Color initial) {
  color_ = initial & 0xFFFFFF;
  const SkinSource source{"skin_Color_Select.ini", SkinRoot() + "LightFX\\", {{1, kControlCount}}, {}};
  if (runModal(source, kTitle, owner) != IDOK) return std::nullopt;
  return color_;
}

HWND ColorSelectDialog::createControl(int, int key, const SkinPosition& position,
                                      const SkinStatePictures& pictures) {
  const int id = kIdBase + key;
  switch (key) {
    case kField:
      field_ = ColorField::Create(hwnd(), id, position);
      return field_ ? field_->hwnd() : nullptr;
    case kHue:
      bar_ = HueBar::Create(hwnd(), id, position);
      return bar_ ? bar_->hwnd() : nullptr;
    case kPreview:
      preview_ = ColorPreview::Create(hwnd(), id, position);
      return preview_ ? preview_->hwnd() : nullptr;
    case kRed:
    case kRed + 1:
    case kRed + 2: {
      NumberSpinField*& field = numbers_[key - kRed];
      field = NumberSpinField::Create(hwnd(), kRedFieldId + key - kRed, position);
      if (!field) return nullptr;
      field->setRange(kColorByteRange);
      return field->hwnd();
    }
    case kHex: {
      const SkinRect& r = position.rect;
      hex_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, r.left,
                             r.top, r.width(), r.height(), hwnd(), reinterpret_cast<HMENU>(INT_PTR(id)),
                             GetModuleHandleA(nullptr), nullptr);
      hexFont_.reset(
          CreateFontA(kHexFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play"));
      hexBackground_.reset(CreateSolidBrush(kHexBackground));
      if (hex_) SendMessageA(hex_, WM_SETFONT, WPARAM(hexFont_.get()), FALSE);
      return hex_;
    }
  }
  SkinButton* button = SkinButton::Create(hwnd(), id, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void ColorSelectDialog::onInit() {
  setDialogKeys(kOk, kCancel);
  if (field_ && bar_) {
    field_->link(bar_->hwnd());
    bar_->link(field_->hwnd());
  }
  if (preview_) {
    if (field_) field_->link(preview_->hwnd());
    if (bar_) bar_->link(preview_->hwnd());
  }
  show(color_, true);
}

void ColorSelectDialog::placeWindow(HWND owner) {
  RECT area{};
  if (owner) GetWindowRect(owner, &area);
  SetWindowPos(hwnd(), nullptr, area.left + kOffsetFromOwner.x, area.top + kOffsetFromOwner.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ColorSelectDialog::show(Color color, bool movePickers) {
  color_ = color & 0xFFFFFF;
  if (movePickers) {
    SetPickersToColor(color_, field_, bar_);
    if (preview_) preview_->setColor(color_);
  }
  showTexts();
}

void ColorSelectDialog::showTexts() {
  const ColorTexts texts = TextsOf(color_);
  const int channels[kChannelCount] = {texts.red, texts.green, texts.blue};
  for (int c = 0; c < kChannelCount; ++c)
    if (numbers_[c] && numbers_[c]->value() != channels[c]) numbers_[c]->setValue(channels[c]);
  if (hex_) SetWindowTextA(hex_, texts.hex.c_str());
}

void ColorSelectDialog::onCommand(int id, int, HWND) {
  const int key = id - kIdBase;
  if (key >= kFirstPreset && key < kFirstPreset + kPresetCount) {
    if (auto preset = PresetColor(key - kFirstPreset)) show(*preset, true);
    return;
  }
  switch (key) {
    case kOk:
      end(IDOK);
      break;
    case kCancel:
      end(IDCANCEL);
      break;
    case kHelp:
      balloon().show(kHelpText, kHelpOffsetX, kHelpOffsetY);
      break;
  }
}

LRESULT ColorSelectDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_PICKER_SYNC:
      return 0;  // the preview turns the pickers' value into MSG_PICKER_COLOR
    case MSG_PICKER_COLOR:
      show(Color(wParam), false);
      return 0;
    case MSG_NUMBER_CHANGED:
      // A number the user typed moves the pickers; the numbers stay as typed.
      color_ = ColorAfterNumberField(color_, int(lParam), unsigned(wParam));
      SetPickersToColor(color_, field_, bar_);
      if (preview_) preview_->setColor(color_);
      if (hex_) SetWindowTextA(hex_, ColorHexText(color_).c_str());
      return 0;
    case WM_CTLCOLORSTATIC:
      if (hex_ && reinterpret_cast<HWND>(lParam) == hex_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kHexText);
        SetBkColor(dc, kHexBackground);
        return reinterpret_cast<LRESULT>(hexBackground_.get());
      }
      break;
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}
