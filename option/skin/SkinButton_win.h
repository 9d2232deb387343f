#pragma once
// Picture push/toggle button with caption, hand cursor, tooltip and quick help.

#include <string>

#include "SkinControl_win.h"
#include "SkinFocus_win.h"
#include "SkinLoader_win.h"

class SkinButton : public SkinControl {
 public:
  // A visible child at the position's rectangle, images cut from `pictures`,
  // tooltip and help text from the position's text. Owned by its window.
  static SkinButton* Create(HWND parent, int id, const SkinPosition& position,
                            const SkinStatePictures& pictures, bool toggle = false);
  // The resource-picture variant: sized by the bitmaps, w and h of the string unused.
  static SkinButton* CreateResourceButton(HWND parent, int id, const char* position, int normalId, int overId,
                                          int downId, int disabledId, bool toggle);

  void setStateImages(const RECT& rect, const SkinStatePictures& pictures);
  void setImages(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);  // takes them
  void setTooltip(const std::string& text);
  void setChecked(bool checked);
  bool checked() const { return checked_; }
  void setToggle(bool toggle) { toggle_ = toggle; }
  // Layouts: 0 one line from the left edge, 1 a word-wrapped block, or
  // kCaptionBesideLed: one line after the LED dot of a skin's toggle, cut
  // with an ellipsis where it does not fit.
  static constexpr int kCaptionBesideLed = 2;
  void setCaption(const std::string& caption, int layout = 0);
  void setHandCursor(bool on) { handCursor_ = on; }
  void setHover(bool hover);
  bool hovered() const { return hover_; }
  void setTag(int tag) { tag_ = tag; }
  void setTextColors(COLORREF rest, COLORREF hover, COLORREF pressed);
  const std::string& helpText() const { return help_; }

  bool pressable() const override { return true; }
  bool takesFocusOnPress() const override { return !toggle_; }  // as its click
  void press() override { PressButtonWindow(hwnd(), toggle_, checked_); }

  void cutOverImage(HBITMAP picture, const SkinPosition& at) override { images_.cutOver(hwnd(), at, picture); }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void draw(const DRAWITEMSTRUCT& item);
  void drawBesideLed(HDC dc, int w, int h, bool lit);
  void notifyHover(bool entered);
  void trackMouse();
  void addTool();

  StateImages images_;
  bool toggle_ = false;
  bool checked_ = false;
  bool hover_ = false;
  bool defaultButton_ = false;
  bool handCursor_ = true;
  int tag_ = 0;
  int layout_ = 0;
  std::string caption_;
  std::string help_;
  COLORREF restColor_ = RGB(255, 255, 255), hoverColor_ = RGB(255, 255, 255),
           pressedColor_ = RGB(255, 255, 255);
  UniqueWindow tooltip_;
  ToggleClick click_;
};
