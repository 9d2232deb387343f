#include "BitmapEdit_win.h"

#include <string>

#include "SkinMessages.h"
#include "SkinPictures_win.h"

UINT BitmapEdit::KillFocusMessage() {
  static UINT message = RegisterWindowMessageA(kBitmapEditKillFocusName);
  return message;
}

BitmapEdit* BitmapEdit::Create(HWND parent, int id, const SkinPosition& position) {
  return Make(parent, id, position, ES_AUTOHSCROLL, false);
}

BitmapEdit* BitmapEdit::CreateMultiLine(HWND parent, int id, const SkinPosition& position) {
  return Make(parent, id, position, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, true);
}

BitmapEdit* BitmapEdit::Make(HWND parent, int id, const SkinPosition& position, DWORD style, bool multiLine) {
  const SkinRect& r = position.rect;
  HWND window =
      CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width(), r.height(),
                      parent, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  auto* edit = new BitmapEdit;
  edit->multiLine_ = multiLine;
  if (!edit->attach(window)) {
    delete edit;
    DestroyWindow(window);
    return nullptr;
  }
  KillFocusMessage();
  edit->applyFont();
  return edit;
}

void BitmapEdit::setColors(COLORREF text, COLORREF background) {
  text_ = text;
  background_ = background;
  brush_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void BitmapEdit::applyFont() {
  font_.reset(CreateFontA(DpiScale(14), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "play"));
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void BitmapEdit::onTextChanged() {
  if (refiltering_) return;
  if (filters_.any()) {
    int length = GetWindowTextLengthA(hwnd());
    std::string text(size_t(length) + 1, '\0');
    GetWindowTextA(hwnd(), text.data(), length + 1);
    text.resize(size_t(length));
    std::string kept = FilterEditText(filters_, text);
    if (kept != text) {
      DWORD caret = 0;
      SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
      refiltering_ = true;  // setting the text notifies again
      SetWindowTextA(hwnd(), kept.c_str());
      refiltering_ = false;
      DWORD at = caret > (text.size() - kept.size()) ? caret - DWORD(text.size() - kept.size()) : 0;
      SendMessageA(hwnd(), EM_SETSEL, at, at);
    }
  }
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  if (HWND parent = GetParent(hwnd())) PostMessageA(parent, KillFocusMessage(), 0, 0);
}

LRESULT BitmapEdit::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_REFLECT_BASE + WM_CTLCOLOREDIT:
    case MSG_REFLECT_BASE + WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (!brush_) brush_.reset(CreateSolidBrush(background_));
      SetTextColor(dc, text_);
      SetBkColor(dc, background_);
      return reinterpret_cast<LRESULT>(brush_.get());
    }
    case MSG_REFLECT_BASE + WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) onTextChanged();
      if (HIWORD(wParam) == EN_KILLFOCUS)
        if (HWND parent = GetParent(hwnd())) PostMessageA(parent, MSG_EDIT_DONE, 0, 0);
      return 0;  // the page still sees the notification
    case WM_KILLFOCUS:
      if (HWND parent = GetParent(hwnd())) PostMessageA(parent, MSG_EDIT_DONE, 0, 0);
      break;
    case WM_KEYDOWN:
      // A number field steps with the arrows.
      if ((wParam == VK_UP || wParam == VK_DOWN) && !multiLine_)
        if (HWND parent = GetParent(hwnd()); parent && SendMessageA(parent, MSG_EDIT_ARROW, wParam, 0) == 1)
          return 0;
      [[fallthrough]];
    case WM_CHAR:
      // A dialog must never close on these while the user types; in a text of
      // several lines Enter starts the next one.
      if (wParam == VK_ESCAPE || (wParam == VK_RETURN && !multiLine_)) return 0;
      break;
    case WM_GETDLGCODE:
      return defaultProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYUP:
      if (wParam == VK_RETURN) {
        if (HWND parent = GetParent(hwnd())) PostMessageA(parent, MSG_EDIT_DONE, 13, 0);
        return 0;
      }
      break;
    case WM_VSCROLL:
      defaultProc(message, wParam, lParam);
      InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
  }
  return defaultProc(message, wParam, lParam);
}
