#include "ProfileShare.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "BoundedText.h"
#include "IniDocument.h"
#include "KeyFunction.h"
#include "ProfileFiles.h"

namespace {

std::unique_ptr<ProfileRecord> defaultProfile(int index) {
  auto profile = std::make_unique<ProfileRecord>();
  std::memset(profile.get(), 0, sizeof *profile);
  buildDefaultProfile(*profile, index);
  return profile;
}

void bindMacro(KeyAssignment& key, const char* name, std::initializer_list<MacroStep> steps) {
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  std::strcpy(key.macroName, name);
  key.stepCount = uint16_t(steps.size());
  std::copy(steps.begin(), steps.end(), key.steps);
}

void bindText(KeyAssignment& key, const char* name, const char* text) {
  key.category = kCategoryMacro;
  key.functionCode = kFunctionTextMacro;
  std::strcpy(key.textMacroName, name);
  std::strcpy(key.textMacroText, text);
  key.textDelayMs = 120;
  key.keyBefore = 40;
  key.keyAfter = 44;
}

MacroRecord libraryMacro(const char* name, std::initializer_list<MacroStep> steps, int repeat = 1) {
  MacroRecord r{};
  std::strcpy(r.name, name);
  r.repeatCount = repeat;
  r.stepCount = int(steps.size());
  std::copy(steps.begin(), steps.end(), r.steps);
  return r;
}

void play(KeyAssignment& key, int32_t mode, int32_t count, uint16_t delayMs, int32_t trigger) {
  key.playMode = mode;
  key.playCount = count;
  key.repeatDelayMs = delayMs;
  key.triggerMode = trigger;
}

constexpr MacroStep kPressR = MacroStep::make(21, kActionPress, 30);
constexpr MacroStep kReleaseR = MacroStep::make(21, kActionRelease, 0);
constexpr MacroStep kPressQ = MacroStep::make(20, kActionPress, 5);

// A profile in which every field the file carries differs from the defaults
// and from its neighbours.
std::unique_ptr<ProfileRecord> everyFieldProfile() {
  auto p = defaultProfile(1);
  std::strcpy(p->profileName, "Shooter \xE9t\xE9 \"night\"");
  std::strcpy(p->linkedApps[0], "C:\\Games\\shooter.exe");
  p->ltControl = 7;
  p->lightFx = 6;
  p->lightFxFlag = 1;
  p->leftWinLock = 0;
  p->breatheSpeed = 3;
  p->waveSpeed = 1;
  p->waveMode = 0;
  p->rippleSpeed = 3;
  p->rippleMode = 1;
  p->customMode = 1;
  p->staticColor = 0x010203;
  p->breatheColor = 0x040506;
  p->waveColor = 0x070809;
  p->rippleColor = 0x0A0B0C;
  p->reactiveColor = 0x0D0E0F;
  for (int i = 0; i < kLedCount; ++i) p->customColors[i] = Color(0x10000 * i + 0x100 * (i % 7) + i % 251);
  p->customCtrlClickColor = 0x00FF7F;
  p->globalColor = 0x7F00FF;
  for (int k = 0; k < kKeyCount; ++k) p->standardKey[k] = uint8_t(200 - k);
  // Shortcuts, media keys and disabled keys, as the editor stores them (no
  // play values).
  for (int k = 0; k < kKeyCount; ++k) {
    KeyAssignment& key = p->keys[k];
    key.category = k % 3 == 0 ? kCategoryMedia : k % 3 == 1 ? kCategoryShortcut : kCategoryDisabled;
    const uint8_t media = k % 2 ? 25 : 24, shortcut = uint8_t(48 + k % 10);
    key.functionCode = k % 3 == 0 ? media : k % 3 == 1 ? shortcut : uint8_t(kFunctionDisabled);
    key.playCount = 0;
  }
  bindMacro(p->keys[3], "Reload", {kPressR, kReleaseR});
  play(p->keys[3], kPlayNTimes, 7, 250, 1);
  bindMacro(p->keys[70], "reload", {kPressR, kReleaseR});  // the same macro, by another spelling
  play(p->keys[70], kPlayToggle, 1, 9999, 1);
  bindMacro(p->keys[9], "Grenade", {kPressQ});
  play(p->keys[9], kPlayWhilePressed, 1, 30, 0);
  bindText(p->keys[20], "gg", "Good game!\n\tSee you \\o/ \xE0 bient\xF4t ");
  play(p->keys[20], kPlayNTimes, 999, 0, 0);
  bindText(p->keys[21], "  quote", "\"quoted\"");
  p->keys[21].playCount = 1;
  p->keys[40].category = kCategoryCombination;
  p->keys[40].functionCode = kFunctionCombination;
  p->keys[40].stepCount = 2;
  p->keys[40].steps[0] = MacroStep{224};
  p->keys[40].steps[1] = MacroStep{6};
  p->keys[40].playCount = 1;
  buildDefaultKey(p->keys[50], 50);  // a key left as it was
  p->totalMacro = countMacroKeys(*p);
  sanitizeProfile(*p);
  return p;
}

std::string exported(const ProfileRecord& profile, const MacroLibrary& macros = {}) {
  return writeProfileFile(profile, macros, "1.02", latin1Codec());
}

SharedProfile readOk(const std::string& text, const TextCodec& codec = latin1Codec()) {
  SharedProfile shared;
  const std::string error = readProfileFile(text, shared, codec);
  EXPECT_EQ(error, "");
  return shared;
}

std::string refusal(const std::string& text) {
  SharedProfile shared;
  shared.software = "untouched";
  const std::string error = readProfileFile(text, shared, latin1Codec());
  EXPECT_EQ(shared.software, "untouched") << "a refused file changed what was read before";
  EXPECT_FALSE(shared.profile);
  return error;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string lineOf(const std::string& text, const std::string& start) {
  const size_t at = text.find("\n" + start);
  if (at == std::string::npos) return {};
  const size_t end = text.find('\r', at + 1);
  return text.substr(at + 1, end - at - 1);
}

// The line of key `k` in [Keys].
std::string keyLine(const std::string& text, int k) {
  const size_t keys = text.find("\n[Keys]");
  return keys == std::string::npos ? std::string()
                                   : lineOf(text.substr(keys), "Key" + std::to_string(k) + "=");
}

}  // namespace

// ---------------------------------------------------------------- round trip

TEST(ProfileShare, EveryFieldTheFileCarriesComesBackAndTheTargetKeepsTheRest) {
  const auto original = everyFieldProfile();
  const MacroLibrary library{libraryMacro("Reload", {kPressR, kReleaseR}, 9)};
  const std::string text = exported(*original, library);
  SharedProfile shared = readOk(text);
  ASSERT_TRUE(shared.profile);
  EXPECT_EQ(shared.formatMajor, kProfileFormatMajor);
  EXPECT_EQ(shared.software, "1.02");

  auto target = defaultProfile(3);
  std::strcpy(target->linkedApps[2], "C:\\Mine\\game.exe");
  target->previewOn = 1;
  target->fnStatus = 5;
  target->ltPulsation = 2;
  target->pollingRate = 8;
  MacroLibrary macros;
  TextMacroLibrary texts;
  const ImportSummary summary = importSharedProfile(shared, *target, macros, texts);
  EXPECT_EQ(summary.macrosAdded, 2);
  EXPECT_EQ(summary.textMacrosAdded, 2);

  // What the file carries is the original's; what it does not, the target's.
  auto expected = std::make_unique<ProfileRecord>(*original);
  std::memcpy(expected->linkedApps, target->linkedApps, sizeof expected->linkedApps);
  expected->previewOn = 1;
  expected->fnStatus = 5;
  expected->ltPulsation = 2;
  expected->pollingRate = 8;
  for (auto field : {&ProfileRecord::mediaOption, &ProfileRecord::hddKeyboard, &ProfileRecord::ltSwitch,
                     &ProfileRecord::ltColor, &ProfileRecord::ltSaving, &ProfileRecord::contextKey,
                     &ProfileRecord::capsLockKey, &ProfileRecord::tabKey, &ProfileRecord::reportDelay})
    (*expected).*field = (*target).*field;
  // Keys bind the library's names and sit at their places in the picker.
  std::strcpy(expected->keys[70].macroName, "Reload");
  expected->keys[3].macroListIndex = 0;
  expected->keys[70].macroListIndex = 0;
  expected->keys[9].macroListIndex = 1;
  expected->keys[20].macroListIndex = 2;
  std::memset(expected->keys[21].textMacroName, 0, sizeof expected->keys[21].textMacroName);
  std::strcpy(expected->keys[21].textMacroName, "quote");
  expected->keys[21].macroListIndex = 3;
  for (int k = 0; k < kKeyCount; ++k)
    EXPECT_EQ(std::memcmp(&expected->keys[k], &target->keys[k], sizeof(KeyAssignment)), 0) << "key " << k;
  EXPECT_EQ(std::memcmp(expected.get(), target.get(), sizeof *target), 0);
  EXPECT_STREQ(target->profileName, "Shooter \xE9t\xE9 \"night\"");

  ASSERT_EQ(macros.size(), 2u);
  EXPECT_STREQ(macros[0].name, "Reload");
  EXPECT_EQ(macros[0].repeatCount, 9);
  EXPECT_EQ(macros[0].stepCount, 2);
  EXPECT_STREQ(macros[1].name, "Grenade");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_STREQ(texts[0].text, "Good game!\n\tSee you \\o/ \xE0 bient\xF4t ");
  EXPECT_EQ(texts[0].delayMs, 120);
  EXPECT_EQ(texts[0].keyBefore, 40);
  EXPECT_EQ(texts[0].keyAfter, 44);
  EXPECT_STREQ(texts[1].text, "\"quoted\"");
}

TEST(ProfileShare, TheFileIsReadableUtf8WithNamedValuesAndOnlyWhatDiffersFromTheDefault) {
  auto original = everyFieldProfile();
  std::strcpy(original->keys[30].appPath, "C:\\Tools\\timer.exe");
  original->keys[30].category = kCategoryLaunch;
  original->keys[30].functionCode = kFunctionLaunch;
  const std::string text = exported(*original);
  EXPECT_TRUE(isValidUtf8(text));
  EXPECT_EQ(text.find("GameFile"), std::string::npos);
  EXPECT_EQ(text.find(".exe"), std::string::npos);  // neither linked nor launched programs
  EXPECT_EQ(lineOf(text, "Format="), "Format=1.1");
  EXPECT_EQ(lineOf(text, "Software="), "Software=1.02");
  EXPECT_EQ(lineOf(text, "Steps="), "Steps=21:1:30 21:2:0");
  EXPECT_EQ(lineOf(text, "Text="), "Text=\"Good game!\\n\\tSee you \\\\o/ \xC3\xA0 bient\xC3\xB4t \"");
  EXPECT_EQ(lineOf(text, "Name=\"Shooter"), "Name=\"Shooter \xC3\xA9t\xC3\xA9 \"night\"\"");
  EXPECT_EQ(lineOf(text, "WindowsKey="), "WindowsKey=Off");
  EXPECT_EQ(lineOf(text, "Effect="), "Effect=Ripple");
  EXPECT_EQ(lineOf(text, "Lighting="), "Lighting=Off");
  EXPECT_EQ(lineOf(text, "StaticColor="), "StaticColor=#030201");
  EXPECT_EQ(lineOf(text, "CtrlClickColor="), "CtrlClickColor=#7FFF00");
  EXPECT_EQ(lineOf(text, "WaveMode="), "WaveMode=Mode1");
  EXPECT_EQ(keyLine(text, 3), "Key3=Macro \"Reload\" PlayNTimes 7 RepeatDelay 250 OnRelease");
  EXPECT_EQ(keyLine(text, 70), "Key70=Macro \"reload\" ToggleAutoRepeat RepeatDelay 9999 OnRelease");
  EXPECT_EQ(keyLine(text, 9), "Key9=Macro \"Grenade\" RepeatWhilePressed RepeatDelay 30");
  EXPECT_EQ(keyLine(text, 20), "Key20=TextMacro \"gg\" PlayNTimes 999");
  EXPECT_EQ(keyLine(text, 21), "Key21=TextMacro \"quote\"");
  EXPECT_EQ(keyLine(text, 40), "Key40=Combination Ctrl+C");
  EXPECT_EQ(keyLine(text, 30), "Key30=Launch");
  EXPECT_EQ(keyLine(text, 12), "Key12=Media Mute");
  EXPECT_EQ(keyLine(text, 13), "Key13=Shortcut Copy");
  EXPECT_EQ(keyLine(text, 14), "Key14=Disabled");
  EXPECT_EQ(keyLine(text, 50), "");               // a default key is not written
  EXPECT_EQ(lineOf(text, "Key0="), "Key0=#200");  // [Remap]: what key 0 sends
  EXPECT_EQ(lineOf(text, "Key100="), "Key100=NonUsBackslash");
  EXPECT_EQ(text.substr(text.size() - 7), "[End]\r\n");

  // A profile with one macro and a few changed keys is a short file.
  auto small = defaultProfile(0);
  std::strcpy(small->profileName, "Shooter");
  bindMacro(small->keys[30], "Reload", {kPressR, kReleaseR, kPressQ});
  small->keys[12].category = kCategoryMedia;
  small->keys[12].functionCode = 25;
  small->keys[9].category = kCategoryDisabled;
  small->keys[9].functionCode = kFunctionDisabled;
  small->keys[7].category = kCategoryCombination;
  small->keys[7].functionCode = kFunctionCombination;
  small->keys[7].steps[0] = MacroStep{224};
  small->keys[7].steps[1] = MacroStep{225};
  small->keys[7].steps[2] = MacroStep{14};
  small->keys[7].stepCount = 3;
  const std::string shortFile = exported(*small);
  EXPECT_LT(shortFile.size(), 8u * 1024) << shortFile;
  EXPECT_EQ(keyLine(shortFile, 7), "Key7=Combination Ctrl+Shift+K");
  EXPECT_EQ(keyLine(shortFile, 12), "Key12=Media VolumeUp");
  EXPECT_EQ(lineOf(shortFile, "Led"), "");  // default colours are not written
  EXPECT_EQ(readOk(shortFile).profile->keys[7].stepCount, 3);
}

TEST(ProfileShare, ExportWritesOnlyWhatEachKeyUses) {
  auto profile = defaultProfile(0);
  // A key that typed a password and launched a program before it became a
  // media key, and a macro key with steps of an older, longer macro behind
  // its own.
  KeyAssignment& media = profile->keys[5];
  bindText(media, "login", "hunter2");
  std::strcpy(media.appPath, "C:\\Users\\someone\\secret.exe");
  media.category = kCategoryMedia;
  media.functionCode = 24;
  KeyAssignment& macro = profile->keys[6];
  bindMacro(macro, "Short", {kPressQ});
  macro.steps[5] = MacroStep::make(99, kActionPress, 1234);
  std::strcpy(macro.textMacroText, "old text");
  const std::string text = exported(*profile);
  for (const char* secret : {"hunter2", "login", "someone", "secret", "old text", "99:1:1234"})
    EXPECT_EQ(text.find(secret), std::string::npos) << secret;
  EXPECT_EQ(keyLine(text, 5), "Key5=Media Mute");
  EXPECT_EQ(lineOf(text, "Steps="), "Steps=20:1:5");

  // The configuration program stores keys the same way.
  clearUnusedKeyFields(media);
  EXPECT_EQ(boundedText(media.textMacroText), "");
  EXPECT_EQ(boundedText(media.textMacroName), "");
  EXPECT_EQ(boundedText(media.appPath), "");
  EXPECT_EQ(media.functionCode, 24);
  clearUnusedKeyFields(macro);
  EXPECT_EQ(macro.steps[5].word, 0u);
  EXPECT_EQ(macro.steps[0], kPressQ);
  EXPECT_EQ(boundedText(macro.macroName), "Short");
  EXPECT_EQ(boundedText(macro.textMacroText), "");
  KeyAssignment combination = profile->keys[7];
  combination.category = kCategoryCombination;
  combination.functionCode = kFunctionCombination;
  combination.steps[0] = MacroStep::make(224, kActionPress, 500);  // left from a recorded macro
  combination.steps[1] = MacroStep{6};
  combination.steps[2] = MacroStep::make(0, kActionRelease, 30);
  combination.stepCount = 2;
  clearUnusedKeyFields(combination);
  EXPECT_EQ(combination.steps[0].word, 224u);
  EXPECT_EQ(combination.steps[1].word, 6u);
  EXPECT_EQ(combination.steps[2].word, 0u);
}

TEST(ProfileShare, EscapedTextsComeBackAsTheyWere) {
  for (const std::string& text : {std::string(""), std::string("  blanks around  "), std::string("a\\nb"),
                                  std::string("\x01\x1F\x7F end"), std::string("\"\""), std::string("'x'")}) {
    std::string back;
    ASSERT_TRUE(unescapeText(escapeText(text), back)) << text;
    EXPECT_EQ(back, text);
    EXPECT_EQ(escapeText(text).find_first_of("\r\n"), std::string::npos);
  }
  std::string out;
  EXPECT_FALSE(unescapeText("ends in \\", out));
  EXPECT_FALSE(unescapeText("\\q", out));
  EXPECT_FALSE(unescapeText("\\x4", out));
  EXPECT_FALSE(unescapeText("\\x00", out));  // would cut the text
  EXPECT_FALSE(unescapeText("\\xZZ", out));
}

// ---------------------------------------------------------------- merging

TEST(ProfileShare, AMacroNameTakenWithOtherStepsComesInUnderTheNextFreeName) {
  auto source = defaultProfile(0);
  bindMacro(source->keys[1], "Reload", {kPressR, kReleaseR});
  bindMacro(source->keys[2], "ABCDEFGHIJKLMNO", {kPressQ});  // as long as a key's name can be
  bindText(source->keys[3], "gg", "Good game");
  SharedProfile shared = readOk(exported(*source));

  MacroLibrary macros{libraryMacro("reload", {kPressQ}), libraryMacro("Reload (2)", {kReleaseR}),
                      libraryMacro("ABCDEFGHIJKLMNO", {kPressR})};
  TextMacroLibrary texts(1);
  std::strcpy(texts[0].name, "GG");
  std::strcpy(texts[0].text, "GOOD GAME");  // the libraries would call it the same; a key types it otherwise
  texts[0].delayMs = 120;
  texts[0].keyBefore = 40;
  texts[0].keyAfter = 44;

  auto target = defaultProfile(2);
  const ImportSummary summary = importSharedProfile(shared, *target, macros, texts);
  EXPECT_EQ(summary.macrosRenamed, 2);
  EXPECT_EQ(summary.textMacrosRenamed, 1);
  ASSERT_EQ(macros.size(), 5u);
  EXPECT_STREQ(macros[3].name, "Reload (3)");
  EXPECT_STREQ(macros[4].name, "ABCDEFGHIJK (2)");
  EXPECT_LT(std::strlen(macros[4].name), sizeof(KeyAssignment::macroName));
  EXPECT_STREQ(target->keys[1].macroName, "Reload (3)");
  EXPECT_EQ(target->keys[1].macroListIndex, 3);
  EXPECT_STREQ(target->keys[2].macroName, "ABCDEFGHIJK (2)");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_STREQ(texts[1].name, "gg (2)");
  EXPECT_STREQ(target->keys[3].textMacroName, "gg (2)");
  EXPECT_STREQ(target->keys[3].textMacroText, "Good game");
  EXPECT_EQ(target->keys[3].macroListIndex, 5 + 1);

  // What the library then hands to the keys is what they play now.
  for (int k : {1, 2}) {
    const MacroMatch m = findMacro(macros, target->keys[k]);
    EXPECT_TRUE(m.found && m.identical) << k;
  }
  const MacroMatch t = findTextMacro(texts, target->keys[3]);
  EXPECT_TRUE(t.found && t.identical);
}

TEST(ProfileShare, IdenticalMacrosAreSharedAndASecondImportAddsNothing) {
  auto source = defaultProfile(0);
  bindMacro(source->keys[1], "Reload", {kPressR, kReleaseR});
  bindMacro(source->keys[2], "Dash", {kPressQ});
  bindText(source->keys[3], "gg", "Good game");
  const std::string text = exported(*source);

  // "Reload" is held as it is under blanks and another case; "Dash" is
  // taken by something else but "Dash (2)" is this very macro.
  MacroLibrary macros{libraryMacro(" reload ", {kPressR, kReleaseR}), libraryMacro("Dash", {kReleaseR}),
                      libraryMacro("Dash (2)", {kPressQ})};
  TextMacroLibrary texts;
  auto first = defaultProfile(1);
  ImportSummary summary = importSharedProfile(readOk(text), *first, macros, texts);
  EXPECT_EQ(summary.macrosShared, 2);
  EXPECT_EQ(summary.macrosAdded + summary.macrosRenamed, 0);
  EXPECT_EQ(macros.size(), 3u);
  EXPECT_STREQ(first->keys[1].macroName, "reload");
  EXPECT_STREQ(first->keys[2].macroName, "Dash (2)");
  EXPECT_EQ(summary.textMacrosAdded, 1);

  auto second = defaultProfile(4);
  summary = importSharedProfile(readOk(text), *second, macros, texts);
  EXPECT_EQ(summary.macrosShared, 2);
  EXPECT_EQ(summary.textMacrosShared, 1);
  EXPECT_EQ(macros.size(), 3u);
  EXPECT_EQ(texts.size(), 1u);
  EXPECT_EQ(std::memcmp(first->keys, second->keys, sizeof first->keys), 0);
}

TEST(ProfileShare, TextsOfAnotherCodePageAreTakenIntoThisOne) {
  // This machine's code page: Latin-1 with the lowest bit of every byte
  // above 127 flipped, so that a wrong conversion shows.
  class Flipped : public TextCodec {
   public:
    unsigned codePage() const override { return 7777; }
    bool toUtf8(std::string_view text, unsigned cp, std::string& utf8) const override {
      if (cp == 28591) return latin1Codec().toUtf8(text, cp, utf8);
      if (cp != 7777) return false;
      return latin1Codec().toUtf8(flip(text), 28591, utf8);
    }
    bool fromUtf8(std::string_view utf8, unsigned cp, std::string& text) const override {
      if (cp == 28591) return latin1Codec().fromUtf8(utf8, cp, text);
      if (cp != 7777 || !latin1Codec().fromUtf8(utf8, 28591, text)) return false;
      text = flip(text);
      return true;
    }

   private:
    static std::string flip(std::string_view text) {
      std::string out(text);
      for (char& c : out)
        if (uint8_t(c) >= 0x80) c = char(c ^ 1);
      return out;
    }
  } flipped;

  auto source = defaultProfile(0);
  std::strcpy(source->profileName, "Caf\xE9");
  bindMacro(source->keys[1], "Caf\xE9", {kPressQ});
  bindText(source->keys[2], "\xE9t\xE9", "\xE0");
  SharedProfile shared = readOk(exported(*source), flipped);
  MacroLibrary macros;
  TextMacroLibrary texts;
  auto target = defaultProfile(1);
  importSharedProfile(shared, *target, macros, texts);
  EXPECT_STREQ(target->profileName, "Caf\xE8");
  EXPECT_STREQ(target->keys[1].macroName, "Caf\xE8");
  EXPECT_STREQ(macros[0].name, "Caf\xE8");
  EXPECT_STREQ(target->keys[2].textMacroName, "\xE8t\xE8");
  EXPECT_STREQ(target->keys[2].textMacroText, "\xE1");

  const std::string foreign = replaced(writeProfileFileFormat10(*source, {}, "1.02", latin1Codec()),
                                       "CodePage=28591", "CodePage=4242");
  EXPECT_NE(refusal(foreign).find("code page 4242"), std::string::npos);
}

// ---------------------------------------------------------------- refusals

TEST(ProfileShare, FilesThatAreNoProfileFilesAreRefusedByName) {
  EXPECT_NE(refusal("").find("not a Varnel Quillon profile"), std::string::npos);
  EXPECT_NE(refusal(std::string("\xFF\xD8\xFF\xE0 JFIF", 9)).find("not UTF-8"), std::string::npos);
  // An installed profile file is INI too, but not a shared profile.
  IniDocument doc;
  {
    class Store : public IniStore {
     public:
      explicit Store(IniDocument& d) : d_(d) {}
      std::string readString(std::string_view, std::string_view, std::string_view v) const override {
        return std::string(v);
      }
      int readInt(std::string_view, std::string_view, int v) const override { return v; }
      bool readStruct(std::string_view, std::string_view, void*, size_t) const override { return false; }
      void writeString(std::string_view s, std::string_view k, std::string_view v) override {
        d_.set(s, k, v);
      }
      void writeInt(std::string_view s, std::string_view k, int v) override {
        d_.set(s, k, std::to_string(v));
      }
      void writeStruct(std::string_view s, std::string_view k, const void* b, size_t n) override {
        d_.set(s, k, encodeStruct(b, n));
      }

     private:
      IniDocument& d_;
    } store(doc);
    saveProfile(*defaultProfile(0), store);
  }
  EXPECT_NE(refusal(doc.serialize()).find("not a Varnel Quillon profile"), std::string::npos);
  EXPECT_NE(refusal(std::string(kMaxProfileFileBytes + 1, ' ')).find("too large"), std::string::npos);
}

TEST(ProfileShare, ANewerMajorFormatIsRefusedAndANewerMinorWithUnknownKeysIsRead) {
  auto source = defaultProfile(0);
  bindMacro(source->keys[1], "Reload", {kPressR});
  const std::string text = exported(*source);
  const std::string newer = replaced(text, "Format=1.1", "Format=2.0");
  const std::string message = refusal(newer);
  EXPECT_NE(message.find("newer version"), std::string::npos) << message;
  EXPECT_NE(message.find("format 2.0"), std::string::npos) << message;

  std::string later = replaced(text, "Format=1.1", "Format=1.7");
  later = replaced(later, "[Macro1]\r\n", "[Macro1]\r\nColour=red\r\n");
  later = replaced(later, "[Lighting]\r\n", "[Lighting]\r\nBacklightCurve=3,4,5\r\n");
  later = replaced(later, "[Keys]", "[Sound]\r\nClick=loud\r\n\r\n[Keys]");
  SharedProfile shared = readOk(later);
  EXPECT_EQ(shared.formatMinor, 7);
  ASSERT_EQ(shared.macros.size(), 1u);
  EXPECT_STREQ(shared.macros[0].name, "Reload");

  EXPECT_NE(refusal(replaced(text, "Format=1.1", "Format=one")).find("not a version number"),
            std::string::npos);
}

TEST(ProfileShare, DamagedOrOutOfRangePartsAreRefusedNamingThePart) {
  auto source = defaultProfile(0);
  bindMacro(source->keys[1], "Reload", {kPressR, kReleaseR});
  bindText(source->keys[2], "gg", "Good game");
  source->keys[3].category = kCategoryMedia;
  source->keys[3].functionCode = 25;
  const std::string text = exported(*source);

  struct Case {
    std::string file, named;
  };
  const Case cases[] = {
      {replaced(text, "Brightness=10\r\n", ""), "[Lighting] Brightness is missing"},
      {replaced(text, "Brightness=10", "Brightness=11"),
       "[Lighting] Brightness is not a number from 0 to 10"},
      {replaced(text, "Effect=Static", "Effect=Strobe"), "[Lighting] Effect is not Static, Breathe"},
      {replaced(text, "WaveSpeed=2", "WaveSpeed=0"), "WaveSpeed is not a number from 1 to 3"},
      {replaced(text, "WaveMode=Mode2", "WaveMode=Mode3"), "WaveMode is not Mode1 or Mode2"},
      {replaced(text, "StaticColor=#FF0000", "StaticColor=red"), "StaticColor is not a colour #RRGGBB"},
      {replaced(text, "WindowsKey=On", "WindowsKey=Maybe"), "WindowsKey is not Off or On"},
      {replaced(text, "[CustomColors]\r\n", "[CustomColors]\r\nLed3=#12345\r\n"), "Led3 is not a colour"},
      {replaced(text, "[Remap]\r\n", "[Remap]\r\nKey4=Hyper\r\n"), "[Remap] Key4 is not a key"},
      {replaced(text, "Macros=1", "Macros=2"), "[Macro2] is missing"},
      {replaced(text, "Macros=1", "Macros=many"), "Macros is not a number"},
      {replaced(text, "Steps=21:1:30 21:2:0", "Steps=21:1"), "Steps the step \"21:1\""},
      {replaced(text, "Steps=21:1:30 21:2:0", "Steps=21:1:70000"), "is not code:action:delay"},
      {replaced(text, "Steps=21:1:30 21:2:0", "Steps=21:7:0"), "is not code:action:delay"},
      {replaced(text, "RepeatCount=0", "RepeatCount=300"), "RepeatCount is not a number from 0 to 255"},
      {replaced(text, "Name=\"Reload\"", "Name=\"  \""), "[Macro1] has no name"},
      {replaced(text, "Text=\"Good game\"", "Text=\"Good\\qgame\""), "[TextMacro1] Text is not a text"},
      {replaced(text, "Text=\"Good game\"", "Text=\"" + std::string(5002, 'x') + "\""),
       "Text is longer than 5001 bytes"},
      {replaced(text, "DelayMs=120", "DelayMs=2147483647"), "DelayMs is not a number from 0 to 65535"},
      {replaced(text, "KeyBefore=40", "KeyBefore=256"), "KeyBefore is not a number"},
      {replaced(text, "Name=\"Reload\"", "Name=\"Other\""), "key 1 plays the macro \"Reload\""},
      {replaced(text, "Name=\"gg\"", "Name=\"hh\""), "key 2 types the text macro \"gg\""},
      {replaced(text, "Key1=Macro \"Reload\"", "Key1=Macro \"Reload\" PlayNTimes 2147483648"),
       "PlayNTimes takes a count from 1 to 999"},
      {replaced(text, "Key1=Macro \"Reload\"", "Key1=Macro \"Reload\" RepeatDelay 10000"),
       "RepeatDelay takes"},
      {replaced(text, "Key1=Macro \"Reload\"", "Key1=Macro Reload"), "is not a quoted text"},
      {replaced(text, "Key1=Macro \"Reload\"", "Key1=Macro \"\""), "a macro without a name"},
      {replaced(text, "Key1=Macro \"Reload\"", "Key1=Run \"cmd\""), "\"Run\" is no key function"},
      {replaced(text, "Key1=Macro \"Reload\"", "Key1=Macro \"Reload\" Twice"), "\"Twice\" is not understood"},
      {replaced(text, "Key3=Media VolumeUp", "Key3=Media Louder"), "\"Louder\" is no media key"},
      {replaced(text, "Key3=Media VolumeUp", "Key3=Combination Ctrl+Ctrl"), "a key twice"},
      {replaced(text, "Key3=Media VolumeUp", "Key3=Combination A+Ctrl"), "no Ctrl, Shift, Alt or Win"},
      {replaced(text, "Key3=Media VolumeUp", "Key3=Combination Ctrl+#250"), "the unknown key 250"},
      {replaced(text, "Key3=Media VolumeUp",
                "Key3=Combination Ctrl+Shift+Alt+Win+RightCtrl+RightShift+"
                "RightAlt+RightWin+A+B"),
       "more than nine keys"},
      {replaced(text, "[End]", "[Fin]"), "its end is missing"},
      {replaced(text, "[Profile]", "[Profiles]"), "[Profile] is missing"},
  };
  for (const Case& c : cases) {
    const std::string message = refusal(c.file);
    EXPECT_NE(message.find(c.named), std::string::npos) << message << "\nshould name: " << c.named;
  }

  std::string twice = replaced(text, "Macros=1", "Macros=2");
  twice = replaced(twice, "[TextMacro1]",
                   "[Macro2]\r\nName=\"RELOAD\"\r\nRepeatCount=0\r\nSteps=\r\n\r\n[TextMacro1]");
  EXPECT_NE(refusal(twice).find("two macros are named \"RELOAD\""), std::string::npos);
  std::string many = replaced(text, "Steps=21:1:30 21:2:0", "Steps=");
  for (int i = 0; i <= kMaxMacroSteps; ++i) many = replaced(many, "Steps=", "Steps=4:1:0 ");
  EXPECT_NE(refusal(many).find("more than 40 steps"), std::string::npos);

  // More keys playing macros or combinations than a profile takes.
  std::string crowded = text;
  for (int k = 40; k < 40 + kMaxMacroKeys; ++k)
    crowded = replaced(crowded, "\r\n[End]", "Key" + std::to_string(k) + "=Combination Ctrl+A\r\n\r\n[End]");
  EXPECT_NE(refusal(crowded).find("36 keys play macros"), std::string::npos) << refusal(crowded);
}

TEST(ProfileShare, AFileCutShortAnywhereIsRefused) {
  auto source = everyFieldProfile();
  const std::string text = exported(*source);
  // Every cut but one that keeps the end line whole: each byte of the last
  // lines, and every few bytes before them.
  const size_t end = text.size() - 2;
  for (size_t cut = 0; cut < end - 2; cut += cut + 300 < end ? 29 : 1) {
    SharedProfile shared;
    EXPECT_NE(readProfileFile(text.substr(0, cut), shared, latin1Codec()), "") << "cut at " << cut;
  }
  SharedProfile shared;
  EXPECT_EQ(readProfileFile(text.substr(0, end), shared, latin1Codec()), "");
}

// ---------------------------------------------------------------- format 1.0

TEST(ProfileShare, AFormat10FileComesInAsTheSameFileOfFormat11Would) {
  auto source = everyFieldProfile();
  const MacroLibrary library{libraryMacro("Reload", {kPressR, kReleaseR}, 9)};
  const SharedProfile older = readOk(writeProfileFileFormat10(*source, library, "1.02", latin1Codec()));
  const SharedProfile newer = readOk(exported(*source, library));
  EXPECT_EQ(older.formatMinor, 0);
  const auto* a = reinterpret_cast<const uint8_t*>(older.profile.get());
  const auto* b = reinterpret_cast<const uint8_t*>(newer.profile.get());
  const size_t first = size_t(std::mismatch(a, a + sizeof(ProfileRecord), b).first - a);
  EXPECT_EQ(first, sizeof(ProfileRecord)) << "first difference at byte " << first;
  ASSERT_EQ(older.macros.size(), newer.macros.size());
  EXPECT_EQ(std::memcmp(older.macros.data(), newer.macros.data(), older.macros.size() * sizeof(MacroRecord)),
            0);
}

// A 1.0 file with its key blocks patched (checksums recomputed), as an
// attacker would hand it over.
class HostileFormat10 : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = defaultProfile(0);
    bindMacro(source_->keys[1], "Reload", {kPressR, kReleaseR});
    bindText(source_->keys[2], "gg", "Good game");
  }
  std::string file() const { return writeProfileFileFormat10(*source_, {}, "1.02", latin1Codec()); }
  std::unique_ptr<ProfileRecord> source_;
};

