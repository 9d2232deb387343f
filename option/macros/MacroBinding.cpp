#include "MacroBinding.h"

#include <algorithm>
#include <cstring>

#include "MacroNameRules.h"

namespace {

void bindMacro(KeyAssignment& key, const MacroRecord& macro) {
  // The key is matched to the library by this name later: it must be the
  // trimmed name that the lookup compares with.
  setBoundedText(key.macroName, trimBlanks(boundedText(macro.name)));
  key.reserved0 = 0;
  key.stepCount = uint16_t(std::clamp(macro.stepCount, 0, kMaxMacroSteps));
  std::copy(macro.steps, macro.steps + kMaxMacroSteps, key.steps);
  key.functionCode = kFunctionRecordedMacro;
}

void bindTextMacro(KeyAssignment& key, const TextMacroRecord& text) {
  setBoundedText(key.textMacroName, trimBlanks(boundedText(text.name)));
  setBoundedText(key.textMacroText, boundedText(text.text));
  key.textDelayMs = text.delayMs;
  key.keyBefore = text.keyBefore;
  key.keyAfter = text.keyAfter;
  key.functionCode = kFunctionTextMacro;
}

bool hasName(const char* name) { return name[0] != '\0'; }

// The library hands its names to the keys as they stand, but matches keys
// against its names trimmed: a name with outer blanks (from an older file),
// or longer than a key's copy can hold, would lose its keys on the next pass.
template <typename Library, typename KeyName, typename Same>
bool fitNames(Library& library, SettingsImage& image, int32_t functionCode, KeyName keyName, Same same) {
  const size_t limit = sizeof(decltype(keyName(image.profiles[0].keys[0]))) - 1;
  const size_t count = library.size();
  std::vector<std::string> before, after;
  for (const auto& record : library) before.emplace_back(trimBlanks(boundedText(record.name)));
  after = before;
  // Names that fit keep them; the others take the first free cut after all
  // that come before them and every name that fits.
  auto taken = [&](const std::string& name, size_t self) {
    for (size_t j = 0; j < count; ++j)
      if (j != self && (j < self || before[j].size() <= limit) && sameName(after[j], name)) return true;
    return false;
  };
  for (size_t i = 0; i < count; ++i) {
    if (before[i].size() <= limit) continue;
    for (int n = 1; n <= kMaxFreeNameTries; ++n) {
      const std::string name = numberedName(before[i], n, limit);
      if (taken(name, i)) continue;
      after[i] = name;
      break;
    }
  }
  bool changed = false, renamed = false;
  for (size_t i = 0; i < count; ++i) {
    changed = changed || boundedText(library[i].name) != after[i];
    renamed = renamed || after[i] != before[i];
    setBoundedText(library[i].name, after[i]);
  }
  if (!renamed) return changed;
  for (ProfileRecord& profile : image.profiles)
    for (KeyAssignment& key : profile.keys) {
      auto& field = keyName(key);
      if (key.functionCode != functionCode || field[0] == '\0') continue;
      const std::string_view held = trimBlanks(boundedText(field));
      int target = -1;
      bool targetSame = false;
      for (size_t i = 0; i < count; ++i) {
        if (!sameName(trimBlanks(std::string_view(before[i]).substr(0, limit)), held)) continue;
        const bool isSame = same(library[i], key);
        if (target < 0 || isSame || !targetSame) {
          target = int(i);
          targetSame = targetSame || isSame;
        }
      }
      if (target >= 0 && after[size_t(target)] != held) setBoundedText(field, after[size_t(target)]);
    }
  return true;
}

}  // namespace

std::vector<std::string> macroPickerLines(const MacroLibrary& macros, const TextMacroLibrary& texts) {
  std::vector<std::string> lines = namesOf(macros);
  for (std::string& name : namesOf(texts)) lines.push_back(std::move(name));
  return lines;
}

int selectPickerLine(KeyAssignment& key, const MacroLibrary& macros, const TextMacroLibrary& texts) {
  int line = -1;
  if (key.functionCode == kFunctionRecordedMacro && hasName(key.macroName)) {
    const MacroMatch m = findMacro(macros, key);
    if (m.found) line = m.position;
  } else if (key.functionCode == kFunctionTextMacro && hasName(key.textMacroName)) {
    const MacroMatch m = findTextMacro(texts, key);
    if (m.found) line = int(macros.size()) + m.position;
  }
  if (line < 0) {
    key.macroListIndex = -1;
    return -1;
  }
  bindPickerLine(key, line, macros, texts);
  return line;
}

bool bindPickerLine(KeyAssignment& key, int line, const MacroLibrary& macros, const TextMacroLibrary& texts) {
  const int macroCount = int(macros.size());
  if (line < 0 || line >= macroCount + int(texts.size())) return false;
  if (line < macroCount)
    bindMacro(key, macros[size_t(line)]);
  else
    bindTextMacro(key, texts[size_t(line - macroCount)]);
  key.macroListIndex = line;
  return true;
}

void refreshFromLibraries(KeyAssignment& key, int keyIndex, const MacroLibrary& macros,
                          const TextMacroLibrary& texts, const LibraryRenames& renames) {
  const bool bound = (key.functionCode == kFunctionRecordedMacro && hasName(key.macroName)) ||
                     (key.functionCode == kFunctionTextMacro && hasName(key.textMacroName));
  if (!bound) return;
  if (!renameBoundKey(renames, key) && selectPickerLine(key, macros, texts) >= 0) return;
  buildDefaultKey(key, keyIndex);
  key.functionCode = kFunctionDefault;
}

bool fitMacroNames(MacroLibrary& macros, SettingsImage& image) {
  return fitNames(
      macros, image, kFunctionRecordedMacro, [](KeyAssignment& key) -> auto& { return key.macroName; },
      [](const MacroRecord& macro, const KeyAssignment& key) {
        return macro.stepCount == key.stepCount &&
               std::equal(macro.steps, macro.steps + std::clamp(macro.stepCount, 0, kMaxMacroSteps), key.steps);
      });
}

bool fitTextMacroNames(TextMacroLibrary& texts, SettingsImage& image) {
  return fitNames(
      texts, image, kFunctionTextMacro, [](KeyAssignment& key) -> auto& { return key.textMacroName; },
      [](const TextMacroRecord& text, const KeyAssignment& key) {
        return text.keyBefore == key.keyBefore && text.keyAfter == key.keyAfter && text.delayMs == key.textDelayMs &&
               boundedText(text.text) == boundedText(key.textMacroText);
      });
}

void closeMacroManager(ManagerClose how, MacroLibrary& macros, const MacroLibrary& atOpen,
                       const RenameMap& renames, SettingsImage& image) {
  if (how == ManagerClose::Cancel) {
    macros = atOpen;
    return;
  }
  renameBoundMacros(renames, image);
  fitMacroNames(macros, image);
  applyMacroLibrary(macros, image);
  // Keys that lost their macro no longer count against the macro keys'
  // limit; a stale count would refuse macros the keyboard has room for.
  for (ProfileRecord& profile : image.profiles) profile.totalMacro = countMacroKeys(profile);
}

void closeTextMacroManager(ManagerClose how, TextMacroLibrary& texts, const TextMacroLibrary& atOpen,
                           const RenameMap& renames, SettingsImage& image) {
  if (how == ManagerClose::Cancel) {
    texts = atOpen;
    return;
  }
  renameBoundTextMacros(renames, image);
  fitTextMacroNames(texts, image);
  applyTextMacroLibrary(texts, image);
}
