#pragma once
// Base of the skinned windows: a picture background painted off-screen, an
// outline from the mask, dragging by any free spot, controls from the skin INI.

#include <windows.h>

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

  // Paints `background` 1:1 through an off-screen bitmap of the client's size.
  static void PaintBackground(HWND window, HBITMAP background);

 protected:
  // One control per BUTTONPOS entry; the default creates nothing.
  virtual void createControl(int ordinal, int key, const SkinPosition& position,
                             const SkinStatePictures& pictures);
  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void onDestroyed() {}
  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  bool dragByFreeSpot_ = true;  // pages inside the main window pass presses on

 private:
  static LRESULT CALLBACK staticProc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  SkinSource source_;
  LoadedSkin skin_;
};