TEST_F(HostileFormat10, LaunchKeysAndUnknownKindsComeInAsDefaultKeysAndAreCounted) {
  KeyAssignment& launch = source_->keys[16];
  launch.category = kCategoryLaunch;
  launch.functionCode = kFunctionLaunch;
  std::strcpy(launch.appPath, "\\\\203.0.113.7\\s\\x.hta");
  KeyAssignment& odd = source_->keys[17];
  odd.category = 7;
  odd.functionCode = 200;
  std::strcpy(odd.textMacroText, "hidden");
  // A default key with a text nobody sees behind it.
  std::strcpy(source_->keys[18].textMacroText, "net user x /add");
  source_->keys[18].steps[0] = MacroStep::make(21, kActionPress, 0);
  const SharedProfile shared = readOk(file());
  EXPECT_EQ(shared.launchKeysDropped, 1);
  EXPECT_EQ(shared.unknownKeysDropped, 1);
  auto plain = defaultProfile(0);
  for (int k : {16, 17, 18})
    EXPECT_EQ(std::memcmp(&shared.profile->keys[k], &plain->keys[k], sizeof(KeyAssignment)), 0) << k;

  MacroLibrary macros;
  TextMacroLibrary texts;
  auto target = defaultProfile(1);
  const ImportSummary summary = importSharedProfile(shared, *target, macros, texts);
  EXPECT_EQ(summary.launchKeysDropped, 1);
  EXPECT_EQ(summary.unknownKeysDropped, 1);
  EXPECT_EQ(summary.macroKeys, 1);
  EXPECT_EQ(summary.textMacroKeys, 1);
}

