#pragma once
// A plain top-level window that records what the colour dialog's controls
// send and post to it.

#include <windows.h>

#include <vector>

#include "ColorPicker_win.h"
#include "LightingMessages.h"

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  PickerSync sync;  // a copy: the record lives only while it is sent
};

class TestParent {
 public:
  TestParent() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "LightingTestParent";
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      registered = RegisterClassA(&wc) != 0;
    }
    hwnd = CreateWindowExA(0, "LightingTestParent", "Lighting test", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400,
                           nullptr, nullptr, GetModuleHandleA(nullptr), this);
  }
  ~TestParent() { DestroyWindow(hwnd); }
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;

  std::vector<Received> of(UINT message) const {
    std::vector<Received> found;
    for (const Received& r : received)
      if (r.message == message) found.push_back(r);
    return found;
  }

  HWND hwnd = nullptr;
  std::vector<Received> received;

 private:
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self &&
        (message == MSG_PICKER_SYNC || message == MSG_PICKER_COLOR || message == MSG_NUMBER_CHANGED)) {
      Received r{message, wParam, lParam, {}};
      if (message == MSG_PICKER_SYNC && lParam) r.sync = *reinterpret_cast<const PickerSync*>(lParam);
      self->received.push_back(r);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }
};

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// One parent for every test: Wine takes two seconds to destroy a shown
// top-level window. Tests destroy their controls and clear what it received.
inline TestParent& SharedParent() {
  static TestParent parent;
  return parent;
}

inline void DestroyChildren(TestParent& parent) {
  while (HWND child = GetWindow(parent.hwnd, GW_CHILD)) DestroyWindow(child);
  PumpMessages();  // what the controls posted last belongs to the test that ends
  parent.received.clear();
}

inline SkinPosition PositionAt(int left, int top, int width, int height) {
  SkinPosition p;
  p.rect = {left, top, left + width, top + height};
  return p;
}
