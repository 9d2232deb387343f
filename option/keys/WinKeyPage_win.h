#pragma once
// The Windows-key page of the main window: two option buttons for the lock of
// the active profile's Windows key.

#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class WinKeyPage : public SkinPage {
 public:
  explicit WinKeyPage(OptionHost& host) : host_(host) {}
  bool create(HWND parent, POINT at);
  // Shows the active profile's setting.
  void refresh();

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  OptionHost& host_;
};
