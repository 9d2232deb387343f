#pragma once
// The colour dialog's vertical hue strip: hue 0 at the top, 3599 at the
// bottom; line step 10, page step 100.

#include "ColorPicker_win.h"

class HueBar : public ColorPicker {
 public:
  static HueBar* Create(HWND parent, int id, const SkinPosition& position);
  int hue() const { return value().hue; }

 protected:
  Hsv valueAt(int x, int y) const override;
  bool applyKey(Hsv& value, PickerKey key) const override;
  void draw(DibCanvas& canvas) override;
  void adopt(Hsv& mine, const Hsv& theirs) const override {
    mine.saturation = theirs.saturation;
    mine.brightness = theirs.brightness;
  }
};
