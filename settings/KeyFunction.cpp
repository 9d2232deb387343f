#include "KeyFunction.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

#include "BoundedText.h"
#include "KeyCodes.h"
#include "ProfileShare.h"

namespace {

struct Named {
  uint8_t code;
  const char* name;
};

constexpr Named kMediaNames[] = {
    {24, "Mute"},          {30, "PlayPause"}, {29, "NextTrack"},
    {28, "PreviousTrack"}, {25, "VolumeUp"},  {26, "VolumeDown"},
};

constexpr Named kShortcutNames[] = {
    {48, "Cut"},         {49, "Paste"},         {50, "Undo"},        {51, "Copy"},     {52, "CloseTab"},
    {53, "CloseWindow"}, {54, "WindowPicture"}, {55, "ShowDesktop"}, {56, "Minimize"}, {57, "Maximize"},
};

// Names without blanks or '+', so that a combination reads as one token.
constexpr Named kUsageNames[] = {
    {40, "Enter"},        {41, "Escape"},     {42, "Backspace"},   {43, "Tab"},
    {44, "Space"},        {45, "Minus"},      {46, "Equals"},      {47, "LeftBracket"},
    {48, "RightBracket"}, {49, "Backslash"},  {50, "NonUsHash"},   {51, "Semicolon"},
    {52, "Apostrophe"},   {53, "Grave"},      {54, "Comma"},       {55, "Period"},
    {56, "Slash"},        {57, "CapsLock"},   {70, "PrintScreen"}, {71, "ScrollLock"},
    {72, "Pause"},        {73, "Insert"},     {74, "Home"},        {75, "PageUp"},
    {76, "Delete"},       {77, "End"},        {78, "PageDown"},    {79, "Right"},
    {80, "Left"},         {81, "Down"},       {82, "Up"},          {83, "NumLock"},
    {84, "NumSlash"},     {85, "NumStar"},    {86, "NumMinus"},    {87, "NumPlus"},
    {88, "NumEnter"},     {98, "Num0"},       {99, "NumDot"},      {100, "NonUsBackslash"},
    {101, "Application"}, {224, "Ctrl"},      {225, "Shift"},      {226, "Alt"},
    {227, "Win"},         {228, "RightCtrl"}, {229, "RightShift"}, {230, "RightAlt"},
    {231, "RightWin"},    {240, "MouseLeft"}, {241, "MouseRight"}, {242, "MouseMiddle"},
    {243, "Mouse5"},      {244, "Mouse4"},
};

constexpr const char* kPlayModeNames[] = {"PlayOnce", "PlayNTimes", "RepeatWhilePressed", "ToggleAutoRepeat"};

template <size_t N>
const char* nameOf(const Named (&table)[N], uint8_t code) {
  for (const Named& n : table)
    if (n.code == code) return n.name;
  return nullptr;
}

template <size_t N>
bool codeOf(const Named (&table)[N], std::string_view name, uint8_t& code) {
  for (const Named& n : table)
    if (equalIgnoringCase(name, n.name)) {
      code = n.code;
      return true;
    }
  return false;
}

bool isModifier(uint8_t usage) { return usage >= 224 && usage <= 231; }

// A usage the key table knows: what the editor can capture.
bool isKeyUsage(uint8_t usage) {
  if (usage == 0) return false;
  for (const KeyCodeRow& row : keyCodeTable)
    if (row.usage == usage) return true;
  return false;
}

bool parseNumber(std::string_view text, long long low, long long high, long long& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// Splits a key line into words; a quoted word keeps its blanks (a '"'
// inside it is written \x22).
bool splitWords(std::string_view text, std::vector<std::string>& words, std::vector<bool>& quoted) {
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ' || text[at] == '\t') {
      ++at;
      continue;
    }
    if (text[at] == '"') {
      size_t end = at + 1;
      while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
      if (end >= text.size()) return false;
      words.emplace_back(text.substr(at + 1, end - at - 1));
      quoted.push_back(true);
      at = end + 1;
      if (at < text.size() && text[at] != ' ' && text[at] != '\t') return false;
      continue;
    }
    const size_t end = std::min(text.find_first_of(" \t", at), text.size());
    words.emplace_back(text.substr(at, end - at));
    quoted.push_back(false);
    at = end;
  }
  return true;
}

