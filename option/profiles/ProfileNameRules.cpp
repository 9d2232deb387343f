#include "ProfileNameRules.h"

#include <cstdio>

#include "BoundedText.h"

namespace {
std::string defaultName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "Profile #%d", index + 1);
  return name;
}
}  // namespace

std::string profileNameFromField(std::string_view typed, CharacterLength length) {
  std::string line(typed);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  const std::string_view trimmed = trimBlanks(line);
  std::string name;
  for (size_t at = 0; at < trimmed.size();) {
    size_t bytes = length ? length(static_cast<unsigned char>(trimmed[at])) : 1;
    if (bytes < 1) bytes = 1;
    // A lead byte without its trail byte, or a character past the record's
    // room, ends the name.
    if (at + bytes > trimmed.size() || name.size() + bytes > kMaxProfileNameBytes) break;
    name.append(trimmed.substr(at, bytes));
    at += bytes;
  }
  return std::string(trimBlanks(name));
}

std::string shownProfileName(const ProfileRecord& profile, int index) {
  const std::string name = profileNameFromField(boundedText(profile.profileName));
  return name.empty() ? defaultName(index) : name;
}

bool renameProfile(ProfileRecord& profile, int index, std::string_view typed, CharacterLength length) {
  std::string name = profileNameFromField(typed, length);
  if (name.empty()) name = defaultName(index);
  if (boundedText(profile.profileName) == name) return false;
  setBoundedText(profile.profileName, name);
  return true;
}

std::string profileButtonHelp(const std::string& name) { return "Make \"" + name + "\" active"; }
