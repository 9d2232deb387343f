#pragma once
// The Custom effect's sub-page: the colour that Ctrl+click paints LEDs with
// (and the selected LED's colour), the global colour, the two modes (per-key
// colours or the key map) and the clicks on the keyboard picture's LEDs.

#include "CustomLedRules.h"
#include "EffectSubPage_win.h"

class CustomSubPage : public EffectSubPage {
 public:
  explicit CustomSubPage(OptionHost& host) : EffectSubPage(host, LightingSubPage::Custom) {}
  void refresh() override;
  // LED `led` of the keyboard picture was clicked; with Ctrl held it has
  // already taken the Ctrl+click colour.
  void ledClicked(int led, bool ctrlHeld);
  int selectedLed() const { return selectedLed_; }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  void chooseLedColor();
  void chooseGlobalColor();
  void chooseMode(int mode);

  int selectedLed_ = kNoLed;
};
