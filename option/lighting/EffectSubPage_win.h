#pragma once
// One effect's sub-page of the lighting page (Static, Breathe, Wave, Ripple,
// Reactive): a colour swatch that opens the colour dialog, and where the
// effect has them a speed slider and two variant buttons. Every change goes
// straight into the active profile.

#include <optional>

#include "ColorMath.h"
#include "LightingRules.h"
#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class EffectSubPage : public SkinPage {
 public:
  EffectSubPage(OptionHost& host, LightingSubPage kind) : host_(host), kind_(kind) {}
  bool create(HWND parent, POINT at);
  LightingSubPage kind() const { return kind_; }
  // Shows the active profile's colour, speed and variant.
  virtual void refresh();

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  OptionHost& host_;

 private:
  void chooseColor();
  void chooseVariant(int variant);

  LightingSubPage kind_;
  SubPageFields fields_;
};

// Swatches and sliders every lighting page builds alike.
class ColorKeyButton;
class SkinSlider;
ColorKeyButton* CreateSwatch(HWND page, int id, const SkinPosition& position,
                             const SkinStatePictures& pictures);
SkinSlider* CreateLightingSlider(HWND page, const SkinPosition& position, const SkinStatePictures& pictures,
                                 int minimum, int maximum);
// The colour dialog over the main window, started from `initial`.
std::optional<Color> ChooseColor(OptionHost& host, Color initial);
