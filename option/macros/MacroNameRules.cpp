#include "MacroNameRules.h"

#include <algorithm>
#include <cstring>

namespace {

template <typename Library>
std::vector<std::string> namesOfLibrary(const Library& library) {
  std::vector<std::string> names;
  for (const auto& record : library) names.emplace_back(boundedText(record.name));
  return names;
}

template <typename Library>
bool addRecord(Library& library, std::string_view typed) {
  const std::optional<std::string> name = acceptName(namesOf(library), typed);
  if (!name) return false;
  typename Library::value_type record{};
  setBoundedText(record.name, *name);
  library.push_back(record);
  return true;
}

template <typename Library>
bool renameRecord(Library& library, int index, std::string_view typed) {
  if (index < 0 || size_t(index) >= library.size()) return false;
  const std::optional<std::string> name = acceptName(namesOf(library), typed, index);
  if (!name) return false;
  setBoundedText(library[size_t(index)].name, *name);
  return true;
}

template <typename Library>
int deleteRecord(Library& library, int index) {
  if (index < 0 || size_t(index) >= library.size()) return library.empty() ? -1 : 0;
  library.erase(library.begin() + index);
  return selectionAfterRemoval(index, int(library.size()));
}

}  // namespace

std::optional<std::string> acceptName(const std::vector<std::string>& names, std::string_view typed,
                                      int self) {
  // A name is a C string in the record: nothing after a NUL would survive.
  typed = typed.substr(0, typed.find('\0'));
  // Cut first, then trim again: the cut may end on a blank.
  const std::string_view name = trimBlanks(trimBlanks(typed).substr(0, kMaxNameLength));
  // A name of blanks only could never be bound to a key.
  if (name.empty()) return std::nullopt;
  for (size_t i = 0; i < names.size(); ++i)
    if (int(i) != self && sameName(names[i], name)) return std::nullopt;
  return std::string(name);
}

std::vector<std::string> namesOf(const MacroLibrary& library) { return namesOfLibrary(library); }
std::vector<std::string> namesOf(const TextMacroLibrary& library) { return namesOfLibrary(library); }

int initialMacroLine(const std::vector<std::string>& names, const KeyAssignment& editedKey) {
  if (names.empty()) return -1;
  if (editedKey.functionCode != kFunctionRecordedMacro) return 0;
  const std::string_view keyName = boundedText(editedKey.macroName);
  // "Jump" must not select "Jumper" above it: an exact name comes first.
  for (size_t i = 0; i < names.size(); ++i)
    if (sameName(names[i], keyName)) return int(i);
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i].size() >= keyName.size() &&
        sameName(std::string_view(names[i]).substr(0, keyName.size()), keyName))
      return int(i);
  return 0;
}

int selectionAfterRemoval(int removed, int countAfter) {
  if (countAfter <= 0) return -1;
  return std::clamp(removed, 0, countAfter - 1);
}

bool addMacro(MacroLibrary& library, std::string_view typed) { return addRecord(library, typed); }
bool addTextMacro(TextMacroLibrary& library, std::string_view typed) { return addRecord(library, typed); }
bool renameMacro(MacroLibrary& library, int index, std::string_view typed) {
  return renameRecord(library, index, typed);
}
bool renameTextMacro(TextMacroLibrary& library, int index, std::string_view typed) {
  return renameRecord(library, index, typed);
}
int deleteMacro(MacroLibrary& library, int index) { return deleteRecord(library, index); }
int deleteTextMacro(TextMacroLibrary& library, int index) { return deleteRecord(library, index); }

RepeatView repeatViewOf(const MacroRecord& record) {
  // "Off" is stored as 1, so only a larger count means the option was on.
  return RepeatView{record.repeatCount > kMinRepeatCount,
                    std::clamp(record.repeatCount, kMinRepeatCount, kMaxRepeatCount)};
}

int storedRepeatCount(bool on, int count) {
  return on ? std::clamp(count, kMinRepeatCount, kMaxRepeatCount) : kMinRepeatCount;
}

ClampedNumber repeatCountFromEdit(std::string_view typed) {
  return clampTypedNumber(typed, kMinRepeatCount, kMaxRepeatCount);
}

ClampedNumber textDelayFromEdit(std::string_view typed) {
  return clampTypedNumber(typed, 0, kMaxTextMacroDelayMs);
}

void storeText(TextMacroRecord& record, std::string_view text) {
  setBoundedText(record.text, text.substr(0, kMaxTextMacroLength));
}

std::string_view textOf(const TextMacroRecord& record) { return boundedText(record.text); }

std::string keyButtonText(uint8_t code, const KeyboardLayout& layout) {
  return code == 0 ? std::string(kNoKeyText) : keyName(code, layout);
}

uint8_t mouseButtonCode(MouseButton button) {
  switch (button) {
    case MouseButton::Left:
      return kMouseLeft;
    case MouseButton::Right:
      return kMouseRight;
    case MouseButton::Middle:
      return kMouseMiddle;
    case MouseButton::X1:
      return kMouseButton4;
    case MouseButton::X2:
      return kMouseButton5;
  }
  return 0;
}

std::optional<uint8_t> capturedKey(const HookEvent& event, const KeyboardLayout& layout) {
  if (event.released) return std::nullopt;
  const KeyLookup usage = usageFromVirtualKey(event.virtualKey, layout);
  if (!usage.found || usage.value == 0 || usage.value > 0xFF) return std::nullopt;
  return uint8_t(usage.value);
}
