#include "KeyPageRules.h"

#include <algorithm>
#include <iterator>

#include "SubPageRules.h"

namespace {

// Language library text of the default label; also shown for categories that
// this page never produces.
constexpr int kDefaultLabelId = 1076;
constexpr uint8_t kCategoryNotFromMenu = 2;
constexpr uint8_t kFirstCategoryBeyondMenu = 10;
// Numbers beyond any edit's reach; parsing stops growing there.
constexpr int kParseCeiling = 1000000;

struct CategoryRow {
  uint8_t category;
  int labelId;
  KeySubPage page;
};
constexpr CategoryRow kCategoryRows[] = {
    {kCategoryDefault, 1076, KeySubPage::Default},  {kCategoryCombination, 1078, KeySubPage::KeyboardKey},
    {kCategoryMedia, 1079, KeySubPage::Media},      {kCategoryMacro, 1080, KeySubPage::Macro},
    {kCategoryLaunch, 1081, KeySubPage::Launch},    {kCategoryShortcut, 1083, KeySubPage::Shortcut},
    {kCategoryDisabled, 1084, KeySubPage::Default},
};

const CategoryRow* rowOf(uint8_t category) {
  for (const CategoryRow& row : kCategoryRows)
    if (row.category == category) return &row;
  return nullptr;
}

unsigned commandOf(uint8_t category) { return kCategoryCommandFirst - 1 + category; }

constexpr const char* kPlayModeTexts[] = {"Play Once", "Play N Times", "Repeat While Pressed",
                                          "Toggle Auto-Repeat"};
constexpr int kPlayModeCount = int(std::size(kPlayModeTexts));

bool hasPlaySettings(uint8_t category) {
  return category == kCategoryCombination || category == kCategoryMacro;
}

// Categories the page never produces keep their play values untouched.
bool keepsPlayValues(uint8_t category) {
  return category == 0 || category == kCategoryNotFromMenu || category >= kFirstCategoryBeyondMenu;
}

// Every step the keyboard would play is a press or release of a key; steps
// whose key byte another page cleared would make it play nonsense.
bool isRecording(const EditEntry& entry) {
  if (entry.stepCount > kMaxMacroSteps) return false;
  for (int i = 0; i < entry.stepCount; ++i) {
    const MacroStep s = entry.steps[i];
    if (s.code() == 0 || (s.action() != kActionPress && s.action() != kActionRelease)) return false;
  }
  return true;
}

// A category whose sub-page was never completed may still carry the function
// code of the previous category; such an entry must not reach the keyboard.
bool isComplete(const EditEntry& entry) {
  switch (entry.category) {
    case kCategoryCombination:
      return entry.functionCode == kFunctionCombination && entry.steps[0].code() != 0;
    case kCategoryMacro:
      return (entry.functionCode == kFunctionRecordedMacro && entry.macroName[0] != '\0' &&
              isRecording(entry)) ||
             (entry.functionCode == kFunctionTextMacro && entry.textMacroName[0] != '\0');
    case kCategoryLaunch:
      return entry.functionCode == kFunctionLaunch && entry.appPath[0] != '\0';
    case kCategoryMedia:
      return MediaButtonOf(entry.functionCode) >= 0;
    case kCategoryShortcut:
      return ShortcutButtonOf(entry.functionCode) >= 0;
    default:
      return true;
  }
}

}  // namespace

bool UsesMacroBuffer(uint8_t functionCode) {
  return functionCode == kFunctionCombination || functionCode == kFunctionRecordedMacro;
}

bool MacroBufferFor(const ProfileRecord& profile, int keyIndex) {
  if (keyIndex >= 0 && keyIndex < kKeyCount && UsesMacroBuffer(profile.keys[keyIndex].functionCode))
    return true;
  int others = 0;
  for (int k = 0; k < kKeyCount; ++k)
    if (k != keyIndex && UsesMacroBuffer(profile.keys[k].functionCode)) ++others;
  return others < kMaxMacroKeys;
}

void RecountMacroKeys(SettingsImage& image) {
  for (ProfileRecord& profile : image.profiles) profile.totalMacro = countMacroKeys(profile);
}

std::vector<KeyMenuEntry> CategoryMenu(bool macroBufferFree) {
  auto line = [](uint8_t category) { return KeyMenuEntry{commandOf(category), rowOf(category)->labelId}; };
  std::vector<KeyMenuEntry> menu;
  menu.push_back(line(kCategoryDefault));
  menu.push_back({});
  if (macroBufferFree) menu.push_back(line(kCategoryCombination));
  menu.push_back(line(kCategoryMedia));
  menu.push_back(line(kCategoryMacro));
  menu.push_back({});
  menu.push_back(line(kCategoryLaunch));
  menu.push_back(line(kCategoryShortcut));
  menu.push_back({});
  menu.push_back(line(kCategoryDisabled));
  return menu;
}

std::vector<KeyMenuEntry> PlayModeMenu() {
  std::vector<KeyMenuEntry> menu;
  for (int mode = 0; mode < kPlayModeCount; ++mode)
    menu.push_back({kPlayModeCommandFirst + unsigned(mode), 0, kPlayModeTexts[mode]});
  return menu;
}

uint8_t CategoryFromCommand(unsigned command) {
  for (const CategoryRow& row : kCategoryRows)
    if (commandOf(row.category) == command) return row.category;
  return kCategoryNotFromMenu;
}

