#include "KeyPageRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::unique_ptr<EditEntry> defaultEntry(int keyIndex = 10) {
  auto entry = std::make_unique<EditEntry>();
  buildDefaultKey(*entry, keyIndex);
  return entry;
}

std::vector<unsigned> commandsOf(const std::vector<KeyMenuEntry>& menu) {
  std::vector<unsigned> commands;
  for (const KeyMenuEntry& e : menu) commands.push_back(e.command);
  return commands;
}

std::unique_ptr<ProfileRecord> defaultProfile() {
  auto profile = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*profile, 0);
  return profile;
}

// `count` keys from key 0 on hold combinations; totalMacro says `stored`.
std::unique_ptr<ProfileRecord> profileWithMacroKeys(int count, int stored) {
  auto profile = defaultProfile();
  for (int k = 0; k < count; ++k) {
    profile->keys[k].category = kCategoryCombination;
    profile->keys[k].functionCode = kFunctionCombination;
    profile->keys[k].steps[0] = MacroStep::make(4, 0, 0);
  }
  profile->totalMacro = stored;
  return profile;
}

}  // namespace

TEST(CategoryMenu, OrderSeparatorsAndTexts) {
  const auto menu = CategoryMenu(true);
  EXPECT_EQ(commandsOf(menu), (std::vector<unsigned>{2001, 0, 2003, 2004, 2005, 0, 2006, 2008, 0, 2009}));
  std::vector<int> ids;
  for (const KeyMenuEntry& e : menu)
    if (!e.separator()) ids.push_back(e.textId);
  EXPECT_EQ(ids, (std::vector<int>{1076, 1078, 1079, 1080, 1081, 1083, 1084}));
}

TEST(CategoryMenu, WithoutAMacroBufferOnlyTheCombinationGoesTextMacrosNeedNone) {
  EXPECT_EQ(commandsOf(CategoryMenu(false)),
            (std::vector<unsigned>{2001, 0, 2004, 2005, 0, 2006, 2008, 0, 2009}));
}

TEST(MacroBuffers, CountedFromTheKeysNotFromTheStoredCount) {
  // A file without TotalMacro, or with a wrong one: the keys say 35.
  for (int stored : {-1, 0, 34, 99}) {
    auto full = profileWithMacroKeys(kMaxMacroKeys, stored);
    EXPECT_FALSE(MacroBufferFor(*full, 50)) << stored;
    EXPECT_TRUE(MacroBufferFor(*full, 0)) << stored;  // holds one: may keep or change it
  }
  auto almost = profileWithMacroKeys(kMaxMacroKeys - 1, kMaxMacroKeys);
  EXPECT_TRUE(MacroBufferFor(*almost, 50));
  // A text macro takes no buffer.
  almost->keys[60].functionCode = kFunctionTextMacro;
  EXPECT_TRUE(MacroBufferFor(*almost, 50));
  almost->keys[60].functionCode = kFunctionRecordedMacro;
  EXPECT_FALSE(MacroBufferFor(*almost, 50));

  auto image = std::make_unique<SettingsImage>();
  buildDefaultImage(*image);
  image->profiles[2] = *almost;
  image->profiles[4].totalMacro = -1;
  RecountMacroKeys(*image);
  EXPECT_EQ(image->profiles[2].totalMacro, kMaxMacroKeys);
  EXPECT_EQ(image->profiles[4].totalMacro, 0);
}

TEST(CategoryMenu, CommandsOutsideTheMenuGiveCategory2AndTheDefaultView) {
  for (unsigned unused : {2002u, 2007u, 2010u, 2100u}) EXPECT_EQ(CategoryFromCommand(unused), 2) << unused;
  for (uint8_t other : {0, 2, 7, 10}) {
    EXPECT_EQ(ViewOfCategory(other).page, KeySubPage::Default);
    EXPECT_EQ(ViewOfCategory(other).labelId, 1076);
  }
}

TEST(CategoryMenu, ChoosingSetsFixedCodesAndResetsPlayValues) {
  auto entry = defaultEntry();
  entry->category = kCategoryMacro;
  entry->functionCode = kFunctionRecordedMacro;
  entry->playMode = kPlayNTimes;
  entry->playCount = 7;
  entry->repeatDelayMs = 300;
  EXPECT_EQ(ChooseCategory(*entry, 2004), KeyControlStates{});
  EXPECT_EQ(entry->category, kCategoryMedia);
  EXPECT_EQ(entry->functionCode, kFunctionRecordedMacro);  // until a media button is chosen
  EXPECT_EQ(entry->playMode, 0);
  EXPECT_EQ(entry->playCount, 0);
  EXPECT_EQ(entry->repeatDelayMs, 0);

  ChooseCategory(*entry, 2009);
  EXPECT_EQ(entry->functionCode, kFunctionDisabled);
  ChooseCategory(*entry, 2001);
  EXPECT_EQ(entry->functionCode, kFunctionDefault);
  // Outside the menu's range nothing changes.
  ChooseCategory(*entry, 3001);
  EXPECT_EQ(entry->category, kCategoryDefault);
}

