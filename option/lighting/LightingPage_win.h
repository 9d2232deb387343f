#pragma once
// The lighting page of the main window: the effect menu, the lights-off
// toggle, the general brightness and, in the effect area, the sub-page of the
// active profile's effect (one of six, created once, only one visible).

#include <array>
#include <memory>

#include "CustomSubPage_win.h"
#include "EffectSubPage_win.h"
#include "LightingRules.h"
#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class LightingPage : public SkinPage {
 public:
  explicit LightingPage(OptionHost& host) : host_(host) {}
  ~LightingPage() override;
  bool create(HWND parent, POINT at);
  // Re-reads the active profile into the page and every sub-page.
  void refresh();
  // An LED of the keyboard picture was clicked (Ctrl as held at that click).
  void ledClicked(int led, bool ctrlHeld);

  EffectSubPage* subPage(LightingSubPage kind) const { return subPages_[size_t(kind)].get(); }
  EffectSubPage* visibleSubPage() const { return visible_; }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc) override;

 private:
  void createSubPages();
  // Shows the sub-page and the name of `lightFx`; with `switchPicture` the
  // keyboard picture follows.
  void showEffect(int32_t lightFx, bool switchPicture);
  void openEffectMenu();
  void chooseEffect(int command);

  OptionHost& host_;
  std::array<std::unique_ptr<EffectSubPage>, kLightingSubPageCount> subPages_;
  EffectSubPage* visible_ = nullptr;
  CustomSubPage* custom_ = nullptr;
  int menuProfile_ = -1;  // the profile shown when the effect menu opened
};
