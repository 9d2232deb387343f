#include "SkinDialog_win.h"

#include "SkinHelp_win.h"
#include "SkinPictures_win.h"

INT_PTR SkinDialog::runModal(const SkinSource& source, const char* title, HWND owner) {
  result_ = IDCANCEL;
  if (!create(source, title, owner, false)) return IDCANCEL;
  balloon_.create(hwnd());
  onInit();
  placeWindow(owner);
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());

  running_ = true;
  MSG msg;
  while (running_ && hwnd()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));  // the outer loop ends too
      break;
    }
    if (got < 0) break;
    BalloonTip::RelayAll(msg);
    if (preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  running_ = false;
  // The owner is enabled and active again before this window goes: when the
  // system picks the next active window itself, it may pick none of ours.
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  if (owner && IsWindowEnabled(owner)) SetActiveWindow(owner);
  balloon_.hide();
  if (hwnd()) DestroyWindow(hwnd());
  return result_;
}

void SkinDialog::end(INT_PTR result) {
  result_ = result;
  running_ = false;
  PostMessageA(hwnd(), WM_NULL, 0, 0);  // wakes the loop
}

void SkinDialog::onCommand(int, int, HWND) {}

void SkinDialog::placeWindow(HWND owner) {
  RECT area;
  if (owner) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  const SIZE size = skin().size;
  const LONG left = (area.left + area.right - size.cx) / 2, top = (area.top + area.bottom - size.cy) / 2;
  const RECT kept = KeepOnWorkArea({left, top, left + size.cx, top + size.cy});
  SetWindowPos(hwnd(), nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SkinDialog::preTranslate(MSG& msg) {
  return TranslateFocusKey(hwnd(), msg,
                           {okKey_ ? control(okKey_) : nullptr, cancelKey_ ? control(cancelKey_) : nullptr});
}

LRESULT SkinDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // Controls that take their own notifications get them first.
      LRESULT reflected = 0;
      if (lParam && ReflectToControl(hwnd(), message, wParam, lParam, reflected)) return reflected;
      onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    }
    case WM_CLOSE:
      end(IDCANCEL);
      return 0;
  }
  return SkinWindow::onMessage(message, wParam, lParam);
}

bool SkinPage::createPage(const SkinSource& source, HWND parent, POINT at) {
  if (!create(source, "", parent, true)) return false;
  balloon_.create(GetAncestor(parent, GA_ROOT));
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void SkinPage::onCommand(int, int, HWND) {}

LRESULT SkinPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    LRESULT reflected = 0;
    if (lParam && ReflectToControl(hwnd(), message, wParam, lParam, reflected)) return reflected;
    onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return 0;
  }
  return SkinWindow::onMessage(message, wParam, lParam);
}
