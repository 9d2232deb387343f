#include "LibraryRenames.h"

#include <algorithm>
#include <cstring>

#include "MacroNameRules.h"

namespace {

template <size_t N>
void renameField(const RenameMap& renames, char (&field)[N]) {
  const Rename* rename = renameOf(renames, std::string_view(field, strnlen(field, N)));
  if (!rename) return;
  std::memset(field, 0, N);
  std::memcpy(field, rename->to.data(), std::min(rename->to.size(), N - 1));
}

}  // namespace

NameTrail::NameTrail(const std::vector<std::string>& namesAtOpen)
    : original_(namesAtOpen.begin(), namesAtOpen.end()) {}

void NameTrail::appended() { original_.emplace_back(); }

void NameTrail::removed(int index) {
  if (index >= 0 && size_t(index) < original_.size()) original_.erase(original_.begin() + index);
}

RenameMap NameTrail::renames(const std::vector<std::string>& namesNow) const {
  RenameMap map;
  const size_t count = std::min(original_.size(), namesNow.size());
  for (size_t i = 0; i < count; ++i) {
    if (!original_[i]) continue;
    const std::string& from = *original_[i];
    bool laterHasName = false;
    for (size_t j = i + 1; j < count && !laterHasName; ++j)
      laterHasName = original_[j] && sameName(*original_[j], from);
    if (laterHasName || from == namesNow[i]) continue;
    map.push_back({from, namesNow[i]});
  }
  return map;
}

const Rename* renameOf(const RenameMap& renames, std::string_view name) {
  // Each key moves once, from the name it had: renames that swapped two names
  // must not be followed on into each other.
  for (const Rename& r : renames)
    if (sameName(r.from, name)) return &r;
  return nullptr;
}

void renameBoundMacros(const RenameMap& renames, SettingsImage& image) {
  if (renames.empty()) return;
  for (ProfileRecord& profile : image.profiles)
    for (KeyAssignment& key : profile.keys)
      if (key.functionCode == kFunctionRecordedMacro) renameField(renames, key.macroName);
}

void renameBoundTextMacros(const RenameMap& renames, SettingsImage& image) {
  if (renames.empty()) return;
  for (ProfileRecord& profile : image.profiles)
    for (KeyAssignment& key : profile.keys)
      if (key.functionCode == kFunctionTextMacro) renameField(renames, key.textMacroName);
}

void renameBoundKey(const LibraryRenames& renames, KeyAssignment& key) {
  if (key.functionCode == kFunctionRecordedMacro) renameField(renames.macros, key.macroName);
  if (key.functionCode == kFunctionTextMacro) renameField(renames.texts, key.textMacroName);
}
