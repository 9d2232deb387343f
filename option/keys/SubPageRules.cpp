#include "SubPageRules.h"

#include <cctype>
#include <cstring>

namespace {

bool equalNoCase(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (!equalNoCase(text[i], prefix[i])) return false;
  return true;
}

bool sameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && startsWithNoCase(a, b);
}

std::string_view boundPath(const EditEntry& entry) {
  return std::string_view(entry.appPath, strnlen(entry.appPath, sizeof entry.appPath));
}

}  // namespace

int MediaButtonOf(uint8_t functionCode) {
  for (int i = 0; i < kMediaButtonCount; ++i)
    if (kMediaCodes[i].functionCode == functionCode) return i;
  return -1;
}

int ShortcutButtonOf(uint8_t functionCode) {
  const int button = int(functionCode) - kShortcutFirstCode;
  return button >= 0 && button < kShortcutButtonCount ? button : -1;
}

void ChooseMedia(EditEntry& entry, int button) {
  if (button >= 0 && button < kMediaButtonCount) entry.functionCode = kMediaCodes[button].functionCode;
}

void ChooseShortcut(EditEntry& entry, int button) {
  if (button >= 0 && button < kShortcutButtonCount) entry.functionCode = uint8_t(kShortcutFirstCode + button);
}

int HighlightedMediaButton(const EditEntry& entry) {
  return entry.category == kCategoryMedia ? MediaButtonOf(entry.functionCode) : -1;
}

int HighlightedShortcutButton(const EditEntry& entry) {
  return entry.category == kCategoryShortcut ? ShortcutButtonOf(entry.functionCode) : -1;
}

std::string LaunchLineText(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

bool SelectLaunchLine(EditEntry& entry, const std::vector<std::string>& paths, int line) {
  if (line < 0 && entry.functionCode == kFunctionLaunch) {
    std::memset(entry.appPath, 0, sizeof entry.appPath);
    return true;
  }
  if (line < 0 || size_t(line) >= paths.size()) return false;
  const std::string& path = paths[size_t(line)];
  if (path.empty() || path.size() >= sizeof entry.appPath) return false;
  entry.functionCode = kFunctionLaunch;
  std::memset(entry.appPath, 0, sizeof entry.appPath);
  std::memcpy(entry.appPath, path.data(), path.size());
  return true;
}

int LaunchLineOnRefresh(const EditEntry& entry, const std::vector<std::string>& paths) {
  if (entry.functionCode != kFunctionLaunch || paths.empty()) return -1;
  const std::string_view bound = boundPath(entry);
  for (size_t i = 0; i < paths.size(); ++i)
    if (sameNoCase(paths[i], bound)) return int(i);
  // A name that begins another one ("game" and "game2") must not pick the
  // longer one while the exact name is in the list.
  const std::string name = LaunchLineText(bound);
  for (size_t i = 0; i < paths.size(); ++i)
    if (sameNoCase(LaunchLineText(paths[i]), name)) return int(i);
  for (size_t i = 0; i < paths.size(); ++i)
    if (startsWithNoCase(LaunchLineText(paths[i]), name)) return int(i);
  return 0;
}
