#pragma once
// What the main window says about the keyboard picture: the hint line under
// it (what a click does on the page shown) and the legend beside it, which
// explains what the keys' colours mean there.

#include <string>
#include <vector>

#include "OptionRules.h"

std::string keyboardHint(KeyboardPictureMode mode);

// The legend: the skin's key function legend (`skinLegend`) where the keys
// show their functions; else a title and lines drawn over it.
struct KeyboardLegend {
  bool skinLegend = true;
  std::string title;
  std::vector<std::string> lines;
};
KeyboardLegend keyboardLegend(KeyboardPictureMode mode);