TEST(EnablingRules, ByPlayModeForCombinationAndMacro) {
  auto entry = defaultEntry();
  ChooseCategory(*entry, 2005);
  EXPECT_EQ(ChoosePlayMode(*entry, 3001), (KeyControlStates{true, false, false, true}));
  EXPECT_EQ(ChoosePlayMode(*entry, 3002), (KeyControlStates{true, true, true, true}));
  EXPECT_EQ(ChoosePlayMode(*entry, 3003), (KeyControlStates{true, false, true, false}));
  EXPECT_EQ(entry->playMode, kPlayWhilePressed);
  EXPECT_EQ(ChoosePlayMode(*entry, 3004), (KeyControlStates{true, false, true, true}));
  EXPECT_EQ(ChoosePlayMode(*entry, 3005), (KeyControlStates{true, false, false, true}));
  EXPECT_EQ(entry->playMode, kPlayOnce);
  EXPECT_STREQ(PlayModeText(2), "Repeat While Pressed");
  EXPECT_STREQ(PlayModeText(9), "Play Once");
  EXPECT_EQ(PlayModeMenu().size(), 4u);
  EXPECT_STREQ(PlayModeMenu()[3].text, "Toggle Auto-Repeat");
}

TEST(EnablingRules, CategoriesNotFromTheMenuKeepTheirValues) {
  for (uint8_t category : {0, 2, 10}) {
    auto entry = defaultEntry();
    entry->category = category;
    entry->playMode = kPlayToggle;
    entry->playCount = 5;
    entry->repeatDelayMs = 40;
    EXPECT_EQ(ApplyEnablingRules(*entry), KeyControlStates{});
    EXPECT_EQ(entry->playMode, kPlayToggle);
    EXPECT_EQ(entry->playCount, 5);
    EXPECT_EQ(entry->repeatDelayMs, 40);
  }
}

TEST(NumberEdits, CountWhileTyping) {
  EXPECT_FALSE(CheckPlayCountWhileTyping("").store);
  const CountEditResult zero = CheckPlayCountWhileTyping("0");
  EXPECT_TRUE(zero.store && zero.rewrite);
  EXPECT_EQ(zero.value, 1);
  const CountEditResult plain = CheckPlayCountWhileTyping("042");
  EXPECT_EQ(plain.value, 42);
  EXPECT_FALSE(plain.rewrite);
  EXPECT_EQ(CheckPlayCountWhileTyping("1000").value, 999);
  EXPECT_TRUE(CheckPlayCountWhileTyping("1000").rewrite);
  EXPECT_FALSE(CheckPlayCountWhileTyping("999").rewrite);
}

TEST(NumberEdits, OkClampsBothEdits) {
  EXPECT_EQ(ParsePlayCount(""), 1);
  EXPECT_EQ(ParsePlayCount("-5"), 1);
  EXPECT_EQ(ParsePlayCount("5000"), 999);
  EXPECT_EQ(ParseRepeatDelay(""), 0);
  EXPECT_EQ(ParseRepeatDelay("5000"), 5000);
  EXPECT_EQ(ParseRepeatDelay("99999"), 9999);
  EXPECT_EQ(ParseRepeatDelay("99999999999999999999"), 9999);  // no overflow
  EXPECT_EQ(ParseRepeatDelay("12x4"), 12);
}

TEST(ConfirmEntry, ValidationTable) {
  struct Case {
    const char* what;
    uint8_t category, functionCode;
    const char *macroName, *textMacroName, *appPath;
    uint8_t firstKey;
    bool fallsBack;
  };
  const Case cases[] = {
      {"macro without either name", 5, 3, "", "", "", 0, true},
      {"recorded macro", 5, 3, "M1", "", "", 0, false},
      {"text macro", 5, 58, "", "T1", "", 0, false},
      {"macro name left from an old binding", 5, 64, "M1", "", "", 0, true},
      {"launch without path", 6, 11, "", "", "", 0, true},
      {"launch", 6, 11, "", "", "C:\\a.exe", 0, false},
      {"launch path of an older binding", 6, 50, "", "", "C:\\a.exe", 0, true},
      {"combination without key", 3, 2, "", "", "", 0, true},
      {"combination", 3, 2, "", "", "", 4, false},
      {"combination over a recorded macro", 3, 3, "", "", "", 4, true},
      {"media", 4, 24, "", "", "", 0, false},
      {"media over a recorded macro", 4, 3, "", "", "", 0, true},
      {"shortcut", 8, 57, "", "", "", 0, false},
      {"shortcut over a launch", 8, 11, "", "", "", 0, true},
      {"disabled", 9, 1, "", "", "", 0, false},
      {"unknown category", 7, 0, "", "", "", 0, false},
  };
  for (const Case& c : cases) {
    auto entry = defaultEntry();
    entry->category = c.category;
    entry->functionCode = c.functionCode;
    std::strcpy(entry->macroName, c.macroName);
    std::strcpy(entry->textMacroName, c.textMacroName);
    std::strcpy(entry->appPath, c.appPath);
    entry->steps[0] = MacroStep::make(c.firstKey, kActionPress, 0);
    entry->steps[1] = MacroStep::make(c.firstKey ? 5 : 0, kActionPress, 0);
    auto profile = defaultProfile();
    // OK says why it refuses exactly what it would otherwise fall back from.
    EXPECT_EQ(IncompleteEntryReason(*entry, *profile) != nullptr, c.fallsBack) << c.what;
    const ConfirmResult result = ConfirmEntry(*entry, "3", "20", *profile);
    EXPECT_EQ(result.fellBack, c.fallsBack) << c.what;
    EXPECT_EQ(entry->category, c.fallsBack ? uint8_t(kCategoryDefault) : c.category) << c.what;
    EXPECT_EQ(entry->functionCode, c.fallsBack ? uint8_t(kFunctionDefault) : c.functionCode) << c.what;
    EXPECT_EQ(entry->playCount, 3) << c.what;
    EXPECT_EQ(entry->repeatDelayMs, 20) << c.what;
    EXPECT_TRUE(std::equal(profile->standardKey, profile->standardKey + kKeyCount, defaultUsageOf)) << c.what;
  }
}

