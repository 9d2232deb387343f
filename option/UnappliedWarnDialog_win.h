#pragma once
// The question when the window closes with changes not applied: Apply
// (entry 1) sends them and then closes, Discard (2) closes without them,
// Cancel (3) and the close button (4) keep the window open.

#include "SkinDialog_win.h"

enum class CloseChoice { Apply, Discard, Stay };

class UnappliedWarnDialog : public SkinDialog {
 public:
  CloseChoice ask(HWND owner);

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;
};
