#pragma once
// The balloon help of the pages and dialogs: a top-most pop-up with a rounded
// outline and a tail at its lower right, pointing at where it was asked for.
//
//   BalloonTip tip;
//   tip.create(page);                         // once, with the page
//   tip.show("Help text", -15, 15);           // near the cursor, after 100 ms
//   if (tip.relay(msg)) ...                   // from the page's pre-translation
//
// It stays while the cursor rests where it was shown, and hides a second
// after the cursor has moved away, or at once on any mouse button press,
// which acts as well: the balloon lets clicks through. It never covers the
// control under the point it was shown at.

#include <windows.h>

#include <map>
#include <string>

#include "Handle_win.h"

class BalloonTip {
 public:
  static constexpr UINT kShowDelayMs = 100;
  static constexpr UINT kWatchPeriodMs = 5500;
  static constexpr UINT kHidePauseMs = 1000;

  BalloonTip() = default;
  BalloonTip(const BalloonTip&) = delete;
  BalloonTip& operator=(const BalloonTip&) = delete;
  ~BalloonTip();

  bool create(HWND owner);
  // `at` in screen coordinates; the cursor position when null.
  void show(const std::string& text, int offsetX, int offsetY, const POINT* at = nullptr);
  void hide();
  // A mouse move over `window` shows `text` there.
  void setTipText(HWND window, const std::string& text);
  // Offered every message of the owner's thread first; never consumes it.
  void relay(const MSG& msg);
  // Offers `msg` to every balloon of the thread (a modal loop serves a window
  // and the pages inside it, each with its own balloon).
  static void RelayAll(const MSG& msg);

  HWND hwnd() const { return window_.get(); }
  bool visible() const;
  const std::string& text() const { return text_; }

 private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
  void onTimer(UINT_PTR id);
  void place();
  void paint();
  HFONT font();

  UniqueWindow window_;
  UniqueFont font_;
  int fontScale_ = 0;  // the skin's scale the font was made for
  std::string text_;
  POINT at_{};
  int offsetX_ = 0, offsetY_ = 0;
  RECT avoid_{};  // the control it was shown for, in screen coordinates
  SIZE body_{};  // the rounded part; the tail hangs below it
  std::map<HWND, std::string> tips_;
};
