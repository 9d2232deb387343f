#include <gtest/gtest.h>

#include <cstring>

#include "FakeKeyboardLayout.h"
#include "MacroNameRules.h"

namespace {

MacroLibrary library(std::initializer_list<const char*> names) {
  MacroLibrary lib;
  for (const char* n : names) {
    MacroRecord r{};
    std::strcpy(r.name, n);
    lib.push_back(r);
  }
  return lib;
}

TEST(MacroNames, NewLinesAreTrimmedCutAndUniqueIgnoringCase) {
  MacroLibrary lib = library({"Jump", " Dash "});
  EXPECT_TRUE(addMacro(lib, "  Reload  "));
  ASSERT_EQ(lib.size(), 3u);
  EXPECT_STREQ(lib[2].name, "Reload");
  EXPECT_EQ(lib[2].stepCount, 0);
  EXPECT_EQ(lib[2].repeatCount, 0);

  EXPECT_FALSE(addMacro(lib, "jUMP"));
  EXPECT_FALSE(addMacro(lib, "dash"));  // stored names compare trimmed
  EXPECT_FALSE(addMacro(lib, "   "));   // no name left to bind a key by
  EXPECT_FALSE(addMacro(lib, std::string_view("\0Ghost", 6)));
  EXPECT_FALSE(addMacro(lib, std::string_view("Jump\0x", 6)));  // "Jump" as the record would hold it
  EXPECT_EQ(lib.size(), 3u);

  // The untouched new-line text is a name of its own, once.
  EXPECT_TRUE(addMacro(lib, kNewMacroLineText));
  EXPECT_STREQ(lib[3].name, "Macro:");
  EXPECT_FALSE(addMacro(lib, kNewMacroLineText));

  EXPECT_TRUE(addMacro(lib, "abcdefghijklmn opq"));
  EXPECT_STREQ(lib[4].name, "abcdefghijklmn");  // cut at 15, the blank trimmed
}

TEST(MacroNames, RenameRefusesAnotherEntrysNameButNotItsOwn) {
  MacroLibrary lib = library({"Jump", "Dash"});
  EXPECT_FALSE(renameMacro(lib, 1, "JUMP"));
  EXPECT_STREQ(lib[1].name, "Dash");
  EXPECT_TRUE(renameMacro(lib, 1, "DASH"));
  EXPECT_STREQ(lib[1].name, "DASH");
  // The rename editor has no limit of its own; a key holds only 15 characters.
  EXPECT_TRUE(renameMacro(lib, 0, std::string(40, 'x')));
  EXPECT_EQ(std::strlen(lib[0].name), kMaxNameLength);
  EXPECT_FALSE(renameMacro(lib, 2, "Other"));

  TextMacroLibrary texts(2);
  std::strcpy(texts[0].name, "Hello");
  std::strcpy(texts[1].name, "Bye");
  EXPECT_FALSE(renameTextMacro(texts, 1, " hello "));
  EXPECT_TRUE(addTextMacro(texts, kNewTextMacroLineText));
  EXPECT_STREQ(texts[2].name, "TMacro:");
}

TEST(MacroNames, ManagerOpensOnTheEditedKeysMacro) {
  const std::vector<std::string> names{"Jumper", "Dash", "jump"};
  KeyAssignment key{};
  key.functionCode = kFunctionRecordedMacro;
  std::strcpy(key.macroName, "JUMP");
  EXPECT_EQ(initialMacroLine(names, key), 2);
  std::strcpy(key.macroName, "Das");
  EXPECT_EQ(initialMacroLine(names, key), 1);  // an older, cut name still finds its line
  std::strcpy(key.macroName, "Gone");
  EXPECT_EQ(initialMacroLine(names, key), 0);
  key.functionCode = kFunctionTextMacro;
  std::strcpy(key.macroName, "Dash");
  EXPECT_EQ(initialMacroLine(names, key), 0);
  EXPECT_EQ(initialMacroLine({}, key), -1);
}

TEST(MacroNames, DeletionSelectsTheSameIndexOrTheNewLast) {
  MacroLibrary lib = library({"a", "b", "c"});
  EXPECT_EQ(deleteMacro(lib, 1), 1);
  EXPECT_STREQ(lib[1].name, "c");
  EXPECT_EQ(deleteMacro(lib, 1), 0);
  EXPECT_EQ(deleteMacro(lib, 0), -1);
  EXPECT_TRUE(lib.empty());
  EXPECT_EQ(deleteMacro(lib, 0), -1);
  EXPECT_EQ(selectionAfterRemoval(5, 2), 1);
}

TEST(MacroRepeat, OffSurvivesAReloadAndTheCountIsClamped) {
  MacroRecord r{};
  EXPECT_FALSE(repeatViewOf(r).on);  // a new record
  EXPECT_EQ(repeatViewOf(r).count, 1);
  r.repeatCount = storedRepeatCount(false, 12);
  EXPECT_EQ(r.repeatCount, 1);
  EXPECT_FALSE(repeatViewOf(r).on);
  r.repeatCount = storedRepeatCount(true, 12);
  EXPECT_TRUE(repeatViewOf(r).on);
  EXPECT_EQ(repeatViewOf(r).count, 12);
  r.repeatCount = 9000;  // from a damaged file
  EXPECT_EQ(repeatViewOf(r).count, 255);

  EXPECT_EQ(repeatCountFromEdit("256").value, 255);
  EXPECT_TRUE(repeatCountFromEdit("256").clamped);
  EXPECT_EQ(repeatCountFromEdit("0").value, 1);
  EXPECT_FALSE(repeatCountFromEdit("255").clamped);
}

TEST(TextMacroFields, DelayClampsToZeroUpTo65535AndTextStopsAt4000) {
  EXPECT_EQ(textDelayFromEdit("70000").value, 65535);
  EXPECT_TRUE(textDelayFromEdit("70000").clamped);
  EXPECT_EQ(textDelayFromEdit("0").value, 0);
  EXPECT_FALSE(textDelayFromEdit("0").clamped);
  EXPECT_EQ(textDelayFromEdit("-1").value, 0);
  EXPECT_TRUE(textDelayFromEdit("-1").clamped);

  TextMacroRecord r{};
  storeText(r, std::string(5000, 'q'));
  EXPECT_EQ(textOf(r).size(), kMaxTextMacroLength);
  storeText(r, "short");
  EXPECT_EQ(textOf(r), "short");
  EXPECT_EQ(r.text[6], '\0');  // nothing of the longer text stays behind
}

TEST(TextMacroKeys, OnePressEndsTheCaptureAndButtonsShowTheKey) {
  FakeUsLayout layout;
  EXPECT_EQ(capturedKey(hookEventFromMessage(0xA0, 0, 0), layout), std::optional<uint8_t>(225));  // L Shift
  EXPECT_EQ(capturedKey(hookEventFromMessage(0xA0, kHookFlagReleased, 0), layout), std::nullopt);
  EXPECT_EQ(capturedKey(hookEventFromMessage(0xFF, 0, 0), layout), std::nullopt);

  EXPECT_EQ(mouseButtonCode(MouseButton::Left), 240);
  EXPECT_EQ(mouseButtonCode(MouseButton::Right), 241);
  EXPECT_EQ(mouseButtonCode(MouseButton::Middle), 242);
  EXPECT_EQ(mouseButtonCode(MouseButton::X1), 244);
  EXPECT_EQ(mouseButtonCode(MouseButton::X2), 243);

  EXPECT_EQ(keyButtonText(0, layout), "Click to record");
  EXPECT_EQ(keyButtonText(225, layout), "L_Shift");
  EXPECT_EQ(keyButtonText(241, layout), "R Button");
}

}  // namespace
