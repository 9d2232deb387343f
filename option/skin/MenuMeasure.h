#pragma once
// Item sizes of the owner-drawn pop-up menus.

#include <cstddef>

constexpr unsigned kMenuSeparatorCommand = 0;
// Command 1 is a hidden placeholder: measured zero high.
constexpr unsigned kMenuHiddenCommand = 1;
// Stands for the entries that open a sub-menu: they carry no command.
constexpr unsigned kMenuSubMenuCommand = ~0u;
constexpr int kMenuItemHeight = 18;
constexpr int kMenuSeparatorHeight = 5;
constexpr int kMenuCharWidth = 8;

struct MenuItemSize {
  int width = 0;
  int height = 0;
};

MenuItemSize MeasureMenuItem(unsigned command, int menuWidth);
// The menu width after appending an item with a text of `textLength` characters.
int WidenMenu(int width, size_t textLength, int leftMargin, int rightMargin);
