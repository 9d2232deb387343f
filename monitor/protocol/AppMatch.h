#pragma once
// The application watcher's rule: which profile a foreground program selects.

#include <string_view>

#include "SettingsImage.h"

namespace apps {

// The file name and extension of a path (the part after the last separator).
std::string_view fileNameOf(std::string_view path);
std::string_view trim(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// The Store applications' frame host, whose windows hold another process's window.
bool isFrameHost(std::string_view exeName);

// The highest profile that links the program file `exeName`, or -1.
int matchingProfile(const SettingsImage& image, std::string_view exeName);
// The profile to switch to, or -1 when none matches or it is already active.
int profileToSwitchTo(const SettingsImage& image, std::string_view exeName);

}  // namespace apps
