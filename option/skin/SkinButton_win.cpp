#include "SkinButton_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "SkinHelp_win.h"
#include "SkinMessages.h"
#include "SkinWindow_win.h"

SkinButton* SkinButton::Create(HWND parent, int id, const SkinPosition& position,
                               const SkinStatePictures& pictures, bool toggle) {
  const SkinRect& r = position.rect;
  // The position's text names the button for screen readers until a caption does.
  HWND window = CreateWindowExA(0, "BUTTON", position.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                r.left, r.top, r.width(), r.height(), parent,
                                reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  auto* button = new SkinButton;
  if (!button->attach(window)) {
    delete button;
    DestroyWindow(window);
    return nullptr;
  }
  button->setStateImages({r.left, r.top, r.right, r.bottom}, pictures);
  button->setTooltip(position.text);
  button->toggle_ = toggle;
  return button;
}

SkinButton* SkinButton::CreateResourceButton(HWND parent, int id, const char* position, int normalId,
                                             int overId, int downId, int disabledId, bool toggle) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  auto load = [&](int resource) {
    return static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  };
  HBITMAP normal = load(normalId), over = load(overId), down = load(downId), disabled = load(disabledId);
  BITMAP info{};
  if (normal) GetObject(normal, sizeof info, &info);
  SkinPosition parsed = ParseSkinPosition(position ? position : "");
  parsed.rect.right = parsed.rect.left + info.bmWidth;
  parsed.rect.bottom = parsed.rect.top + info.bmHeight;
  SkinButton* button = Create(parent, id, parsed, SkinStatePictures{}, toggle);
  if (!button) {
    for (HBITMAP b : {normal, over, down, disabled})
      if (b) DeleteObject(b);
    return nullptr;
  }
  button->setImages(normal, over, down, disabled);
  return button;
}

void SkinButton::setStateImages(const RECT& rect, const SkinStatePictures& pictures) {
  images_.cut(hwnd(), rect, pictures.normal, pictures.over, pictures.down, pictures.disabled);
  LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
  SetWindowLongPtrA(hwnd(), GWL_STYLE, (style & ~WS_BORDER) | WS_TABSTOP);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void SkinButton::setImages(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled) {
  images_.normal.reset(normal);
  images_.over.reset(over);
  images_.down.reset(down);
  images_.disabled.reset(disabled);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void SkinButton::setTooltip(const std::string& text) {
  help_ = text;
  if (caption_.empty() && GetWindowTextLengthA(hwnd()) == 0) NameControl(hwnd(), text);
  // The tooltip window is made when the mouse first comes: a page of a
  // hundred keys would otherwise make a hundred windows nobody may look at.
  if (tooltip_) addTool();
}

void SkinButton::addTool() {
  if (help_.empty()) return;
  if (!tooltip_) {
    tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                                   nullptr, GetModuleHandleA(nullptr), nullptr));
    if (!tooltip_) return;
  }
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = 1;
  GetClientRect(hwnd(), &tool.rect);
  tool.lpszText = const_cast<char*>(help_.c_str());
  SendMessageA(tooltip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tooltip_.get(), TTM_ACTIVATE, TRUE, 0);
}

void SkinButton::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  InvalidateRect(hwnd(), nullptr, FALSE);
  NotifyCheckChanged(hwnd());
}

void SkinButton::setCaption(const std::string& caption, int layout) {
  caption_ = caption;
  layout_ = layout;
  NameControl(hwnd(), caption);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void SkinButton::setTextColors(COLORREF rest, COLORREF hover, COLORREF pressed) {
  restColor_ = rest;
  hoverColor_ = hover;
  pressedColor_ = pressed;
}

void SkinButton::setHover(bool hover) {
  if (hover == hover_) return;
  if (hover && !images_.over) SkinWindow::CutOverImages(hwnd());
  hover_ = hover;
  notifyHover(hover);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void SkinButton::notifyHover(bool entered) {
  HWND parent = GetParent(hwnd());
  if (parent) PostMessageA(parent, MSG_CONTROL_HOVER, entered ? 1 : 0, tag_);
  SetQuickHelpText(entered ? help_ : std::string());
  PostShowHelp(hwnd(), entered ? 1 : 0);
}

void SkinButton::trackMouse() {
  if (hover_ || !BeginHover(hwnd())) return;
  if (!images_.over) SkinWindow::CutOverImages(hwnd());  // the first hover of its window
  hover_ = true;
  if (!tooltip_ && !help_.empty()) {
    addTool();
    // The tooltip watches the mouse from now on; tell it where it is.
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(hwnd(), &at);
    MSG move{hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y), DWORD(GetMessageTime()), {}};
    SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  }
  notifyHover(true);
  InvalidateRect(hwnd(), nullptr, FALSE);
}
