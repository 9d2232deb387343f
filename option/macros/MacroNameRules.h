#pragma once
// The library edits of both managers: naming (new lines, renames, the
// duplicate test), deletion, the repeat option of a macro, and the fields of
// a text macro with its key capture.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BoundedText.h"
#include "KeyCodes.h"
#include "ListFiles.h"
#include "NumberText.h"
#include "RecordingRules.h"

// What a new line of each name list shows until the user types a name.
constexpr std::string_view kNewMacroLineText = "Macro: ";
constexpr std::string_view kNewTextMacroLineText = "TMacro: ";
// A key keeps a copy of the name in 16 bytes; every name fits there.
constexpr size_t kMaxNameLength = 15;


// The name a committed line stands for: trimmed and cut to kMaxNameLength;
// nothing when no name is left or another entry (not `self`) has it.
std::optional<std::string> acceptName(const std::vector<std::string>& names, std::string_view typed,
                                      int self = -1);
std::vector<std::string> namesOf(const MacroLibrary& library);
std::vector<std::string> namesOf(const TextMacroLibrary& library);

// The line selected when the macro manager opens: the edited key's own macro
// when it carries one (a line with exactly its name, else the first line that
// begins with it), else the first line; -1 for an empty list.
int initialMacroLine(const std::vector<std::string>& names, const KeyAssignment& editedKey);

// The line selected once a line is gone: the same index, else the new last
// line; -1 when the list is empty.
int selectionAfterRemoval(int removed, int countAfter);

// Committing a new line. The new record is appended; nothing when the name is
// refused (the window then removes the line).
bool addMacro(MacroLibrary& library, std::string_view typed);
bool addTextMacro(TextMacroLibrary& library, std::string_view typed);
// Renaming entry `index`; false leaves the old name (the window shows it again).
bool renameMacro(MacroLibrary& library, int index, std::string_view typed);
bool renameTextMacro(TextMacroLibrary& library, int index, std::string_view typed);
// Removes entry `index` and gives the line to select next.
int deleteMacro(MacroLibrary& library, int index);
int deleteTextMacro(TextMacroLibrary& library, int index);

// The repeat option. A record says "on" with a count above 1; "off" is stored
// as 1 and a new record holds 0.
constexpr int kMinRepeatCount = 1;
constexpr int kMaxRepeatCount = 255;
constexpr int kRepeatEditLength = 3;
struct RepeatView {
  bool on = false;
  int count = kMinRepeatCount;  // what the count edit shows
};
RepeatView repeatViewOf(const MacroRecord& record);
int storedRepeatCount(bool on, int count);
ClampedNumber repeatCountFromEdit(std::string_view typed);

// Text macro fields.
constexpr int kMaxTextMacroDelayMs = 65535;
constexpr size_t kMaxTextMacroLength = 4000;
ClampedNumber textDelayFromEdit(std::string_view typed);
// The whole text of the edit, cut to what the editor allows.
void storeText(TextMacroRecord& record, std::string_view text);
std::string_view textOf(const TextMacroRecord& record);

// The key buttons of the text macro manager.
constexpr std::string_view kNoKeyText = "Click to record";
constexpr std::string_view kCapturingText = "Press a key";
std::string keyButtonText(uint8_t code, const KeyboardLayout& layout);

enum class MouseButton { Left, Right, Middle, X1, X2 };
uint8_t mouseButtonCode(MouseButton button);

// The first key pressed ends a capture. A release (of a key held when the
// capture began) and a key without a code do not.
std::optional<uint8_t> capturedKey(const HookEvent& event, const KeyboardLayout& layout);
