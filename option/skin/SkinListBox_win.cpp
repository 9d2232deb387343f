#include "SkinListBox_win.h"

#include <windowsx.h>

#include "SkinMessages.h"
#include "SkinPictures_win.h"

SkinListBox* SkinListBox::Create(HWND parent, int id, const SkinPosition& position) {
  const SkinRect& r = position.rect;
  HWND window = CreateWindowExA(0, "LISTBOX", position.text,
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_OWNERDRAWFIXED |
                                    LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                r.left, r.top, r.width(), r.height(), parent,
                                reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  auto* list = new SkinListBox;
  if (!list->attach(window)) {
    delete list;
    DestroyWindow(window);
    return nullptr;
  }
  list->background_ = GetSysColor(COLOR_WINDOW);
  list->selection_ = GetSysColor(COLOR_HIGHLIGHT);
  list->text_ = GetSysColor(COLOR_WINDOWTEXT);
  list->selectedText_ = GetSysColor(COLOR_HIGHLIGHTTEXT);
  list->font_.reset(CreateFontA(DpiScale(16), 0, 0, 0, FW_LIGHT, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                "play"));
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(list->font_.get()), FALSE);
  // Measured before we were attached: set the fixed line height ourselves.
  list->setLineHeight(list->lineHeight_);
  return list;
}