TEST(ConfirmEntry, SingleCapturedKeyRemapsTheStandardKey) {
  auto entry = defaultEntry(31);  // the Q key
  ChooseCategory(*entry, 2003);
  entry->functionCode = kFunctionCombination;
  entry->steps[0] = MacroStep::make(20 + 1, 0, 0);
  auto standard = defaultProfile();
  EXPECT_TRUE(ConfirmEntry(*entry, "1", "0", *standard).standardKeyWritten);
  EXPECT_EQ(standard->standardKey[31], 21);
  EXPECT_EQ(standard->standardKey[30], defaultUsageOf[30]);

  // Two keys: a combination, the key's own usage stays.
  entry->steps[1] = MacroStep::make(224, 0, 0);
  auto untouched = defaultProfile();
  EXPECT_FALSE(ConfirmEntry(*entry, "1", "0", *untouched).standardKeyWritten);
  EXPECT_TRUE(std::equal(untouched->standardKey, untouched->standardKey + kKeyCount, defaultUsageOf));

  // A key index beyond the keyboard writes nothing.
  entry->steps[1].word = 0;
  entry->keyIndex = kKeyCount;
  auto guarded = defaultProfile();
  EXPECT_FALSE(ConfirmEntry(*entry, "1", "0", *guarded).standardKeyWritten);
}

TEST(ConfirmEntry, ARecordedMacroWhoseStepsAnotherPageClearedIsRefused) {
  auto profile = defaultProfile();
  auto entry = defaultEntry(40);
  ChooseCategory(*entry, 2005);
  entry->functionCode = kFunctionRecordedMacro;
  std::strcpy(entry->macroName, "Jump");
  entry->stepCount = 2;
  entry->steps[0] = MacroStep::make(4, kActionPress, 30);
  entry->steps[1] = MacroStep::make(4, kActionRelease, 0);
  auto whole = std::make_unique<EditEntry>(*entry);
  EXPECT_FALSE(ConfirmEntry(*whole, "1", "0", *profile).fellBack);
  auto empty = std::make_unique<EditEntry>(*entry);
  empty->stepCount = 0;  // a macro not yet recorded is still a choice
  EXPECT_FALSE(ConfirmEntry(*empty, "1", "0", *profile).fellBack);

  // The combination page's RECORD clears the key bytes of the first steps.
  entry->steps[0].word &= ~0xFFu;
  EXPECT_TRUE(ConfirmEntry(*entry, "1", "0", *profile).fellBack);
  EXPECT_EQ(entry->functionCode, kFunctionDefault);
  auto oddAction = std::make_unique<EditEntry>(*whole);
  oddAction->steps[1] = MacroStep::make(4, 0, 0);
  EXPECT_TRUE(ConfirmEntry(*oddAction, "1", "0", *profile).fellBack);
}

TEST(ConfirmEntry, TheThirtySixthMacroKeyIsRefusedATextMacroIsNot) {
  auto full = profileWithMacroKeys(kMaxMacroKeys, -1);
  auto entry = defaultEntry(60);
  ChooseCategory(*entry, 2003);
  entry->functionCode = kFunctionCombination;
  entry->steps[0] = MacroStep::make(5, 0, 0);
  entry->steps[1] = MacroStep::make(224, 0, 0);
  EXPECT_NE(std::string(IncompleteEntryReason(*entry, *full)).find("35"), std::string::npos);
  EXPECT_TRUE(ConfirmEntry(*entry, "1", "0", *full).fellBack);

  auto text = defaultEntry(60);
  ChooseCategory(*text, 2005);
  text->functionCode = kFunctionTextMacro;
  std::strcpy(text->textMacroName, "Sig");
  EXPECT_FALSE(ConfirmEntry(*text, "1", "0", *full).fellBack);

  // A key that holds one of the 35 may take another.
  auto own = defaultEntry(3);
  ChooseCategory(*own, 2003);
  own->functionCode = kFunctionCombination;
  own->steps[0] = MacroStep::make(6, 0, 0);
  own->steps[1] = MacroStep::make(225, 0, 0);
  EXPECT_FALSE(ConfirmEntry(*own, "1", "0", *full).fellBack);
}
