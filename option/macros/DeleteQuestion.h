#pragma once
// The words of the managers' delete warning: which macro goes, and what
// becomes of the keys that play it.

#include <string>
#include <string_view>

#include "SettingsImage.h"

// Keys of all five profiles that play the recorded macro (or, with
// `textMacro`, the text macro) of this name; names compare as the library's do.
int keysPlaying(const SettingsImage& image, std::string_view name, bool textMacro);
std::string deleteQuestion(std::string_view name, int keys);
