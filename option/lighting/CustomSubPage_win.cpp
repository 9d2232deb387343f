#include "CustomSubPage_win.h"

#include "ColorKeyButton_win.h"
#include "CustomLedRules.h"
#include "SkinButton_win.h"

namespace {
enum Control { kLedSwatch = 1, kGlobalSwatch = 2, kFirstMode = 3, kLedHelp = 5, kGlobalHelp = 6 };
constexpr int kIdBase = 100;
constexpr char kLedHelpText[] =
    "Choose a colour here, then Ctrl+click the\nkeys of the keyboard picture that should\nlight in it. "
    "Choose another colour and\nCtrl+click again to light your keys in\nseveral colours.";
// Says when the colour applies: only ONE COLOUR lights the keys with it.
constexpr char kGlobalHelpText[] =
    "The global colour lights every key of your\nkeyboard when ONE COLOUR is chosen;\nPER KEY shows the "
    "painted colours.";
constexpr int kHelpOffsetX = -15, kLedHelpOffsetY = 40, kGlobalHelpOffsetY = 20;
}  // namespace

HWND CustomSubPage::createControl(int, int key, const SkinPosition& position,
                                  const SkinStatePictures& pictures) {
  if (key == kLedSwatch || key == kGlobalSwatch) {
    ColorKeyButton* swatch = CreateSwatch(hwnd(), kIdBase + key, position, pictures);
    return swatch ? swatch->hwnd() : nullptr;
  }
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void CustomSubPage::refresh() {
  const ProfileRecord& profile = host_.activeProfile();
  if (auto* swatch = controlAs<ColorKeyButton>(kGlobalSwatch)) swatch->setColor(profile.globalColor);
  if (auto* swatch = controlAs<ColorKeyButton>(kLedSwatch)) swatch->setColor(LedColor(profile, selectedLed_));
  for (int i = 0; i < kVariantButtonCount; ++i)
    if (auto* button = controlAs<SkinButton>(kFirstMode + i))
      button->setChecked(VariantChecked(profile.customMode, i));
}

void CustomSubPage::ledClicked(int led, bool ctrlHeld) {
  if (!IsLedIndex(led)) return;
  selectedLed_ = led;
  const bool painted = ApplyLedClick(host_.activeProfile(), led, ctrlHeld);
  refresh();
  if (!painted) return;
  host_.edited();
  host_.keyboardPictureChanged();
}

void CustomSubPage::chooseLedColor() {
  ProfileRecord& profile = host_.activeProfile();
  const std::optional<Color> chosen = ChooseColor(host_, LedColor(profile, selectedLed_));
  if (chosen) ApplyLedSwatchColor(profile, selectedLed_, *chosen);
  refresh();
  if (auto* swatch = controlAs<ColorKeyButton>(kLedSwatch)) UpdateWindow(swatch->hwnd());
  if (!chosen) return;
  host_.keyboardPictureChanged();  // the selected LED's colour and every Ctrl+click colour
  host_.edited();
}

void CustomSubPage::chooseGlobalColor() {
  // The colour goes to the profile the dialog was opened on, even when the
  // monitor switched the window to another one meanwhile.
  ProfileRecord& profile = host_.activeProfile();
  const std::optional<Color> chosen = ChooseColor(host_, profile.globalColor);
  if (chosen) profile.globalColor = *chosen;
  refresh();
  if (auto* swatch = controlAs<ColorKeyButton>(kGlobalSwatch)) UpdateWindow(swatch->hwnd());
  if (chosen) host_.edited();
}

void CustomSubPage::chooseMode(int mode) {
  host_.activeProfile().customMode = mode;
  refresh();
  host_.edited();
  host_.keyboardPictureChanged();
}

void CustomSubPage::onCommand(int id, int, HWND) {
  switch (const int key = id - kIdBase) {
    case kLedSwatch:
      chooseLedColor();
      break;
    case kGlobalSwatch:
      chooseGlobalColor();
      break;
    case kFirstMode:
    case kFirstMode + 1:
      chooseMode(key - kFirstMode);
      break;
    case kLedHelp:
      balloon().show(kLedHelpText, kHelpOffsetX, kLedHelpOffsetY);
      break;
    case kGlobalHelp:
      balloon().show(kGlobalHelpText, kHelpOffsetX, kGlobalHelpOffsetY);
      break;
  }
}
