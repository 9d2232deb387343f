#include "MenuMeasure.h"

#include <algorithm>

MenuItemSize MeasureMenuItem(unsigned command, int menuWidth) {
  if (command == kMenuSeparatorCommand) return {menuWidth, kMenuSeparatorHeight};
  if (command == kMenuHiddenCommand) return {menuWidth, 0};
  return {menuWidth, kMenuItemHeight + 2};
}

int WidenMenu(int width, size_t textLength, int leftMargin, int rightMargin) {
  // Texts are short labels; cap so a runaway string cannot overflow int.
  int length = int(std::min<size_t>(textLength, 4096));
  return std::max(width, kMenuCharWidth * length + leftMargin + rightMargin);
}
