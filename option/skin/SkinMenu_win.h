#pragma once
// A pop-up menu whose items the program draws in the skin colours. The owner
// builds it, tracks it once and destroys it; the owner window receives the
// chosen command as WM_COMMAND. Items are measured with MenuMeasure.

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "Handle_win.h"
#include "MenuMeasure.h"

class SkinMenu {
 public:
  static constexpr COLORREF kBackground = 0x121212;
  static constexpr COLORREF kSelectedBackground = 0x0000FF;
  static constexpr COLORREF kSeparator = 0x0000FF;
  static constexpr COLORREF kText = 0xF0F0F0;
  static constexpr COLORREF kSelectedText = 0xFFFFFF;
  static constexpr COLORREF kHighlightedText = 0xFFBF44;

  explicit SkinMenu(const char* face = "Play", int height = 14, int weight = FW_NORMAL);
  ~SkinMenu();  // destroys the system menu, its sub-menus and the font
  SkinMenu(const SkinMenu&) = delete;
  SkinMenu& operator=(const SkinMenu&) = delete;

  // A separator when `command` is kMenuSeparatorCommand, else a plain entry.
  bool append(unsigned command, const std::string& text, bool highlight = false, bool trademark = false);
  // An entry that opens a new sub-menu in the same font, owned by this menu.
  SkinMenu* appendSubMenu(const std::string& text, int minimumWidth = 0, bool highlight = false);
  void setMinimumWidth(int width);
  void setMargins(int left, int right);
  bool check(unsigned command, bool checked);

  // Modal; the chosen command reaches `owner` as WM_COMMAND. Returns false when
  // the menu could not be shown.
  bool track(HWND owner, int x, int y, UINT flags = TPM_LEFTALIGN | TPM_LEFTBUTTON);

  HMENU handle() const { return menu_; }
  HFONT font() const { return font_.get(); }
  int width() const { return width_; }

 private:
  struct Item {
    unsigned magic = 0;
    SkinMenu* menu = nullptr;  // the menu the item belongs to
    unsigned command = 0;
    std::string text;
    bool highlight = false;
    bool trademark = false;
    bool separator = false;
    bool subMenu = false;
  };
  static LRESULT CALLBACK ownerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static const Item* itemOf(ULONG_PTR data);
  static void measure(MEASUREITEMSTRUCT& item);
  static void draw(const DRAWITEMSTRUCT& item);
  Item& addItem(unsigned command, const std::string& text, bool highlight, bool trademark);

  HMENU menu_ = nullptr;
  UniqueFont font_;
  std::string face_;
  int height_ = 14, weight_ = FW_NORMAL;
  int width_ = 0, leftMargin_ = 0, rightMargin_ = 0;
  std::deque<Item> items_;  // stable addresses: each item's data points here
  std::vector<std::unique_ptr<SkinMenu>> subMenus_;
};
