#include "AppMatch.h"

#include <cstring>

namespace apps {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view fileNameOf(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string_view::npos) return path.substr(slash + 1);
  if (path.size() >= 2 && path[1] == ':') return path.substr(2);  // "C:prog.exe"
  return path;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

bool isFrameHost(std::string_view exeName) {
  return equalsIgnoringCase(fileNameOf(trim(exeName)), "ApplicationFrameHost.exe");
}

int matchingProfile(const SettingsImage& image, std::string_view exeName) {
  exeName = trim(exeName);
  if (exeName.empty()) return -1;
  int match = -1;
  for (int p = 0; p < kProfileCount; ++p) {
    for (const auto& link : image.profiles[p].linkedApps) {
      // A full array without its zero is still read within bounds.
      const std::string_view path = trim(std::string_view(link, strnlen(link, sizeof link)));
      if (path.empty()) continue;
      if (equalsIgnoringCase(fileNameOf(path), exeName)) {
        match = p;
        break;
      }
    }
  }
  return match;
}

int profileToSwitchTo(const SettingsImage& image, std::string_view exeName) {
  const int p = matchingProfile(image, exeName);
  return p == image.currentProfile ? -1 : p;
}

}  // namespace apps
