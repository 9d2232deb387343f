#pragma once
// The colour dialog's swatch of the picked colour. Linked to the pickers, it
// turns their hue, saturation and brightness into a colour and posts
// MSG_PICKER_COLOR to its parent.

#include <windows.h>

#include "ColorMath.h"
#include "SkinControl_win.h"
#include "SkinPosition.h"

class ColorPreview : public SkinControl {
 public:
  static ColorPreview* Create(HWND parent, int id, const SkinPosition& position);
  // Shows `color` without notifying.
  void setColor(Color color);
  Color color() const { return color_; }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Color color_ = 0;
};
