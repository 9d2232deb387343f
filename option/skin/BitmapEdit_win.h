#pragma once
// Single-line edit with fixed colours and an optional character filter.

#include <windows.h>

#include "EditFilter.h"
#include "SkinControl_win.h"
#include "SkinPosition.h"

class BitmapEdit : public SkinControl {
 public:
  static BitmapEdit* Create(HWND parent, int id, const SkinPosition& position);
  static UINT KillFocusMessage();  // the registered "BitmapEdit_KillFocus"

  void setColors(COLORREF text, COLORREF background);
  void applyFont();
  void setDecimalFilter(bool on) { filter_ = on ? EditFilter::Decimal : EditFilter::None; }
  void setHexFilter(bool on) { filter_ = on ? EditFilter::Hexadecimal : EditFilter::None; }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void onTextChanged();
  COLORREF text_ = RGB(255, 255, 255);
  COLORREF background_ = RGB(0x4D, 0x4D, 0x4D);
  UniqueBrush brush_;
  UniqueFont font_;
  EditFilter filter_ = EditFilter::None;
  bool refiltering_ = false;
};
