#pragma once
// Edit field with fixed colours and optional character filters: single-line,
// or multi-line with a vertical scroll bar, where Enter starts a new line.

#include <windows.h>

#include "EditFilter.h"
#include "SkinControl_win.h"
#include "SkinPosition.h"

class BitmapEdit : public SkinControl {
 public:
  static BitmapEdit* Create(HWND parent, int id, const SkinPosition& position);
  static BitmapEdit* CreateMultiLine(HWND parent, int id, const SkinPosition& position);
  static UINT KillFocusMessage();  // the registered "BitmapEdit_KillFocus"

  void setColors(COLORREF text, COLORREF background);
  void applyFont();
  void setDecimalFilter(bool on) { filters_.decimal = on; }
  void setHexFilter(bool on) { filters_.hexadecimal = on; }
  bool multiLine() const { return multiLine_; }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static BitmapEdit* Make(HWND parent, int id, const SkinPosition& position, DWORD style, bool multiLine);
  void onTextChanged();
  COLORREF text_ = RGB(255, 255, 255);
  COLORREF background_ = RGB(0x4D, 0x4D, 0x4D);
  UniqueBrush brush_;
  UniqueFont font_;
  EditFilters filters_;
  bool multiLine_ = false;
  bool refiltering_ = false;
};
