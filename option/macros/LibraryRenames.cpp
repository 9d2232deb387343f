#include "LibraryRenames.h"

#include <algorithm>
#include <cstring>

#include "MacroNameRules.h"

namespace {

// True when the field's record was deleted; the field is left as it is then.
template <size_t N>
bool renameField(const RenameMap& renames, char (&field)[N]) {
  const Rename* rename = renameOf(renames, std::string_view(field, strnlen(field, N)));
  if (!rename) return false;
  if (rename->deleted()) return true;
  std::memset(field, 0, N);
  std::memcpy(field, rename->to.data(), std::min(rename->to.size(), N - 1));
  return false;
}

template <typename Field>
void renameBoundKeys(const RenameMap& renames, SettingsImage& image, int32_t functionCode, Field field) {
  if (renames.empty()) return;
  for (int p = 0; p < kProfileCount; ++p)
    for (int k = 0; k < kKeyCount; ++k) {
      KeyAssignment& key = image.profiles[p].keys[k];
      if (key.functionCode == functionCode && renameField(renames, field(key))) makeDefaultKey(image, p, k);
    }
}

}  // namespace

NameTrail::NameTrail(const std::vector<std::string>& namesAtOpen)
    : original_(namesAtOpen.begin(), namesAtOpen.end()) {}

void NameTrail::appended() { original_.emplace_back(); }

void NameTrail::removed(int index) {
  if (index < 0 || size_t(index) >= original_.size()) return;
  if (original_[size_t(index)]) deleted_.push_back(*original_[size_t(index)]);
  original_.erase(original_.begin() + index);
}

RenameMap NameTrail::renames(const std::vector<std::string>& namesNow) const {
  RenameMap map;
  for (const std::string& name : deleted_) {
    const bool stillThere = std::any_of(original_.begin(), original_.end(), [&](const auto& original) {
      return original && sameName(*original, name);
    });
    if (!stillThere && !renameOf(map, name)) map.push_back({name, {}});
  }
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
  renameBoundKeys(renames, image, kFunctionRecordedMacro, [](KeyAssignment& key) -> auto& { return key.macroName; });
}

void renameBoundTextMacros(const RenameMap& renames, SettingsImage& image) {
  renameBoundKeys(renames, image, kFunctionTextMacro, [](KeyAssignment& key) -> auto& { return key.textMacroName; });
}

bool renameBoundKey(const LibraryRenames& renames, KeyAssignment& key) {
  if (key.functionCode == kFunctionRecordedMacro) return renameField(renames.macros, key.macroName);
  if (key.functionCode == kFunctionTextMacro) return renameField(renames.texts, key.textMacroName);
  return false;
}
