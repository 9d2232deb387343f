#pragma once
// Common shell of the colour dialog's two pickers (the saturation x brightness
// field and the hue bar): a static control that paints from an off-screen DIB,
// follows the mouse while it holds the capture, answers the arrow and page
// keys, and tells its linked controls and its parent of every change.

#include <windows.h>

#include <vector>

#include "ColorMath.h"
#include "DibCanvas_win.h"
#include "PickerMath.h"
#include "SkinControl_win.h"
#include "SkinPosition.h"

// lParam of MSG_PICKER_SYNC.
struct PickerSync {
  HWND sender = nullptr;
  int senderId = 0;
  Hsv value;
};

class ColorPicker : public SkinControl {
 public:
  // `target` receives MSG_PICKER_SYNC after every change of this picker.
  void link(HWND target);
  // Shows `value` without notifying anybody.
  void setValue(const Hsv& value);
  const Hsv& value() const { return value_; }
  bool dragging() const { return dragging_; }
  // Paints the whole control into its off-screen picture (what WM_PAINT copies).
  void render();
  const DibCanvas& canvas() const { return canvas_; }

 protected:
  static HWND CreateWindowAt(HWND parent, int id, const SkinPosition& position);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The value under client point (x, y), clamped into the control.
  virtual Hsv valueAt(int x, int y) const = 0;
  // False for keys the picker does not use.
  virtual bool applyKey(Hsv& value, PickerKey key) const = 0;
  virtual void draw(DibCanvas& canvas) = 0;
  // Takes from a linked picker's value the parts that picker owns.
  virtual void adopt(Hsv& mine, const Hsv& theirs) const = 0;
  virtual HCURSOR insideCursor() const;
  int width() const;
  int height() const;

 private:
  void change(const Hsv& value);
  void moveTo(int x, int y);
  void paint();
  std::vector<HWND> linked_;
  Hsv value_;
  DibCanvas canvas_;
  bool dragging_ = false;
};

// Both pickers show `color` (converted once), notifying nobody.
void SetPickersToColor(Color color, ColorPicker* field, ColorPicker* bar);

// Maps a virtual key to the pickers' keys; false for other keys.
bool PickerKeyOf(WPARAM virtualKey, PickerKey& key);