int PlayModeFromCommand(unsigned command) {
  if (command >= kPlayModeCommandFirst && command < kPlayModeCommandFirst + kPlayModeCount)
    return int(command - kPlayModeCommandFirst);
  return kPlayOnce;
}

const char* PlayModeText(int playMode) {
  return kPlayModeTexts[playMode >= 0 && playMode < kPlayModeCount ? playMode : kPlayOnce];
}

CategoryView ViewOfCategory(uint8_t category) {
  const CategoryRow* row = rowOf(category);
  if (!row) return {KeySubPage::Default, kDefaultLabelId};
  return {row->page, row->labelId};
}

KeyControlStates ApplyEnablingRules(EditEntry& entry) {
  if (hasPlaySettings(entry.category)) {
    switch (entry.playMode) {
      case kPlayNTimes:
        return {true, true, true, true};
      case kPlayWhilePressed:
        return {true, false, true, false};
      case kPlayToggle:
        return {true, false, true, true};
      default:
        return {true, false, false, true};
    }
  }
  if (!keepsPlayValues(entry.category)) {
    entry.playMode = kPlayOnce;
    entry.playCount = 0;
    entry.repeatDelayMs = 0;
  }
  return {};
}

KeyControlStates ChooseCategory(EditEntry& entry, unsigned command) {
  if (command >= kCategoryCommandFirst && command <= kCategoryCommandLast) {
    entry.category = CategoryFromCommand(command);
    if (entry.category == kCategoryDefault) entry.functionCode = kFunctionDefault;
    if (entry.category == kCategoryDisabled) entry.functionCode = kFunctionDisabled;
  }
  return ApplyEnablingRules(entry);
}

KeyControlStates ChoosePlayMode(EditEntry& entry, unsigned command) {
  entry.playMode = PlayModeFromCommand(command);
  return ApplyEnablingRules(entry);
}

void ChooseTrigger(EditEntry& entry, int position) {
  if (position == kTriggerFirstPosition || position == kTriggerFirstPosition + 1)
    entry.triggerMode = position - kTriggerFirstPosition;
}

int HighlightedTriggerPosition(const EditEntry& entry) {
  return entry.triggerMode == 0 || entry.triggerMode == 1 ? kTriggerFirstPosition + entry.triggerMode : 0;
}

namespace {

// Like "%d" reading: optional sign, then digits up to the first other character.
int parseNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min(value * 10 + (text[i] - '0'), kParseCeiling);
  return negative ? -value : value;
}

}  // namespace

CountEditResult CheckPlayCountWhileTyping(std::string_view text) {
  if (text.empty()) return {};
  const int typed = parseNumber(text);
  const int value = std::clamp(typed, kPlayCountMin, kPlayCountMax);
  return {true, value, value != typed};
}

int ParsePlayCount(std::string_view text) {
  return std::clamp(parseNumber(text), kPlayCountMin, kPlayCountMax);
}

int ParseRepeatDelay(std::string_view text) {
  return std::clamp(parseNumber(text), kRepeatDelayMin, kRepeatDelayMax);
}

const char* IncompleteEntryReason(const EditEntry& entry, const ProfileRecord& profile) {
  if (UsesMacroBuffer(entry.functionCode) && !MacroBufferFor(profile, entry.keyIndex))
    return "All 35 combination and macro keys of this\nprofile are taken. Free one first; the key\n"
           "stays as it was.";
  if (isComplete(entry)) return nullptr;
  switch (entry.category) {
    case kCategoryCombination:
      return "No key combination is recorded yet.\n"
             "Press RECORD and the keys, or Cancel to keep\nthe key as it was.";
    case kCategoryMacro:
      return entry.functionCode == kFunctionRecordedMacro && entry.macroName[0] != '\0'
                 ? "The macro's steps were cleared here.\n"
                   "Choose the macro again, or Cancel to keep\nthe key as it was."
                 : "No macro is chosen yet.\nChoose one in the list, or Cancel to keep\nthe key as it was.";
    case kCategoryLaunch:
      return "No program is chosen yet.\nChoose one in the list, or Cancel to keep\nthe key as it was.";
    case kCategoryMedia:
      return "No media function is chosen yet.\nChoose one, or Cancel to keep the key\nas it was.";
    case kCategoryShortcut:
      return "No shortcut is chosen yet.\nChoose one, or Cancel to keep the key\nas it was.";
    default:
      return "This function is not complete.\nCancel keeps the key as it was.";
  }
}

ConfirmResult ConfirmEntry(EditEntry& entry, std::string_view countText, std::string_view delayText,
                           ProfileRecord& profile) {
  entry.playCount = ParsePlayCount(countText);
  entry.repeatDelayMs = uint16_t(ParseRepeatDelay(delayText));
  ConfirmResult result;
  const bool bufferRefused = UsesMacroBuffer(entry.functionCode) && !MacroBufferFor(profile, entry.keyIndex);
  if (!isComplete(entry) || bufferRefused) {
    entry.category = kCategoryDefault;
    entry.functionCode = kFunctionDefault;
    result.fellBack = true;
    return result;
  }
  // A single key without modifiers is a plain remap in the keyboard's own table.
  if (entry.category == kCategoryCombination && entry.steps[1].code() == 0 && entry.keyIndex < kKeyCount) {
    profile.standardKey[entry.keyIndex] = entry.steps[0].code();
    result.standardKeyWritten = true;
  }
  return result;
}
