#pragma once
// Keyboard rules of the skinned windows, kept apart from the windows: the
// order Tab walks the controls in, what a key does where the focus is, the
// steps arrows make on a slider and which item an arrow leads to on a
// picture of many items (the keys of the keyboard picture).

#include <cstddef>
#include <vector>

#include "SkinPosition.h"
#include "SliderMath.h"

// Virtual-key codes the rules know; the same numbers as the system's.
enum : unsigned {
  kKeyTab = 0x09,
  kKeyReturn = 0x0D,
  kKeyEscape = 0x1B,
  kKeySpace = 0x20,
  kKeyPageUp = 0x21,
  kKeyPageDown = 0x22,
  kKeyEnd = 0x23,
  kKeyHome = 0x24,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKeyF4 = 0x73,
};

// Indices of `rects` in reading order: rows from the top, each row from the
// left. A control joins a row while its top lies less than half the row's
// lowest control below the row's top, so that a tall page beside a row of
// buttons reads with that row, and the next row of buttons after it.
std::vector<size_t> ReadingOrder(const std::vector<SkinRect>& rects);

// The position Tab (or Shift+Tab) moves to among `count` stops, in a cycle;
// `current` -1 (the focus on none of them) starts at the first or the last.
// -1 when there is no stop.
int NextTabIndex(int count, int current, bool backwards);

// What a key pressed in a skinned window does.
enum class KeyAction { Pass, NextControl, PreviousControl, Press, Ok, Cancel, Close };
struct FocusContext {
  bool button = false;    // the focused control is a button
  bool wantsKey = false;  // it asked for this key itself (a line editor's Escape, a text's Enter)
};
// Tab always moves on, whatever the focused control wants; Escape cancels
// and Enter is OK unless the control takes them; Enter and Space press a
// focused button; Alt+F4 closes the window.
KeyAction DialogKeyAction(unsigned key, bool shift, bool alt, bool ctrl, const FocusContext& focus);

// The value an arrow (or Page Up/Down, Home, End) gives a slider at `value`;
// the value itself for any other key. Right and Up go up.
int SliderKeyValue(const SliderGeometry& g, int value, unsigned key);
// Whether the key moves a slider at all.
bool IsSliderKey(unsigned key);

// The item an arrow leads to from `from` among `items` (empty rectangles are
// no item): the nearest in that direction, its distance across the
// direction counting twice. From no item (-1) any arrow leads to the first in
// reading order. `from` itself when nothing lies that way; -1 when there is
// no item at all.
int NeighbourItem(const std::vector<SkinRect>& items, int from, unsigned arrow);
