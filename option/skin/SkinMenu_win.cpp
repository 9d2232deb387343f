#include "SkinMenu_win.h"

#include <commctrl.h>

#include "SkinPictures_win.h"

namespace {
constexpr unsigned kItemMagic = 0x534B4D49;  // tells our items from anyone else's
constexpr UINT_PTR kOwnerSubclassId = 0x51A2;
constexpr int kTextIndent = 2;
constexpr int kMarkInset = 19;  // sub-menu arrow and check mark: right edge minus this

// A control's tooltip is top-most and would sit over the open menu.
void hideThreadTooltips() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && IsWindowVisible(window))
          SendMessageA(window, TTM_POP, 0, 0);
        return TRUE;
      },
      0);
}
}  // namespace

SkinMenu::SkinMenu(const char* face, int height, int weight)
    : face_(face ? face : "Play"), height_(height), weight_(weight) {
  menu_ = CreatePopupMenu();
  font_.reset(CreateFontA(DpiScale(height_), 0, 0, 0, weight_, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                          face_.c_str()));
}

SkinMenu::~SkinMenu() {
  // DestroyMenu takes the sub-menus along; they must not destroy theirs again.
  for (auto& sub : subMenus_) sub->menu_ = nullptr;
  if (menu_) DestroyMenu(menu_);
}

SkinMenu::Item& SkinMenu::addItem(unsigned command, const std::string& text, bool highlight, bool trademark) {
  Item& item = items_.emplace_back();
  item.magic = kItemMagic;
  item.menu = this;
  item.command = command;
  item.text = text;
  item.highlight = highlight;
  item.trademark = trademark;
  width_ = WidenMenu(width_, text.size(), leftMargin_, rightMargin_);
  return item;
}

bool SkinMenu::append(unsigned command, const std::string& text, bool highlight, bool trademark) {
  if (!menu_) return false;
  Item& item = addItem(command, text, highlight, trademark);
  item.separator = command == kMenuSeparatorCommand;
  UINT flags = MF_OWNERDRAW | (item.separator ? MF_SEPARATOR : MF_STRING);
  if (AppendMenuA(menu_, flags, command, reinterpret_cast<LPCSTR>(&item))) return true;
  items_.pop_back();
  return false;
}

SkinMenu* SkinMenu::appendSubMenu(const std::string& text, int minimumWidth, bool highlight) {
  if (!menu_) return nullptr;
  auto sub = std::make_unique<SkinMenu>(face_.c_str(), height_, weight_);
  if (!sub->menu_) return nullptr;
  sub->setMinimumWidth(minimumWidth);
  Item& item = addItem(0, text, highlight, false);
  item.subMenu = true;
  if (!AppendMenuA(menu_, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub->menu_),
                   reinterpret_cast<LPCSTR>(&item))) {
    items_.pop_back();
    return nullptr;
  }
  subMenus_.push_back(std::move(sub));
  return subMenus_.back().get();
}

void SkinMenu::setMinimumWidth(int width) {
  if (width > width_) width_ = width;
}

void SkinMenu::setMargins(int left, int right) {
  leftMargin_ = left;
  rightMargin_ = right;
}

bool SkinMenu::check(unsigned command, bool checked) {
  return CheckMenuItem(menu_, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) != DWORD(-1);
}

