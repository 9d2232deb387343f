#pragma once
// What the media, shortcut and launch application sub-pages of the key
// assignment page write into the edited entry, and which of their lines or
// buttons they show chosen.

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "KeyPageRules.h"

// Media buttons 0..5 in skin order, with the consumer usage that the
// settings download sends for each code.
struct MediaCode {
  uint8_t functionCode;
  uint16_t consumerUsage;
};
constexpr MediaCode kMediaCodes[] = {
    {24, 0xE2},  // Mute
    {30, 0xCD},  // Play/Pause
    {29, 0xB5},  // Scan Next Track
    {28, 0xB6},  // Scan Previous Track
    {25, 0xE9},  // Volume Increment
    {26, 0xEA},  // Volume Decrement
};
constexpr int kMediaButtonCount = int(std::size(kMediaCodes));

// Shortcut button i sets function code kShortcutFirstCode + i.
constexpr uint8_t kShortcutFirstCode = 48;
constexpr int kShortcutButtonCount = 10;

// The button of a code, or -1 when the code is none of that page's.
int MediaButtonOf(uint8_t functionCode);
int ShortcutButtonOf(uint8_t functionCode);
// A click on button i; out-of-range buttons change nothing.
void ChooseMedia(EditEntry& entry, int button);
void ChooseShortcut(EditEntry& entry, int button);
// The button highlighted on refresh, or -1 for none.
int HighlightedMediaButton(const EditEntry& entry);
int HighlightedShortcutButton(const EditEntry& entry);

// The launch list shows each program path as its file name without folder
// and extension.
std::string LaunchLineText(std::string_view path);
// Selecting line `line` of the paths binds that program. A path that does not
// fit the entry is refused rather than cut to another program's path. With no
// line selected (-1, the list emptied by Delete) a launch binds no program,
// so that OK does not keep one the list no longer shows.
bool SelectLaunchLine(EditEntry& entry, const std::vector<std::string>& paths, int line);
// The line to select on refresh, or -1: only for a launch function; the line
// of the very same path first, else the first line whose text begins with the
// bound program's name (ignoring case), else the first line.
int LaunchLineOnRefresh(const EditEntry& entry, const std::vector<std::string>& paths);
