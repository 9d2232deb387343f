#pragma once
// A button of class "Rgn Button" whose outline comes from a mask bitmap of the
// program's resources (white outside), drawn from four state images.

#include <string>

#include "ButtonLooks.h"
#include "SkinControl_win.h"
#include "SkinFocus_win.h"
#include "SkinLoader_win.h"

class RegionButton : public SkinControl {
 public:
  // Visible and tab-stoppable at the position's rectangle with window text
  // `text`; the outline is built from bitmap resource `maskId` of the program.
  static RegionButton* Create(HWND parent, int id, const char* text, const SkinPosition& position, int maskId,
                              const SkinStatePictures& pictures);

  void setStateImages(const RECT& rect, const SkinStatePictures& pictures);
  void setToggle(bool toggle) { toggle_ = toggle; }
  void setChecked(bool checked);
  bool checked() const { return checked_; }
  void setTag(int tag) { tag_ = tag; }
  RegionState state() const { return state_; }
  bool hasOutline() const { return bool(outline_); }
  // Client point inside the outline (the whole rectangle without a mask).
  bool insideOutline(POINT pt) const;

  bool pressable() const override { return true; }
  void press() override { PressButtonWindow(hwnd(), toggle_, checked_); }

  void cutOverImage(HBITMAP picture, const SkinPosition& at) override { images_.cutOver(hwnd(), at, picture); }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void buildOutline(int maskId);
  void setState(RegionState state);
  void notifyHover(bool entered);
  void paint();

  StateImages images_;
  UniqueRegion outline_;  // our copy; the window owns the installed one
  RegionState state_ = RegionState::Rest;
  bool toggle_ = false;
  bool checked_ = false;
  bool pressed_ = false;
  bool pressedInside_ = false;
  int tag_ = 0;
};
