#include "KeyboardPicture_win.h"

#include "ColorKeyButton_win.h"
#include "OptionResources.h"
#include "Picture_win.h"
#include "RegionButton_win.h"
#include "SkinButton_win.h"

namespace {
constexpr int kEnterKey = 43;
}  // namespace

bool KeyboardPicture::create(HWND parent, POINT at) {
  // The LEDs are made the first time the per-key colour page shows them, the
  // colour pictures the first time a key shows its function: most starts
  // need neither, and both cost time (a control is a few milliseconds under
  // load, a picture tens). Keys are cut again from the kept state pictures
  // whenever their look changes.
  SkinSource source{"skin_main.ini", SkinRoot(), {{kKeyEntryBase, kKeyCount}}, {}};
  source.keepStatePictures = true;
  return createPage(source, parent, at);
}

HWND KeyboardPicture::createControl(int, int key, const SkinPosition& position,
                                    const SkinStatePictures& pictures) {
  if (key >= kLedEntryBase) {
    ColorKeyButton* led =
        ColorKeyButton::Create(hwnd(), kLedIdBase + key - kLedEntryBase, position, pictures);
    if (!led) return nullptr;
    led->setDrawMode(ColorKeyDrawMode::KeyColour);
    ShowWindow(led->hwnd(), SW_HIDE);
    return led->hwnd();
  }
  const int keyIndex = key - kKeyEntryBase;
  if (keyIndex == kEnterKey) {
    RegionButton* enter =
        RegionButton::Create(hwnd(), kKeyIdBase + keyIndex, "Enter", position, IDB_ENTER_MASK, pictures);
    return enter ? enter->hwnd() : nullptr;
  }
  SkinButton* button = SkinButton::Create(hwnd(), kKeyIdBase + keyIndex, position, pictures);
  return button ? button->hwnd() : nullptr;
}

SkinStatePictures KeyboardPicture::picturesFor(KeyLook look) {
  HBITMAP normal = skin().background.get();
  if (look != KeyLook::Normal) {
    UniqueBitmap& colour = colours_[size_t(look) - size_t(KeyLook::Green)];
    if (!colour) {
      const std::string name = ReadSkinString(skin().iniPath, "SCREEN", kKeyLookPictures[&colour - colours_]);
      SIZE ignored{};
      if (!name.empty()) LoadPictureFile(SkinRoot() + name, colour, ignored);
    }
    normal = colour.get();
  }
  return {normal, skin().over.get(), skin().down.get(), skin().disabled.get()};
}

void KeyboardPicture::makeLeds() {
  if (ledsMade_) return;
  ledsMade_ = true;
  for (int i = 0; i < kLedCount; ++i) addControl(kLedEntryBase + i);
}

void KeyboardPicture::showKey(int keyIndex, KeyLook look) {
  if (shown_[keyIndex] == look) return;
  const SkinPosition* at = position(kKeyEntryBase + keyIndex);
  if (!at) return;
  shown_[keyIndex] = look;
  const RECT rect{at->rect.left, at->rect.top, at->rect.right, at->rect.bottom};
  HWND window = control(kKeyEntryBase + keyIndex);
  if (keyIndex == kEnterKey) {
    if (auto* enter = dynamic_cast<RegionButton*>(SkinControl::FromWindow(window)))
      enter->setStateImages(rect, picturesFor(look));
  } else if (auto* button = dynamic_cast<SkinButton*>(SkinControl::FromWindow(window))) {
    button->setStateImages(rect, picturesFor(look));
  }
  InvalidateRect(window, nullptr, FALSE);
}

void KeyboardPicture::refresh(const ProfileRecord& profile, KeyboardPictureMode mode) {
  mode_ = mode;
  const bool keys = mode == KeyboardPictureMode::Keys, leds = mode == KeyboardPictureMode::Leds;
  const StateCutScope cutting;
  for (int k = 0; k < kKeyCount; ++k) {
    showKey(k, keyLookOf(profile.keys[k], k));
    HWND key = control(kKeyEntryBase + k);
    // Hidden before disabled and enabled before shown: a key never shows its
    // disabled look on the way.
    if (!keys) ShowWindow(key, SW_HIDE);
    EnableWindow(key, keys);
    if (keys) ShowWindow(key, SW_SHOWNA);
  }
  if (leds) makeLeds();
  for (int i = 0; ledsMade_ && i < kLedCount; ++i) {
    auto* led = controlAs<ColorKeyButton>(kLedEntryBase + i);
    if (!led) continue;
    led->setColor(profile.customColors[i]);
    led->setCtrlClickColor(profile.customCtrlClickColor);
    // LEDs that no key carries have no place on the picture.
    const bool placed = position(kLedEntryBase + i) && position(kLedEntryBase + i)->rect.width() > 0;
    ShowWindow(led->hwnd(), leds && placed ? SW_SHOWNA : SW_HIDE);
    InvalidateRect(led->hwnd(), nullptr, FALSE);
  }
}

void KeyboardPicture::onCommand(int id, int, HWND) {
  if (id >= kKeyIdBase && id < kKeyIdBase + kKeyCount) {
    if (onKeyClicked) onKeyClicked(id - kKeyIdBase);
  } else if (id >= kLedIdBase && id < kLedIdBase + kLedCount) {
    if (onLedClicked) onLedClicked(id - kLedIdBase);
  }
}
