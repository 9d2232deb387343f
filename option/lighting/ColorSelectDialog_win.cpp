#include "ColorSelectDialog_win.h"

#include "BitmapEdit_win.h"
#include "ColorField_win.h"
#include "ColorPreview_win.h"
#include "ColorSelectRules.h"
#include "HueBar_win.h"
#include "LightingMessages.h"
#include "NumberSpinField_win.h"
#include "SkinButton_win.h"
#include "SkinPictures_win.h"
#include "SkinMessages.h"

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
constexpr char kHelpText[] =
    "Pick a colour in the field and the hue bar,\ntype its red, green and blue values or its\nhex code "
    "(RRGGBB), then click OK.";
constexpr int kHelpOffsetX = -15, kHelpOffsetY = 15;
constexpr COLORREF kHexText = RGB(232, 232, 232);  // the skin's wells
constexpr COLORREF kHexBackground = RGB(9, 9, 9);
constexpr int kHexLength = 7;  // RRGGBB, or #RRGGBB pasted
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
      // A field the user types a colour into: taken as soon as it is one.
      BitmapEdit* edit = BitmapEdit::Create(hwnd(), id, position);
      if (!edit) return nullptr;
      edit->setColors(kHexText, kHexBackground);
      SendMessageA(edit->hwnd(), EM_LIMITTEXT, kHexLength, 0);
      hex_ = edit->hwnd();
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
  const LONG left = area.left + DpiScale(int(kOffsetFromOwner.x)),
             top = area.top + DpiScale(int(kOffsetFromOwner.y));
  const RECT kept = KeepOnWorkArea({left, top, left + skin().size.cx, top + skin().size.cy});
  SetWindowPos(hwnd(), nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  showHex();
}

// Rewritten only when it shows another colour: what the user is typing stays.
void ColorSelectDialog::showHex() {
  if (!hex_) return;
  char typed[16] = {};
  GetWindowTextA(hex_, typed, sizeof typed);
  if (ColorFromHexText(typed) == color_) return;
  const std::string shown = HexFieldText(color_);
  SetWindowTextA(hex_, shown.c_str());
}

void ColorSelectDialog::hexTyped() {
  char typed[16] = {};
  GetWindowTextA(hex_, typed, sizeof typed);
  const std::optional<Color> colour = ColorFromHexText(typed);
  if (!colour || *colour == color_) return;
  show(*colour, true);
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
      showHex();
      return 0;
    case MSG_EDIT_DONE:
      showHex();  // left half typed: the field shows the dialog's colour again
      return 0;
  }
  if (message == BitmapEdit::KillFocusMessage()) {
    if (hex_) hexTyped();  // after every change of the "#" field
    return 0;
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}