void SkinListBox::setColors(COLORREF background, COLORREF selection) {
  background_ = background;
  selection_ = selection;
  backgroundBrush_.reset(CreateSolidBrush(background));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void SkinListBox::setTextColors(COLORREF text, COLORREF selectedText) {
  text_ = text;
  selectedText_ = selectedText;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void SkinListBox::setLineHeight(int height) {
  lineHeight_ = height;
  SendMessageA(hwnd(), LB_SETITEMHEIGHT, 0, MAKELPARAM(DpiScale(height), 0));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void SkinListBox::setPictureSlot(int width, int height) {
  slotWidth_ = width;
  slotHeight_ = height;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

SkinListBox* SkinListBox::CreateOnPage(HWND parent, int id, const SkinPosition& position, int identifier,
                                       COLORREF background, COLORREF selection, COLORREF text,
                                       int lineHeight) {
  SkinListBox* list = Create(parent, id, position);
  if (!list) return nullptr;
  list->setKeepParent(true);
  list->setIdentifier(identifier);
  list->setColors(background, selection);
  list->setTextColors(text, RGB(255, 255, 255));  // white on the selection: seen at a glance
  if (lineHeight > 0) list->setLineHeight(lineHeight);
  return list;
}

int SkinListBox::addLine(const std::string& text, unsigned itemData) {
  return insertLine(-1, text, itemData);
}

int SkinListBox::insertLine(int index, const std::string& text, unsigned itemData) {
  LRESULT at = SendMessageA(hwnd(), LB_INSERTSTRING, WPARAM(index), reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) return -1;
  SendMessageA(hwnd(), LB_SETITEMDATA, WPARAM(at), LPARAM(itemData));
  return int(at);
}

int SkinListBox::count() const { return int(SendMessageA(hwnd(), LB_GETCOUNT, 0, 0)); }

int SkinListBox::selected() const { return int(SendMessageA(hwnd(), LB_GETCURSEL, 0, 0)); }

void SkinListBox::selectLine(int index) {
  SendMessageA(hwnd(), LB_SETCURSEL, WPARAM(index), 0);
  if (HWND parent = GetParent(hwnd()))
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd()));
}

std::string SkinListBox::lineText(int index) const {
  LRESULT length = SendMessageA(hwnd(), LB_GETTEXTLEN, WPARAM(index), 0);
  if (length < 0) return {};
  std::string text(size_t(length) + 1, '\0');
  SendMessageA(hwnd(), LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(size_t(length));
  return text;
}

unsigned SkinListBox::lineData(int index) const {
  LRESULT data = SendMessageA(hwnd(), LB_GETITEMDATA, WPARAM(index), 0);
  return data == LB_ERR ? 0 : unsigned(data);
}

HBITMAP SkinListBox::picture(unsigned id) {
  auto found = pictures_.find(id);
  if (found != pictures_.end()) return found->second.get();
  // Black is transparent: scaled without colours in between.
  pictures_[id] =
      LoadSkinResourcePicture(int(id), PictureFilter::Nearest);  // a missing one is remembered too
  return pictures_[id].get();
}

void SkinListBox::draw(const DRAWITEMSTRUCT& item) {
  if (int(item.itemID) < 0) return;  // an empty list showing its focus
  HDC dc = item.hDC;
  RECT line = item.rcItem;
  unsigned data = unsigned(item.itemData);
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  bool disabled = (item.itemState & ODS_DISABLED) || !IsWindowEnabled(hwnd());

  UniqueBrush background(CreateSolidBrush(background_));
  FillRect(dc, &line, background.get());
  RECT textArea = line;
  if (ListPictureId(data) != 0) textArea.left = line.left + DpiScale(slotWidth_);
  if (selected) {
    UniqueBrush fill(CreateSolidBrush(selection_));
    FillRect(dc, &textArea, fill.get());
  }
  if (ListDrawsPicture(data)) {
    if (HBITMAP bitmap = picture(ListPictureId(data))) {
      BITMAP info{};
      GetObject(bitmap, sizeof info, &info);
      UniqueMemoryDc source(CreateCompatibleDC(dc));
      HGDIOBJ old = SelectObject(source.get(), bitmap);
      TransparentBlt(dc, line.left + DpiScale(5), line.top + DpiScale(2), info.bmWidth, info.bmHeight,
                     source.get(), 0, 0, info.bmWidth, info.bmHeight, RGB(0, 0, 0));
      SelectObject(source.get(), old);
    }
  }
  std::string text = lineText(int(item.itemID));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, disabled   ? GetSysColor(COLOR_BTNSHADOW)
                                        : selected ? selectedText_
                                                   : text_);
  HGDIOBJ oldFont = SelectObject(dc, font_.get());
  RECT box = line;
  box.left = ListTextLeft(line.left, data, DpiScale(slotWidth_));
  DrawTextA(dc, text.c_str(), int(text.size()), &box,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

int SkinListBox::lineAt(LPARAM clientPoint) const {
  LRESULT hit = SendMessageA(hwnd(), LB_ITEMFROMPOINT, 0, clientPoint);
  if (HIWORD(hit)) return -1;  // outside all lines
  int index = LOWORD(hit);
  return index < count() ? index : -1;
}

void SkinListBox::repaintLine(int index) {
  RECT r;
  if (index >= 0 &&
      SendMessageA(hwnd(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(hwnd(), &r, FALSE);
}

void SkinListBox::trackHover(LPARAM lParam) {
  if (!leavePending_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    leavePending_ = TrackMouseEvent(&track) != 0;
  }
  if (editor_) return;
  int now = lineAt(lParam);
  if (now == hover_) return;
  repaintLine(hover_);
  repaintLine(now);
  hover_ = now;
}

LRESULT SkinListBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_REFLECT_BASE + WM_DRAWITEM:
      draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case MSG_REFLECT_BASE + WM_CTLCOLORLISTBOX:
      if (!backgroundBrush_) backgroundBrush_.reset(CreateSolidBrush(background_));
      return reinterpret_cast<LRESULT>(backgroundBrush_.get());
    case WM_MOUSEMOVE:
      trackHover(lParam);
      break;
    case WM_MOUSELEAVE:
      leavePending_ = false;
      return 0;
    case WM_MOUSEWHEEL: {
      int lines = ListWheelLines(wheelPending_, GET_WHEEL_DELTA_WPARAM(wParam));
      if (lines) {
        int top = int(SendMessageA(hwnd(), LB_GETTOPINDEX, 0, 0));
        SendMessageA(hwnd(), LB_SETTOPINDEX, WPARAM(ListTopAfterWheel(top, lines, count())), 0);
      }
      return 0;
    }
    case WM_RBUTTONDOWN: {
      // The menu that follows acts on the selected line: it must be the one
      // the user pointed at.
      const int index = lineAt(lParam);
      if (index >= 0 && index != selected()) selectLine(index);
      if (HWND parent = GetParent(hwnd())) PostMessageA(parent, MSG_LIST_RCLICK, 0, identifier_);
      break;
    }
    case WM_COMMAND:
      if (editor_ && keptLength_ > 0 && reinterpret_cast<HWND>(lParam) == editorWindow()) {
        const bool cut = HIWORD(wParam) == EN_MAXTEXT ||
                         (HIWORD(wParam) == EN_CHANGE && GetWindowTextLengthA(editorWindow()) > keptLength_);
        if (HWND parent = GetParent(hwnd()); cut && parent)
          PostMessageA(parent, MSG_LIST_NAME_CUT, WPARAM(keptLength_), identifier_);
      }
      break;
    case WM_CONTEXTMENU:
      // Shift+F10 or the menu key: the menu of the selected line.
      if (lParam == -1) {
        if (HWND parent = GetParent(hwnd())) PostMessageA(parent, MSG_LIST_RCLICK, 1, identifier_);
        return 0;
      }
      break;
    case WM_LBUTTONDBLCLK: {
      LRESULT result = defaultProc(message, wParam, lParam);
      int index = lineAt(lParam);
      if (rename_ && !editor_ && index >= 0) openEditor(index, ListEditOrigin::DoubleClick);
      return result;
    }
    case WM_SETFOCUS:
      if (editor_) commitEdit();  // focus back in the list ends the edit as Enter would
      break;
    case WM_KILLFOCUS: {
      HWND to = reinterpret_cast<HWND>(wParam);
      if (keepParent_ || (editor_ && to == editorWindow())) break;
      HWND parent = GetParent(hwnd());
      if (!parent) break;
      // This destroys the list too: touch nothing of it afterwards.
      ShowWindow(parent, SW_HIDE);
      DestroyWindow(parent);
      return 0;
    }
  }
  return defaultProc(message, wParam, lParam);
}
