#pragma once
// A picture button that shows a colour over its state image: a solid swatch,
// or a key of the keyboard picture with its LED colour laid over it. Ctrl+click
// paints the key with the Ctrl+click colour before the page sees the click.

#include <string>

#include "ButtonLooks.h"
#include "SkinControl_win.h"
#include "SkinFocus_win.h"
#include "SkinLoader_win.h"

// Paints `canvas` (w x h) black with a key of `shape` in `colour` on it: what
// a colour key lays over its picture, solid or at half strength.
void PaintColorKey(HDC canvas, ColorKeyShape shape, int w, int h, COLORREF colour);

class ColorKeyButton : public SkinControl {
 public:
  static ColorKeyButton* Create(HWND parent, int id, const SkinPosition& position,
                                const SkinStatePictures& pictures);

  void setStateImages(const RECT& rect, const SkinStatePictures& pictures);
  void setColor(COLORREF color);
  COLORREF color() const { return color_; }
  void setCtrlClickColor(COLORREF color) { ctrlClickColor_ = color; }
  void setShape(ColorKeyShape shape);
  void setDrawMode(ColorKeyDrawMode mode);
  void setTag(int tag) { tag_ = tag; }
  void setToggle(bool toggle) { toggle_ = toggle; }
  void setChecked(bool checked);
  bool checked() const { return checked_; }
  bool hovered() const { return hover_; }
  void setHelpText(const std::string& text) {
    help_ = text;
    if (GetWindowTextLengthA(hwnd()) == 0) NameControl(hwnd(), text);
  }
  const std::string& helpText() const { return help_; }

  bool pressable() const override { return true; }
  bool takesFocusOnPress() const override { return !toggle_; }
  void press() override;

  void cutOverImage(HBITMAP picture, const SkinPosition& at) override { images_.cutOver(hwnd(), at, picture); }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void draw(const DRAWITEMSTRUCT& item);
  void drawColour(HDC dc, int w, int h, ColorKeyOverlay overlay);
  void setHover(bool hover);
  void trackMouse();

  StateImages images_;
  COLORREF color_ = 0;
  COLORREF ctrlClickColor_ = 0;
  bool ctrlHeld_ = false;
  ColorKeyShape shape_ = ColorKeyShape::CutCorners;
  ColorKeyDrawMode mode_ = ColorKeyDrawMode::Swatch;
  bool toggle_ = false;
  bool checked_ = false;
  bool hover_ = false;
  ToggleClick click_;
  int tag_ = 0;
  std::string help_;
};