std::string quotedName(std::string_view name) {
  std::string out = "\"";
  for (char c : escapeText(name)) out += c == '"' ? std::string("\\x22") : std::string(1, c);
  return out + "\"";
}

}  // namespace

std::string usageText(uint8_t usage) {
  if (usage >= 4 && usage <= 29) return std::string(1, char('A' + usage - 4));
  if (usage >= 30 && usage <= 38) return std::string(1, char('1' + usage - 30));
  if (usage == 39) return "0";
  if (usage >= 58 && usage <= 69) return "F" + std::to_string(usage - 57);
  if (usage >= 89 && usage <= 97) return "Num" + std::to_string(usage - 88);
  if (const char* name = nameOf(kUsageNames, usage)) return name;
  return "#" + std::to_string(usage);
}

bool parseUsage(std::string_view text, uint8_t& usage) {
  if (text.size() == 1 && std::isalpha(static_cast<unsigned char>(text[0]))) {
    usage = uint8_t(4 + (std::toupper(static_cast<unsigned char>(text[0])) - 'A'));
    return true;
  }
  long long number = 0;
  if (text.size() >= 2 && (text[0] == 'F' || text[0] == 'f') && parseNumber(text.substr(1), 1, 12, number)) {
    usage = uint8_t(57 + number);
    return true;
  }
  if (text.size() == 4 && equalIgnoringCase(text.substr(0, 3), "Num") && text[3] >= '1' && text[3] <= '9') {
    usage = uint8_t(88 + (text[3] - '0'));
    return true;
  }
  if (codeOf(kUsageNames, text, usage)) return true;
  // A lone digit is the digit key; "#N" names a usage by its number.
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
    usage = text[0] == '0' ? 39 : uint8_t(30 + (text[0] - '1'));
    return true;
  }
  if (text.size() < 2 || text[0] != '#' || !parseNumber(text.substr(1), 1, 255, number)) return false;
  usage = uint8_t(number);
  return true;
}

KeyFunction describeKey(const KeyAssignment& key) {
  KeyFunction f;
  auto takePlay = [&] {
    f.playMode = key.playMode;
    f.playCount = key.playCount;
    f.triggerMode = key.triggerMode;
    f.repeatDelayMs = key.repeatDelayMs;
  };
  const uint8_t code = key.functionCode;
  switch (key.category) {
    case kCategoryDefault:
      f.kind = code == kFunctionDefault || code == 0 ? KeyFunction::Default : KeyFunction::Unknown;
      break;
    case kCategoryDisabled:
      f.kind = code == kFunctionDisabled ? KeyFunction::Disabled : KeyFunction::Unknown;
      break;
    case kCategoryCombination:
      if (code != kFunctionCombination) {
        f.kind = KeyFunction::Unknown;
        break;
      }
      f.kind = KeyFunction::Combination;
      for (size_t i = 0; i < kMaxCombinationKeys && key.steps[i].code() != 0; ++i)
        f.keys.push_back(key.steps[i].code());
      takePlay();
      break;
    case kCategoryMedia:
      f.kind = nameOf(kMediaNames, code) ? KeyFunction::Media : KeyFunction::Unknown;
      f.code = code;
      break;
    case kCategoryShortcut:
      f.kind = nameOf(kShortcutNames, code) ? KeyFunction::Shortcut : KeyFunction::Unknown;
      f.code = code;
      break;
    case kCategoryMacro:
      if (code == kFunctionRecordedMacro) {
        f.kind = KeyFunction::Macro;
        f.name = std::string(trimBlanks(boundedText(key.macroName)));
      } else if (code == kFunctionTextMacro) {
        f.kind = KeyFunction::TextMacro;
        f.name = std::string(trimBlanks(boundedText(key.textMacroName)));
      } else {
        f.kind = KeyFunction::Unknown;
      }
      takePlay();
      break;
    case kCategoryLaunch:
      f.kind = code == kFunctionLaunch ? KeyFunction::Launch : KeyFunction::Unknown;
      break;
    default:
      f.kind = KeyFunction::Unknown;
  }
  return f;
}

