#pragma once
// The colour dialog's saturation (left to right) x brightness (bottom to top)
// field for the current hue, with a circle at the chosen point.

#include "ColorPicker_win.h"

class ColorField : public ColorPicker {
 public:
  static ColorField* Create(HWND parent, int id, const SkinPosition& position);
  FieldValue point() const { return {value().saturation, value().brightness}; }

 protected:
  Hsv valueAt(int x, int y) const override;
  bool applyKey(Hsv& value, PickerKey key) const override;
  void draw(DibCanvas& canvas) override;
  void adopt(Hsv& mine, const Hsv& theirs) const override { mine.hue = theirs.hue; }
  HCURSOR insideCursor() const override;
};
