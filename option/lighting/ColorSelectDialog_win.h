#pragma once
// The colour dialog that every colour swatch of the lighting pages opens: a
// saturation x brightness field with a hue bar, the new colour, red, green and
// blue number fields, the hexadecimal text and six preset colours.
//
//   ColorSelectDialog dialog;
//   if (auto chosen = dialog.choose(host.window(), profile.staticColor)) ...

#include <optional>

#include "ColorMath.h"
#include "Handle_win.h"
#include "SkinDialog_win.h"

class ColorField;
class HueBar;
class ColorPreview;
class NumberSpinField;

class ColorSelectDialog : public SkinDialog {
 public:
  static constexpr char kTitle[] = "Color Select";
  // Where the dialog appears, from the main window's top-left corner.
  static constexpr POINT kOffsetFromOwner{570, 255};

  // Runs modally over `owner`; the colour the user chose, nothing on Cancel.
  std::optional<Color> choose(HWND owner, Color initial);
  Color color() const { return color_; }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onInit() override;
  void onCommand(int id, int code, HWND control) override;
  void placeWindow(HWND owner) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The dialog's colour becomes `color`; the pickers follow when `movePickers`.
  void show(Color color, bool movePickers);
  void showTexts();
  void showHex();
  void hexTyped();

  Color color_ = 0;
  ColorField* field_ = nullptr;
  HueBar* bar_ = nullptr;
  ColorPreview* preview_ = nullptr;
  NumberSpinField* numbers_[3] = {};
  HWND hex_ = nullptr;
};