std::string checkKeyFunction(const KeyFunction& f) {
  switch (f.kind) {
    case KeyFunction::Combination: {
      if (f.keys.empty()) return "a key combination without keys";
      if (f.keys.size() > kMaxCombinationKeys) return "a key combination of more than nine keys";
      for (size_t i = 0; i < f.keys.size(); ++i) {
        if (!isKeyUsage(f.keys[i]))
          return "a key combination with the unknown key " + std::to_string(f.keys[i]);
        if (i + 1 < f.keys.size() && !isModifier(f.keys[i]))
          return "a key combination with a key that is no Ctrl, Shift, Alt or Win before its last";
        if (std::count(f.keys.begin(), f.keys.end(), f.keys[i]) > 1)
          return "a key combination with a key twice";
      }
      break;
    }
    case KeyFunction::Macro:
      if (f.name.empty()) return "a macro without a name";
      break;
    case KeyFunction::TextMacro:
      if (f.name.empty()) return "a text macro without a name";
      break;
    default:
      return {};
  }
  if (f.playMode < kPlayOnce || f.playMode > kPlayToggle)
    return "the play mode " + std::to_string(f.playMode) + ", which is none of the four";
  if (f.playCount < kPlayCountMin || f.playCount > kPlayCountMax)
    return "a play count of " + std::to_string(f.playCount) + " (the editor takes 1 to 999)";
  if (f.repeatDelayMs < 0 || f.repeatDelayMs > kRepeatDelayMax)
    return "a repeat delay of " + std::to_string(f.repeatDelayMs) + " ms (the editor takes 0 to 9999)";
  if (f.triggerMode != 0 && f.triggerMode != 1) return "the trigger " + std::to_string(f.triggerMode);
  return {};
}

void dropUnusedPlayValues(KeyFunction& f) {
  const bool plays =
      f.kind == KeyFunction::Combination || f.kind == KeyFunction::Macro || f.kind == KeyFunction::TextMacro;
  if (!plays) {
    f.playMode = kPlayOnce, f.playCount = 1, f.triggerMode = 0, f.repeatDelayMs = 0;
    return;
  }
  if (f.playMode != kPlayNTimes) f.playCount = 1;
  if (f.playMode == kPlayOnce) f.repeatDelayMs = 0;
  if (f.playMode == kPlayWhilePressed) f.triggerMode = 0;
}

std::string keyFunctionText(const KeyFunction& f) {
  std::string out;
  switch (f.kind) {
    case KeyFunction::Default:
    case KeyFunction::Unknown:
      return {};
    case KeyFunction::Disabled:
      return "Disabled";
    case KeyFunction::Launch:
      return "Launch";
    case KeyFunction::Media:
      return std::string("Media ") + nameOf(kMediaNames, f.code);
    case KeyFunction::Shortcut:
      return std::string("Shortcut ") + nameOf(kShortcutNames, f.code);
    case KeyFunction::Combination:
      out = "Combination ";
      for (size_t i = 0; i < f.keys.size(); ++i) out += (i ? "+" : "") + usageText(f.keys[i]);
      break;
    case KeyFunction::Macro:
      out = "Macro " + quotedName(f.name);
      break;
    case KeyFunction::TextMacro:
      out = "TextMacro " + quotedName(f.name);
      break;
  }
  KeyFunction used = f;
  dropUnusedPlayValues(used);
  if (used.playMode >= kPlayOnce && used.playMode <= kPlayToggle && used.playMode != kPlayOnce)
    out += std::string(" ") + kPlayModeNames[used.playMode];
  if (used.playMode == kPlayNTimes) out += " " + std::to_string(used.playCount);
  if (used.repeatDelayMs) out += " RepeatDelay " + std::to_string(used.repeatDelayMs);
  if (used.triggerMode == 1) out += " OnRelease";
  return out;
}

