#pragma once
// What the key assignment page does with one key's entry: its two menus, which
// controls are enabled, the clamping of its two number edits and the checks of
// OK. The page window only turns messages into these calls and repaints.

#include <cstdint>
#include <string_view>
#include <vector>

#include "SettingsImage.h"

// The page's private copy of the edited key; keyIndex names the key.
using EditEntry = KeyAssignment;

// Menu commands of the category selector; any other command of the range
// gives category 2.
constexpr unsigned kCategoryCommandFirst = 2001;
constexpr unsigned kCategoryCommandLast = 2100;
// Menu commands of the play mode selector, 3001..3004 for modes 0..3.
constexpr unsigned kPlayModeCommandFirst = 3001;
constexpr unsigned kPlayModeCommandLast = 3005;  // also gives mode 0

constexpr int kPlayCountMaxChars = 3;
constexpr int kRepeatDelayMaxChars = 4;
constexpr int kPlayCountMin = 1;
constexpr int kPlayCountMax = 999;
constexpr int kRepeatDelayMin = 0;
constexpr int kRepeatDelayMax = 9999;

// One menu line; a separator has command 0. Category lines carry the
// language library's text id, play mode lines their own text.
struct KeyMenuEntry {
  unsigned command = 0;
  int textId = 0;
  const char* text = nullptr;
  bool separator() const { return command == 0; }
};

// The keyboard holds 35 macro buffers per profile, one for each key with a
// combination or a recorded macro (function code 2 or 3); the download drops
// the assignment of every key after the 35th. Counted from the keys, not from
// a stored count that a file or an older run may have left wrong.
bool UsesMacroBuffer(uint8_t functionCode);
// Whether key `keyIndex` of the profile may hold a combination or a recorded
// macro: it holds one already, or the other keys leave a buffer free.
bool MacroBufferFor(const ProfileRecord& profile, int keyIndex);
// Every profile's totalMacro counted again from its keys.
void RecountMacroKeys(SettingsImage& image);

// The combination line is offered while a macro buffer is free for the key.
// The macro line always is: a text macro takes no buffer, and the macro page
// refuses recorded macros when none is free.
std::vector<KeyMenuEntry> CategoryMenu(bool macroBufferFree);
std::vector<KeyMenuEntry> PlayModeMenu();

uint8_t CategoryFromCommand(unsigned command);
int PlayModeFromCommand(unsigned command);
const char* PlayModeText(int playMode);

// The category selector's label and the sub-page shown for a category.
enum class KeySubPage { Default, KeyboardKey, Media, Macro, Launch, Shortcut };
struct CategoryView {
  KeySubPage page;
  int labelId;
};
CategoryView ViewOfCategory(uint8_t category);

struct KeyControlStates {
  bool playModeSelector = false;
  bool playCount = false;
  bool repeatDelay = false;
  bool trigger = false;  // both trigger buttons
  bool operator==(const KeyControlStates&) const = default;
};
// Run after every category or mode change. Categories without play settings
// also reset playMode, playCount and repeatDelayMs to 0.
KeyControlStates ApplyEnablingRules(EditEntry& entry);

// A category menu command: sets category (and the fixed function code of the
// default and disabled categories), then runs the enabling rules.
KeyControlStates ChooseCategory(EditEntry& entry, unsigned command);
KeyControlStates ChoosePlayMode(EditEntry& entry, unsigned command);

// Trigger buttons: skin positions 5 (mode 0) and 6 (mode 1).
constexpr int kTriggerFirstPosition = 5;
void ChooseTrigger(EditEntry& entry, int position);
int HighlightedTriggerPosition(const EditEntry& entry);  // 0: none

// The count edit after each change: an empty text is left alone; otherwise
// the value is stored, and rewritten as "%d" when clamping changed it.
struct CountEditResult {
  bool store = false;
  int value = 0;
  bool rewrite = false;
};
CountEditResult CheckPlayCountWhileTyping(std::string_view text);

// On OK; empty or unreadable texts parse as 0 before clamping.
int ParsePlayCount(std::string_view text);
int ParseRepeatDelay(std::string_view text);

struct ConfirmResult {
  bool fellBack = false;  // the entry became the default key
  bool standardKeyWritten = false;
};
// OK: clamps the two edits into the entry, validates it by category (an
// incomplete one falls back to category 1, function code 64) and writes a
// single captured key into the profile's standardKey at the edited key.
// Incomplete too: a recorded macro whose steps are not a recording (cleared
// by another category's page), and a combination or recorded macro for which
// the profile has no macro buffer left.
ConfirmResult ConfirmEntry(EditEntry& entry, std::string_view countText, std::string_view delayText,
                           ProfileRecord& profile);
// Why OK cannot take the entry as it stands, for the user to read (the page
// stays open and the key as it was); null when it can.
const char* IncompleteEntryReason(const EditEntry& entry, const ProfileRecord& profile);
