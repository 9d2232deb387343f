#pragma once
// Base of the skinned windows: a picture background painted off-screen, an
// outline from the mask, dragging by any free spot, controls from the skin INI.

#include <windows.h>

#include <map>

#include "SkinControl_win.h"
#include "SkinLoader_win.h"

class SkinWindow {
 public:
  SkinWindow() = default;
  SkinWindow(const SkinWindow&) = delete;
  SkinWindow& operator=(const SkinWindow&) = delete;
  virtual ~SkinWindow();

  // A pop-up (parent null or owner) or, with `child`, a page inside `parent`.
  bool create(const SkinSource& source, const char* title, HWND parent, bool child);
  HWND hwnd() const { return hwnd_; }
  const LoadedSkin& skin() const { return skin_; }

  // The control made for BUTTONPOS entry `key`, and that entry as it was read;
  // null for a key the window did not load or made no control for.
  HWND control(int key) const;
  const SkinPosition* position(int key) const;
  template <typename Control>
  Control* controlAs(int key) const {
    return dynamic_cast<Control*>(SkinControl::FromWindow(control(key)));
  }
  // Any other entry of the window's INI file, such as PAGEPOSITION 2.
  SkinPosition readPosition(const char* section, int key) const;

  // Paints the background 1:1 where the window needs painting, with
  // paintOver() drawn on top.
  void paint();

  // The mouse came over `control` for the first time, and it has no hover
  // image yet: its window decodes the hover picture once and every control
  // of the window cuts its image from it (SkinControl::cutOverImage).
  static void CutOverImages(HWND control);

 protected:
  // One control per BUTTONPOS entry; the default creates nothing. Returns the
  // control's window, by which control(key) finds it later.
  virtual HWND createControl(int ordinal, int key, const SkinPosition& position,
                             const SkinStatePictures& pictures);
  // Whether a press on the window's own surface at `client` drags the window.
  virtual bool dragsAt(POINT client) const;
  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void onDestroyed() {}
  // What the window draws over its background (texts the program writes).
  virtual void paintOver(HDC) {}
  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The skin again, at the scale now current: the controls are made anew
  // (createControl), what the window keeps of its own stays.
  void reloadSkin();

  bool dragByFreeSpot_ = true;  // pop-ups only: pages inside a window pass presses on

 private:
  static LRESULT CALLBACK staticProc(HWND, UINT, WPARAM, LPARAM);
  void loadSkin();
  void nameControls();
  HWND hwnd_ = nullptr;
  SkinSource source_;
  LoadedSkin skin_;
  struct PlacedControl {
    SkinPosition position;
    HWND window = nullptr;
  };
  std::map<int, PlacedControl> placed_;
};
