#pragma once
// The keyboard picture of the main window: one window that draws the 105
// keys (each in the colour of what it is assigned, the Enter key as its L)
// or the 126 LEDs (each with its per-key colour laid over it) on one picture,
// and hovers, presses and clicks them itself (KeyboardPictureRules.h). Other
// programs and the tests ask it about its items with UM_PICTURE_ITEM.

#include <windows.h>

#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "Handle_win.h"
#include "KeyboardPictureRules.h"
#include "OptionRules.h"
#include "SettingsImage.h"

class KeyboardPicture {
 public:
  static constexpr int kKeyEntryBase = 40;   // key index k at BUTTONPOS 40 + k
  static constexpr int kLedEntryBase = 150;  // LED i at BUTTONPOS 150 + i
  // Its window text; with the focused key's name after it while the keyboard walks the keys.
  static constexpr const char* kKeyboardName = "Keyboard";

  KeyboardPicture() = default;
  KeyboardPicture(const KeyboardPicture&) = delete;
  KeyboardPicture& operator=(const KeyboardPicture&) = delete;
  ~KeyboardPicture();

  // A child of `parent` at `at`, sized by the picture, not yet shown.
  bool create(HWND parent, POINT at);
  HWND hwnd() const { return hwnd_; }
  // Shows `mode`'s items, each drawn for `profile`.
  void refresh(const ProfileRecord& profile, KeyboardPictureMode mode);
  KeyboardPictureMode mode() const { return mode_; }

  std::function<void(int keyIndex)> onKeyClicked;
  std::function<void(int led)> onLedClicked;

 private:
  static LRESULT CALLBACK staticProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void load();
  std::map<int, SkinPosition> readPositions() const;
  HBITMAP picture(StateImage state, KeyLook look);
  void paint(HDC dc, const RECT& area);
  void drawKey(HDC dc, HDC source, int key);
  void drawLed(HDC dc, HDC source, int led);
  void invalidate(PictureItem item);
  void apply(const PictureEffect& effect);
  PictureItem itemAt(LPARAM point) const;
  void mouseMoved(WPARAM wParam, LPARAM lParam);
  void pressed(WPARAM wParam, LPARAM lParam);
  void released(WPARAM wParam, LPARAM lParam);
  void showTooltips(bool shown);
  LRESULT describe(WPARAM kind, LPARAM index) const;
  // The keyboard (KeyboardPictureKeys_win.cpp): the focus mark on one item.
  std::vector<SkinRect> focusItems() const;
  PictureItem focusedItem() const;
  bool keyPressed(WPARAM key, LPARAM flags);
  void moveFocusTo(int index);
  void focusChanged(bool gained);
  void drawFocusMark(HDC dc, const RECT& area);

  HWND hwnd_ = nullptr;
  std::string iniPath_;
  SIZE size_{0, 0};
  PictureLayout layout_;
  std::string keyTexts_[kKeyCount];                    // each key's tooltip and quick help
  std::map<int, std::string> names_;                   // by BUTTONPOS entry: what screen readers say
  int focus_ = -1;                                     // the key or LED the keyboard is at
  UniqueRegion enterOutline_;                          // in the Enter key's coordinates
  UniqueBitmap background_;                            // the rest look of every key and LED
  UniqueBitmap over_, down_;                           // decoded after the first paint, or when first needed
  UniqueBitmap colours_[std::size(kKeyLookPictures)];  // each when a key first needs it
  UniqueMemoryDc ledCanvas_;                           // the colour of one LED, blended over it
  UniqueBitmap ledSurface_;
  SIZE ledCanvasSize_{0, 0};
  UniqueWindow tooltip_;

  KeyboardPictureMode mode_ = KeyboardPictureMode::Keys;
  KeyLook looks_[kKeyCount] = {};
  LedColors leds_;
  PictureInput input_;
  bool tracking_ = false;  // a WM_MOUSELEAVE is asked for
};
