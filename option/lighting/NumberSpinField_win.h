#pragma once
// A number field of the colour dialog: a BitmapEdit with an up and a down
// arrow beside it. Every settled value is posted to the parent as
// MSG_NUMBER_CHANGED (value, identifier).

#include <windows.h>

#include <string>

#include "BitmapEdit_win.h"
#include "NumberSpinRules.h"
#include "SkinControl_win.h"
#include "SkinPosition.h"

class NumberSpinField : public SkinControl {
 public:
  // The edit and the arrows share the position's rectangle; its text is the help text.
  static NumberSpinField* Create(HWND parent, int id, const SkinPosition& position);

  void setRange(const SpinRange& range);
  const SpinRange& range() const { return range_; }
  // Shows `value` without reporting it (the dialog already knows it).
  void setValue(int value);
  int value() const { return value_; }
  BitmapEdit* edit() const { return edit_; }
  void stepUp();
  void stepDown();

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string text() const;
  void replaceText(int value);
  void setTextQuietly(int value);
  void settle();
  void paintArrows();
  RECT arrowRect(bool up) const;

  BitmapEdit* edit_ = nullptr;
  SpinRange range_ = kColorByteRange;
  int value_ = 0;
  // Text changes of our own making whose notifications are still in the queue.
  int quietChanges_ = 0;
  bool settingQuietly_ = false;
  std::string help_;
};
