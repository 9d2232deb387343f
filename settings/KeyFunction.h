#pragma once
// What a key does, as the key editor makes it and a person reads it in a
// profile file:
//
//   Key45=TextMacro "gg"
//   Key30=Macro "Reload" PlayNTimes 3 RepeatDelay 100 OnRelease
//   Key12=Media VolumeUp
//   Key7=Combination Ctrl+Shift+K
//   Key5=Shortcut Copy
//   Key9=Disabled
//   Key2=Launch              (the program stays on the machine that wrote it)
//
// A key entry holds more than its function uses (the steps of a macro it no
// longer plays, the text of a text macro it no longer types, a path): the
// description takes only what the function uses, and a key built from a
// description holds nothing else.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ListFiles.h"
#include "SettingsImage.h"

struct KeyFunction {
  enum Kind { Default, Disabled, Combination, Media, Shortcut, Macro, TextMacro, Launch, Unknown };
  Kind kind = Default;
  uint8_t code = 0;           // the function code of a media key or shortcut
  std::vector<uint8_t> keys;  // the usages of a combination, in the order captured
  std::string name;           // the macro or text macro it plays
  int32_t playMode = kPlayOnce;
  int32_t playCount = 1;
  int32_t triggerMode = 0;
  int32_t repeatDelayMs = 0;
};

// The editor's ranges of a key's play values.
constexpr int32_t kPlayCountMin = 1, kPlayCountMax = 999;
constexpr int32_t kRepeatDelayMax = 9999;
constexpr int32_t kTextDelayMax = 65535;
constexpr size_t kMaxCombinationKeys = 9;

// What `key` does. Keys of a category or code the editor does not make are
// Unknown; the play values are taken as the entry holds them.
KeyFunction describeKey(const KeyAssignment& key);
// Empty when the editor could have made `function`; otherwise what is not.
std::string checkKeyFunction(const KeyFunction& function);
// Play values a function does not use are left out: Play N Times alone uses
// its count, Repeat While Pressed ignores the trigger, Play Once the delay.
void dropUnusedPlayValues(KeyFunction& function);

// The value of a key line; `function.name` in UTF-8. Empty for Default.
std::string keyFunctionText(const KeyFunction& function);
// False, with the reason in `error`, for a line the writer would not make or
// a value out of the editor's range; the name comes back in UTF-8.
bool parseKeyFunction(std::string_view text, KeyFunction& function, std::string& error);

// The key at `keyIndex` doing `function` and nothing else; a macro key gets
// `macro`'s steps, a text macro key `text`'s text and keys (either may be
// null for the other kinds). Default, Launch and Unknown give the key as a
// new profile has it.
void buildKey(const KeyFunction& function, int keyIndex, const MacroRecord* macro,
              const TextMacroRecord* text, KeyAssignment& key);

// Clears what the key's function does not use (category and function code
// stay): the configuration program stores keys this way, so that a text
// typed once, a path or old steps do not stay behind a key that no longer
// plays them.
void clearUnusedKeyFields(KeyAssignment& key);

// A key or mouse usage as a name ("Ctrl", "K", "F5", "Num7", "MouseLeft"),
// or "#N" where it has none; and back.
std::string usageText(uint8_t usage);
bool parseUsage(std::string_view text, uint8_t& usage);
