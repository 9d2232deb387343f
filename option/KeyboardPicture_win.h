#pragma once
// The keyboard picture of the main window: 105 key buttons (Enter is a
// window of its own outline) and 126 LED buttons over one picture. Keys show
// the colour of what they are assigned; LEDs show the per-key colours.

#include <functional>
#include <iterator>

#include "OptionRules.h"
#include "SettingsImage.h"
#include "SkinDialog_win.h"

class KeyboardPicture : public SkinPage {
 public:
  static constexpr int kKeyEntryBase = 40;   // key index k at BUTTONPOS 40 + k
  static constexpr int kLedEntryBase = 150;  // LED i at BUTTONPOS 150 + i
  static constexpr int kKeyIdBase = 1000;
  static constexpr int kLedIdBase = 2000;

  bool create(HWND parent, POINT at);
  // Shows `mode`'s set of buttons, each drawn for `profile`.
  void refresh(const ProfileRecord& profile, KeyboardPictureMode mode);
  KeyboardPictureMode mode() const { return mode_; }

  std::function<void(int keyIndex)> onKeyClicked;
  std::function<void(int led)> onLedClicked;

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  void showKey(int keyIndex, KeyLook look);
  SkinStatePictures picturesFor(KeyLook look);
  void makeLeds();

  KeyboardPictureMode mode_ = KeyboardPictureMode::Keys;
  KeyLook shown_[kKeyCount] = {};
  bool ledsMade_ = false;
  // The colour pictures, each decoded the first time a key needs it.
  UniqueBitmap colours_[std::size(kKeyLookPictures)];
};