bool SkinMenu::track(HWND owner, int x, int y, UINT flags) {
  if (!menu_ || !owner) return false;
  // The owner window is asked to measure and draw the items; answer for it
  // while the menu is up, and give the window back untouched afterwards.
  if (!SetWindowSubclass(owner, ownerProc, kOwnerSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  hideThreadTooltips();
  BOOL shown = TrackPopupMenu(menu_, flags & ~TPM_RETURNCMD, x, y, 0, owner, nullptr);
  RemoveWindowSubclass(owner, ownerProc, kOwnerSubclassId);
  return shown != FALSE;
}

const SkinMenu::Item* SkinMenu::itemOf(ULONG_PTR data) {
  const auto* item = reinterpret_cast<const Item*>(data);
  return item && item->magic == kItemMagic ? item : nullptr;
}

LRESULT CALLBACK SkinMenu::ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR) {
  if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
    hideThreadTooltips();  // one that came up while the menu is open
  } else if (message == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (mis->CtlType == ODT_MENU && itemOf(mis->itemData)) {
      measure(*mis);
      return TRUE;
    }
  } else if (message == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (dis->CtlType == ODT_MENU && itemOf(dis->itemData)) {
      draw(*dis);
      return TRUE;
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void SkinMenu::measure(MEASUREITEMSTRUCT& mis) {
  const Item* item = itemOf(mis.itemData);
  // Separators measure as command 0; a sub-menu entry has no command of its
  // own and measures as any plain entry.
  unsigned command = item->separator ? kMenuSeparatorCommand
                     : item->subMenu ? kMenuSubMenuCommand
                                     : item->command;
  MenuItemSize size = MeasureMenuItem(command, item->menu->width_);
  mis.itemWidth = UINT(DpiScale(size.width));
  mis.itemHeight = UINT(DpiScale(size.height));
}

void SkinMenu::draw(const DRAWITEMSTRUCT& dis) {
  const Item* item = itemOf(dis.itemData);
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  if (item->separator) {
    UniqueBrush background(CreateSolidBrush(kBackground));
    FillRect(dc, &r, background.get());
    RECT line{r.left, (r.top + r.bottom) / 2, r.right, (r.top + r.bottom) / 2 + 1};
    UniqueBrush red(CreateSolidBrush(kSeparator));
    FillRect(dc, &line, red.get());
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    return;
  }
  bool selected = (dis.itemState & ODS_SELECTED) != 0;
  UniqueBrush fill(CreateSolidBrush(selected ? kSelectedBackground : kBackground));
  FillRect(dc, &r, fill.get());
  COLORREF colour = item->highlight ? kHighlightedText : selected ? kSelectedText : kText;

  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, colour);
  HGDIOBJ oldFont = SelectObject(dc, item->menu->font_.get());
  SIZE extent{};
  GetTextExtentPoint32A(dc, item->text.c_str(), int(item->text.size()), &extent);
  int x = r.left + DpiScale(kTextIndent);
  TextOutA(dc, x, r.top + (r.bottom - r.top - extent.cy) / 2, item->text.c_str(), int(item->text.size()));
  if (item->trademark) {
    UniqueFont small(CreateFontA(DpiScale(8), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                 "Eurostile"));
    SelectObject(dc, small.get());
    SIZE tm{};
    GetTextExtentPoint32A(dc, "TM", 2, &tm);
    TextOutA(dc, x + extent.cx, r.top + (r.bottom - r.top - tm.cy) / 2, "TM", 2);
    SelectObject(dc, item->menu->font_.get());
  }
  SelectObject(dc, oldFont);

  // The program's marks are drawn, not loaded: a right-pointing arrow for a
  // sub-menu, a tick for a checked entry, both at the right edge minus 19.
  int markX = r.right - DpiScale(kMarkInset), midY = (r.top + r.bottom) / 2;
  auto d = [](int length) { return DpiScale(length); };
  UniqueBrush markBrush(CreateSolidBrush(colour));
  UniqueGdiObject markPen(CreatePen(PS_SOLID, 1, colour));
  HGDIOBJ oldBrush = SelectObject(dc, markBrush.get());
  HGDIOBJ oldPen = SelectObject(dc, markPen.get());
  if (item->subMenu) {
    POINT arrow[] = {{markX + d(6), midY - d(4)}, {markX + d(10), midY}, {markX + d(6), midY + d(4)}};
    Polygon(dc, arrow, 3);
  } else if (dis.itemState & ODS_CHECKED) {
    POINT tick[] = {{markX + d(3), midY}, {markX + d(6), midY + d(3)}, {markX + d(12), midY - d(4)}};
    Polyline(dc, tick, 3);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}