bool parseKeyFunction(std::string_view text, KeyFunction& f, std::string& error) {
  std::vector<std::string> words;
  std::vector<bool> quoted;
  f = KeyFunction{};
  if (!splitWords(text, words, quoted) || words.empty() || quoted[0]) {
    error = "it is not a key function";
    return false;
  }
  const std::string& kind = words[0];
  size_t next = 1;
  auto word = [&](size_t i) { return i < words.size() && !quoted[i] ? std::string_view(words[i]) : ""; };
  if (equalIgnoringCase(kind, "Default")) {
    f.kind = KeyFunction::Default;
  } else if (equalIgnoringCase(kind, "Disabled")) {
    f.kind = KeyFunction::Disabled;
  } else if (equalIgnoringCase(kind, "Launch")) {
    f.kind = KeyFunction::Launch;
  } else if (equalIgnoringCase(kind, "Media") || equalIgnoringCase(kind, "Shortcut")) {
    const bool media = equalIgnoringCase(kind, "Media");
    f.kind = media ? KeyFunction::Media : KeyFunction::Shortcut;
    if (!(media ? codeOf(kMediaNames, word(1), f.code) : codeOf(kShortcutNames, word(1), f.code))) {
      error = "\"" + std::string(word(1).substr(0, 24)) + "\" is no " + (media ? "media key" : "shortcut");
      return false;
    }
    next = 2;
  } else if (equalIgnoringCase(kind, "Combination")) {
    f.kind = KeyFunction::Combination;
    std::string_view keys = word(1);
    while (!keys.empty()) {
      const size_t plus = std::min(keys.find('+'), keys.size());
      uint8_t usage = 0;
      if (!parseUsage(keys.substr(0, plus), usage)) {
        error = "\"" + std::string(keys.substr(0, std::min<size_t>(plus, 24))) + "\" is no key";
        return false;
      }
      f.keys.push_back(usage);
      if (f.keys.size() > kMaxCombinationKeys) break;
      keys.remove_prefix(std::min(plus + 1, keys.size()));
    }
    next = 2;
  } else if (equalIgnoringCase(kind, "Macro") || equalIgnoringCase(kind, "TextMacro")) {
    f.kind = equalIgnoringCase(kind, "Macro") ? KeyFunction::Macro : KeyFunction::TextMacro;
    std::string name;
    if (words.size() < 2 || !quoted[1] || !unescapeText(words[1], name)) {
      error = "the name after " + kind + " is not a quoted text";
      return false;
    }
    f.name = std::string(trimBlanks(name));
    next = 2;
  } else {
    error = "\"" + kind.substr(0, 24) + "\" is no key function this version knows";
    return false;
  }

  const bool plays =
      f.kind == KeyFunction::Combination || f.kind == KeyFunction::Macro || f.kind == KeyFunction::TextMacro;
  for (size_t i = next; i < words.size(); ++i) {
    const std::string_view w = word(i);
    long long number = 0;
    int mode = -1;
    for (int m = 0; m < 4; ++m)
      if (equalIgnoringCase(w, kPlayModeNames[m])) mode = m;
    if (plays && mode >= 0) {
      f.playMode = mode;
      if (mode == kPlayNTimes) {
        if (!parseNumber(word(i + 1), kPlayCountMin, kPlayCountMax, number)) {
          error = "PlayNTimes takes a count from 1 to 999";
          return false;
        }
        f.playCount = int32_t(number);
        ++i;
      }
    } else if (plays && equalIgnoringCase(w, "RepeatDelay")) {
      if (!parseNumber(word(i + 1), 0, kRepeatDelayMax, number)) {
        error = "RepeatDelay takes milliseconds from 0 to 9999";
        return false;
      }
      f.repeatDelayMs = int32_t(number);
      ++i;
    } else if (plays && equalIgnoringCase(w, "OnRelease")) {
      f.triggerMode = 1;
    } else if (plays && equalIgnoringCase(w, "OnPress")) {
      f.triggerMode = 0;
    } else {
      error = "\"" + std::string(words[i].substr(0, 24)) + "\" is not understood after " + kind;
      return false;
    }
  }
  error = checkKeyFunction(f);
  if (!error.empty()) return false;
  dropUnusedPlayValues(f);
  return true;
}

