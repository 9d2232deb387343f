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
template <typename Library>
void fitNames(Library& library, size_t keyNameLength) {
  for (auto& record : library) {
    const std::string name(trimBlanks(trimBlanks(boundedText(record.name)).substr(0, keyNameLength)));
    setBoundedText(record.name, name);
  }
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
  renameBoundKey(renames, key);
  if (selectPickerLine(key, macros, texts) >= 0) return;
  buildDefaultKey(key, keyIndex);
  key.functionCode = kFunctionDefault;
}

bool closeMacroManager(ManagerClose how, MacroLibrary& macros, const RenameMap& renames, SettingsImage& image,
                       const std::string& programFolder) {
  if (how == ManagerClose::Ok) {
    renameBoundMacros(renames, image);
    fitNames(macros, sizeof(KeyAssignment::macroName) - 1);
    const bool saved = saveList(macros, programFolder, kMacroLibraryFile);
    applyMacroLibrary(macros, image);
    // Keys that lost their macro no longer count against the macro keys'
    // limit; a stale count would refuse macros the keyboard has room for.
    for (ProfileRecord& profile : image.profiles) profile.totalMacro = countMacroKeys(profile);
    return saved;
  }
  clearList(macros);
  loadList(macros, programFolder, kMacroLibraryFile);
  return true;
}

bool closeTextMacroManager(ManagerClose how, TextMacroLibrary& texts, const RenameMap& renames,
                           SettingsImage& image, const std::string& programFolder) {
  if (how == ManagerClose::Ok) {
    renameBoundTextMacros(renames, image);
    fitNames(texts, sizeof(KeyAssignment::textMacroName) - 1);
    const bool saved = saveList(texts, programFolder, kTextMacroLibraryFile);
    applyTextMacroLibrary(texts, image);
    return saved;
  }
  clearList(texts);
  loadList(texts, programFolder, kTextMacroLibraryFile);
  return true;
}