TEST_F(HostileFormat10, KeysWithoutANameTheFileHoldsOrOutOfRangeAreRefused) {
  struct Case {
    std::function<void(ProfileRecord&)> patch;
    std::string named;
  };
  const Case cases[] = {
      {[](ProfileRecord& p) {  // Win+R, "cmd", Enter behind a nameless macro
         bindMacro(p.keys[31], "",
                   {MacroStep::make(227, kActionPress, 0), MacroStep::make(21, kActionPress, 0)});
       },
       "key 31 holds a macro without a name"},
      {[](ProfileRecord& p) {  // a nameless text macro repeating 2^31 times
         bindText(p.keys[45], "", "pasted");
         p.keys[45].playMode = kPlayNTimes;
         p.keys[45].playCount = INT32_MAX;
       },
       "key 45 holds a text macro without a name"},
      {[](ProfileRecord& p) { p.keys[1].playCount = -1; }, "a play count of -1"},
      {[](ProfileRecord& p) { p.keys[2].playCount = INT32_MAX; }, "a play count of 2147483647"},
      {[](ProfileRecord& p) { p.keys[1].repeatDelayMs = 60000; }, "a repeat delay of 60000 ms"},
      {[](ProfileRecord& p) { p.keys[1].triggerMode = 2; }, "the trigger 2"},
      {[](ProfileRecord& p) { p.keys[2].playMode = 9; }, "the play mode 9"},
      {[](ProfileRecord& p) {
         p.keys[3].category = kCategoryCombination;
         p.keys[3].functionCode = kFunctionCombination;
       },
       "a key combination without keys"},
      {[](ProfileRecord& p) { p.lightFx = 5; }, "LightFX is 5"},
      {[](ProfileRecord& p) { p.ltControl = 60; }, "LtControl is 60"},
      {[](ProfileRecord& p) { p.leftWinLock = -1; }, "LeftWin is -1"},
      {[](ProfileRecord& p) { p.rippleSpeed = 9; }, "RippleSpeed is 9"},
      {[](ProfileRecord& p) { p.staticColor = 0xFF000000; }, "StaticColor is no colour"},
  };
  for (const Case& c : cases) {
    auto saved = std::make_unique<ProfileRecord>(*source_);
    c.patch(*source_);
    const std::string message = refusal(file());
    EXPECT_NE(message.find(c.named), std::string::npos) << message << "\nshould name: " << c.named;
    *source_ = *saved;
  }
}

TEST_F(HostileFormat10, TheReadableSectionsAreWhatTheKeysPlay) {
  // The sections say other steps and another text than the key blocks: the
  // sections win, and a key whose macro no section names is refused.
  std::string text = file();
  text = replaced(text, "Steps=21:1:30 21:2:0", "Steps=20:1:5");
  text = replaced(text, "Text=\"Good game\"", "Text=\"Well played\"");
  const SharedProfile shared = readOk(text);
  ASSERT_TRUE(shared.profile);
  const KeyAssignment& macro = shared.profile->keys[1];
  EXPECT_EQ(macro.stepCount, 1);
  EXPECT_EQ(macro.steps[0], kPressQ);
  EXPECT_EQ(macro.steps[1].word, 0u);
  EXPECT_STREQ(shared.profile->keys[2].textMacroText, "Well played");
  EXPECT_NE(
      refusal(replaced(file(), "Name=\"Reload\"", "Name=\"Other\"")).find("key 1 plays the macro \"Reload\""),
      std::string::npos);
}