void buildKey(const KeyFunction& f, int keyIndex, const MacroRecord* macro, const TextMacroRecord* text,
              KeyAssignment& key) {
  buildDefaultKey(key, keyIndex);
  KeyFunction used = f;
  dropUnusedPlayValues(used);
  auto setPlay = [&] {
    key.playMode = used.playMode;
    key.playCount = used.playCount;
    key.triggerMode = used.triggerMode;
    key.repeatDelayMs = uint16_t(used.repeatDelayMs);
  };
  switch (f.kind) {
    case KeyFunction::Default:
    case KeyFunction::Launch:
    case KeyFunction::Unknown:
      break;  // the key as a new profile has it
    case KeyFunction::Disabled:
      key.category = kCategoryDisabled;
      key.functionCode = kFunctionDisabled;
      key.playCount = 0;
      break;
    case KeyFunction::Media:
    case KeyFunction::Shortcut:
      key.category = f.kind == KeyFunction::Media ? kCategoryMedia : kCategoryShortcut;
      key.functionCode = f.code;
      key.playCount = 0;
      break;
    case KeyFunction::Combination: {
      key.category = kCategoryCombination;
      key.functionCode = kFunctionCombination;
      const size_t count = std::min(f.keys.size(), kMaxCombinationKeys);
      for (size_t i = 0; i < count; ++i) key.steps[i] = MacroStep{f.keys[i]};
      key.stepCount = uint16_t(count);
      setPlay();
      break;
    }
    case KeyFunction::Macro:
      key.category = kCategoryMacro;
      key.functionCode = kFunctionRecordedMacro;
      setBoundedText(key.macroName, f.name);
      if (macro) {
        key.stepCount = uint16_t(std::clamp(macro->stepCount, 0, kMaxMacroSteps));
        std::copy(macro->steps, macro->steps + key.stepCount, key.steps);
      }
      setPlay();
      break;
    case KeyFunction::TextMacro:
      key.category = kCategoryMacro;
      key.functionCode = kFunctionTextMacro;
      setBoundedText(key.textMacroName, f.name);
      if (text) {
        setBoundedText(key.textMacroText, boundedText(text->text));
        key.textDelayMs = text->delayMs;
        key.keyBefore = text->keyBefore;
        key.keyAfter = text->keyAfter;
      }
      setPlay();
      break;
  }
}

void clearUnusedKeyFields(KeyAssignment& key) {
  const uint8_t code = key.functionCode;
  const bool macro = code == kFunctionRecordedMacro, text = code == kFunctionTextMacro,
             combination = code == kFunctionCombination, launch = code == kFunctionLaunch;
  if (!macro) {
    std::memset(key.macroName, 0, sizeof key.macroName);
    key.reserved0 = 0;
  }
  if (combination) {
    // A combination is the key bytes of its first steps, nothing more.
    int count = 0;
    while (count < int(kMaxCombinationKeys) && key.steps[count].code() != 0) ++count;
    for (int i = 0; i < kMaxMacroSteps; ++i) key.steps[i] = MacroStep{i < count ? key.steps[i].code() : 0u};
  } else if (!macro) {
    key.stepCount = 0;
    std::memset(key.steps, 0, sizeof key.steps);
  } else {
    key.stepCount = std::min<uint16_t>(key.stepCount, kMaxMacroSteps);
    std::fill(key.steps + key.stepCount, key.steps + kMaxMacroSteps, MacroStep{0});
  }
  if (!launch) std::memset(key.appPath, 0, sizeof key.appPath);
  if (!text) {
    std::memset(key.textMacroName, 0, sizeof key.textMacroName);
    std::memset(key.textMacroText, 0, sizeof key.textMacroText);
    key.textDelayMs = 0;
    key.keyBefore = key.keyAfter = 0;
  } else {
    // Behind the text's terminator nothing of an older, longer text.
    const size_t length = strnlen(key.textMacroText, sizeof key.textMacroText);
    std::memset(key.textMacroText + length, 0, sizeof key.textMacroText - length);
  }
  if (!macro && !text) key.macroListIndex = -1;
}
