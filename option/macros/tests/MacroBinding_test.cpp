#include "MacroBinding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "MacroManagerRules.h"
#include "MacroNameRules.h"
#include "TextMacroManagerRules.h"

namespace {

MacroRecord macro(const char* name, int steps, uint8_t code) {
  MacroRecord r{};
  std::strcpy(r.name, name);
  r.repeatCount = 1;
  r.stepCount = steps;
  for (int i = 0; i < steps; ++i) r.steps[i] = MacroStep::make(code, kActionPress, uint16_t(i));
  return r;
}

TextMacroRecord textMacro(const char* name, const char* text) {
  TextMacroRecord r{};
  std::strcpy(r.name, name);
  std::strcpy(r.text, text);
  r.delayMs = 300;
  r.keyBefore = 40;
  r.keyAfter = 241;
  return r;
}

KeyAssignment defaultKey(int index) {
  KeyAssignment key;
  buildDefaultKey(key, index);
  key.functionCode = kFunctionDefault;
  return key;
}

class MacroBindingTest : public ::testing::Test {
 protected:
  MacroLibrary macros_{macro("Jump", 2, 4), macro(" Dash ", 40, 5)};
  TextMacroLibrary texts_{textMacro("Hello", "Hello, world"), textMacro("Sig", "Regards")};
};

TEST_F(MacroBindingTest, PickerListsMacrosThenTextMacros) {
  EXPECT_EQ(macroPickerLines(macros_, texts_), (std::vector<std::string>{"Jump", " Dash ", "Hello", "Sig"}));
}

TEST_F(MacroBindingTest, BindingARecordedMacroCopiesNameStepsAndCode) {
  KeyAssignment key = defaultKey(3);
  std::strcpy(key.macroName, "a longer name!!");
  key.reserved0 = 77;
  ASSERT_TRUE(bindPickerLine(key, 1, macros_, texts_));
  EXPECT_EQ(key.functionCode, kFunctionRecordedMacro);
  EXPECT_EQ(key.macroListIndex, 1);
  EXPECT_EQ(0, std::memcmp(key.macroName, "Dash\0\0\0\0\0\0\0\0\0\0\0\0", 16));  // trimmed, rest cleared
  EXPECT_EQ(key.reserved0, 0);
  EXPECT_EQ(key.stepCount, 40);
  EXPECT_EQ(0, std::memcmp(key.steps, macros_[1].steps, sizeof key.steps));
  // The key is found again by the library lookup.
  EXPECT_TRUE(findMacro(macros_, key).found);
  EXPECT_TRUE(findMacro(macros_, key).identical);
}

TEST_F(MacroBindingTest, BindingATextMacroCopiesItsFiveFields) {
  KeyAssignment key = defaultKey(3);
  ASSERT_TRUE(bindPickerLine(key, 2, macros_, texts_));
  EXPECT_EQ(key.functionCode, kFunctionTextMacro);
  EXPECT_EQ(key.macroListIndex, 2);
  EXPECT_STREQ(key.textMacroName, "Hello");
  EXPECT_STREQ(key.textMacroText, "Hello, world");
  EXPECT_EQ(key.textDelayMs, 300);
  EXPECT_EQ(key.keyBefore, 40);
  EXPECT_EQ(key.keyAfter, 241);

  const KeyAssignment before = key;
  EXPECT_FALSE(bindPickerLine(key, 4, macros_, texts_));
  EXPECT_FALSE(bindPickerLine(key, -1, macros_, texts_));
  EXPECT_EQ(0, std::memcmp(&key, &before, sizeof key));
}

TEST_F(MacroBindingTest, SelectionFollowsTheBoundMacroByName) {
  KeyAssignment key = defaultKey(3);
  bindPickerLine(key, 3, macros_, texts_);  // "Sig"
  macros_.erase(macros_.begin());           // the list moved up by one
  EXPECT_EQ(selectPickerLine(key, macros_, texts_), 2);
  EXPECT_EQ(key.macroListIndex, 2);

  bindPickerLine(key, 0, macros_, texts_);  // "Dash"
  EXPECT_EQ(selectPickerLine(key, macros_, texts_), 0);
  deleteMacro(macros_, 0);
  EXPECT_EQ(selectPickerLine(key, macros_, texts_), -1);

  KeyAssignment plain = defaultKey(5);
  plain.macroListIndex = 2;
  EXPECT_EQ(selectPickerLine(plain, macros_, texts_), -1);
  EXPECT_EQ(plain.macroListIndex, -1);
}

TEST_F(MacroBindingTest, PageCopyOfAKeyFollowsTheLibraries) {
  KeyAssignment key = defaultKey(9);
  bindPickerLine(key, 0, macros_, texts_);
  macros_[0].stepCount = 1;
  macros_[0].steps[0] = MacroStep::make(30, kActionRelease, 5);
  refreshFromLibraries(key, 9, macros_, texts_);
  EXPECT_EQ(key.stepCount, 1);
  EXPECT_EQ(key.steps[0], MacroStep::make(30, kActionRelease, 5));

  texts_.clear();
  KeyAssignment text = defaultKey(9);
  text.functionCode = kFunctionTextMacro;
  std::strcpy(text.textMacroName, "Gone");
  refreshFromLibraries(text, 9, macros_, texts_);
  const KeyAssignment expected = defaultKey(9);
  EXPECT_EQ(0, std::memcmp(&text, &expected, sizeof text));
}

TEST_F(MacroBindingTest, ThePageShowsTheBoundMacroAndTheKeyHoldsItsStepsAgain) {
  // Macro -> Combination -> RECORD cleared the key bytes of the first nine
  // steps; back on the macro page the bound macro shows selected.
  KeyAssignment key = defaultKey(7);
  bindPickerLine(key, 1, macros_, texts_);  // Dash, 40 steps
  for (int i = 0; i < 9; ++i) key.steps[i].word &= ~0xFFu;
  EXPECT_EQ(selectPickerLine(key, macros_, texts_), 1);
  EXPECT_EQ(0, std::memcmp(key.steps, macros_[1].steps, sizeof key.steps));
  EXPECT_EQ(key.stepCount, 40);
}

TEST(NameTrail, RenamesFollowEachRecordFromItsNameAtOpen) {
  NameTrail trail({"A", "B", "C", "D"});
  // A -> X -> Y (chained); B deleted; C and D swap names over a free one;
  // then a new record takes A's old name.
  trail.removed(1);
  trail.appended();
  const RenameMap map = trail.renames({"Y", "D", "C", "A"});
  // B's keys become default keys first: a record named B later must not take them.
  ASSERT_EQ(map.size(), 4u);
  EXPECT_EQ(map[0].from, "B");
  EXPECT_TRUE(map[0].deleted());
  EXPECT_EQ(map[1].from, "A");
  EXPECT_EQ(map[1].to, "Y");
  EXPECT_EQ(map[2].from, "C");
  EXPECT_EQ(map[2].to, "D");
  EXPECT_EQ(map[3].from, "D");
  EXPECT_EQ(map[3].to, "C");
  // Each name moves once: the swap is not followed on into itself.
  ASSERT_NE(renameOf(map, "c"), nullptr);
  EXPECT_EQ(renameOf(map, "c")->to, "D");
  EXPECT_EQ(renameOf(map, " d ")->to, "C");
  EXPECT_TRUE(renameOf(map, "b")->deleted());

  // A deleted record whose name another record had at the start too (an
  // older file with one name twice) leaves its keys to that one.
  NameTrail twiceDeleted({"Run", "run"});
  twiceDeleted.removed(1);
  EXPECT_TRUE(twiceDeleted.renames({"Run"}).empty());

  // An older file with one name twice: the keys play the last record of it.
  NameTrail twice({"Run", "run"});
  EXPECT_TRUE(twice.renames({"Walk", "run"}).empty());
  ASSERT_EQ(twice.renames({"Run", "Sprint"}).size(), 1u);
  EXPECT_EQ(twice.renames({"Run", "Sprint"})[0].to, "Sprint");
}

class ManagerCloseTest : public MacroBindingTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillon-macros-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = std::string(pattern) + "/";
    ASSERT_EQ(system(("mkdir -p " + folder_ + "config").c_str()), 0);
    image_ = std::make_unique<SettingsImage>();
    std::memset(image_.get(), 0, sizeof *image_);
    buildDefaultImage(*image_);
  }
  void TearDown() override { (void)system(("rm -rf " + folder_).c_str()); }
  KeyAssignment& key(int p, int k) { return image_->profiles[p].keys[k]; }

  std::string folder_;
  std::unique_ptr<SettingsImage> image_;
};

TEST_F(ManagerCloseTest, DeletedMacroTurnsItsKeysIntoDefaultKeysOnOkAndComesBackOnCancel) {
  ASSERT_TRUE(saveList(macros_, folder_, kMacroLibraryFile));
  key(0, 10).category = kCategoryMacro;
  bindPickerLine(key(0, 10), 0, macros_, texts_);  // Jump
  key(4, 104).category = kCategoryMacro;
  bindPickerLine(key(4, 104), 1, macros_, texts_);  // Dash

  // Cancel: the deletion is thrown away with every other edit of the run.
  MacroLibrary atOpen = macros_;
  deleteMacro(macros_, 0);
  closeMacroManager(ManagerClose::Cancel, macros_, atOpen, {}, *image_);
  ASSERT_EQ(macros_.size(), 2u);
  EXPECT_STREQ(macros_[0].name, "Jump");
  EXPECT_EQ(key(0, 10).functionCode, kFunctionRecordedMacro);

  // OK: the key of the deleted macro becomes a default key; the other is refreshed.
  image_->profiles[0].totalMacro = countMacroKeys(image_->profiles[0]);
  ASSERT_EQ(image_->profiles[0].totalMacro, 1);
  atOpen = macros_;
  deleteMacro(macros_, 0);
  closeMacroManager(ManagerClose::Ok, macros_, atOpen, {}, *image_);
  EXPECT_EQ(key(0, 10).category, kCategoryDefault);
  EXPECT_EQ(key(0, 10).functionCode, kFunctionDefault);
  EXPECT_EQ(key(0, 10).macroName[0], '\0');
  EXPECT_EQ(key(0, 10).macroListIndex, -1);
  EXPECT_EQ(image_->profiles[0].totalMacro, 0);
  EXPECT_EQ(image_->profiles[4].totalMacro, 1);
  EXPECT_EQ(key(4, 104).functionCode, kFunctionRecordedMacro);
  EXPECT_EQ(image_->keyDirty[4][104], 1);
  // The file is the keys' partner: it changes at Apply, not at OK.
  MacroLibrary onDisk;
  loadList(onDisk, folder_, kMacroLibraryFile);
  EXPECT_EQ(onDisk.size(), 2u);
  ASSERT_EQ(macros_.size(), 1u);
  EXPECT_EQ(selectPickerLine(key(4, 104), macros_, texts_), 0);
  // " Dash " was fitted trimmed, so its key stays bound on the next pass too.
  applyMacroLibrary(macros_, *image_);
  EXPECT_EQ(key(4, 104).functionCode, kFunctionRecordedMacro);
  EXPECT_STREQ(key(4, 104).macroName, "Dash");
}

TEST_F(ManagerCloseTest, ANameLongerThanAKeyHoldsKeepsItsKeys) {
  MacroLibrary lib{macro("A name of twenty chr", 3, 6)};  // from a foreign file
  bindPickerLine(key(1, 1), 0, lib, texts_);
  closeMacroManager(ManagerClose::Ok, lib, MacroLibrary(lib), {}, *image_);
  EXPECT_STREQ(lib[0].name, "A name of twent");
  applyMacroLibrary(lib, *image_);
  EXPECT_EQ(key(1, 1).functionCode, kFunctionRecordedMacro);
  EXPECT_EQ(key(1, 1).stepCount, 3);
}

// An older library with two long names that are one name when cut: each is
// cut to a free name, and each key keeps playing its own macro.
TEST_F(ManagerCloseTest, NamesCutToWhatAKeyHoldsStayUniqueAndTheKeysFollowTheirOwnMacro) {
  MacroLibrary lib{macro("Long raid combo 1", 3, 6), macro("Long raid combo 2", 5, 7), macro("Long raid c (2)", 1, 8)};
  bindPickerLine(key(0, 1), 0, lib, texts_);
  bindPickerLine(key(2, 2), 1, lib, texts_);
  bindPickerLine(key(3, 3), 2, lib, texts_);
  ASSERT_STREQ(key(0, 1).macroName, key(2, 2).macroName);  // both hold "Long raid combo"
  EXPECT_TRUE(fitMacroNames(lib, *image_));
  EXPECT_STREQ(lib[0].name, "Long raid combo");
  EXPECT_STREQ(lib[1].name, "Long raid c (3)");  // "(2)" is another macro's
  EXPECT_STREQ(lib[2].name, "Long raid c (2)");
  applyMacroLibrary(lib, *image_);
  EXPECT_EQ(key(0, 1).stepCount, 3);
  EXPECT_EQ(key(2, 2).stepCount, 5);
  EXPECT_STREQ(key(2, 2).macroName, "Long raid c (3)");
  EXPECT_EQ(key(3, 3).stepCount, 1);
  EXPECT_FALSE(fitMacroNames(lib, *image_));  // fitted once and for all
}

TEST_F(ManagerCloseTest, DeletedTextMacroTurnsItsKeysIntoDefaultKeysOnOk) {
  bindPickerLine(key(2, 0), 2, macros_, texts_);  // Hello
  bindPickerLine(key(2, 1), 3, macros_, texts_);  // Sig
  TextMacroLibrary atOpen = texts_;
  storeText(texts_[1], "Best regards");

  deleteTextMacro(texts_, 0);
  closeTextMacroManager(ManagerClose::Cancel, texts_, atOpen, {}, *image_);
  ASSERT_EQ(texts_.size(), 2u);
  EXPECT_STREQ(texts_[1].text, "Regards");  // every edit of the run is gone

  atOpen = texts_;
  deleteTextMacro(texts_, 0);
  storeText(texts_[0], "Best regards");
  closeTextMacroManager(ManagerClose::Ok, texts_, atOpen, {}, *image_);
  EXPECT_EQ(key(2, 0).functionCode, kFunctionDefault);
  EXPECT_EQ(key(2, 0).category, kCategoryDefault);
  EXPECT_STREQ(key(2, 1).textMacroText, "Best regards");
}

// Keys bound to Jump and Jump2; Jump is deleted and Jump2 renamed Jump (or a
// new Jump added) in one run: Jump's keys become default keys, they never
// play the other macro.
TEST_F(ManagerCloseTest, ANameDeletedAndReusedInOneRunLeavesItsKeysDefault) {
  for (const bool renameOther : {true, false}) {
    buildDefaultImage(*image_);
    MacroLibrary lib{macro("Jump", 2, 4), macro("Jump2", 6, 9)};
    bindPickerLine(key(0, 30), 0, lib, texts_);
    bindPickerLine(key(3, 31), 1, lib, texts_);
    const MacroLibrary atOpen = lib;
    MacroManagerSession session(lib);
    session.open(KeyAssignment{});
    session.select(0);
    session.deleteCurrent();
    if (renameOther)
      ASSERT_TRUE(session.commitRename(0, "JUMP").accepted);
    else
      ASSERT_TRUE(session.commitNewLine("Jump").accepted);
    closeMacroManager(ManagerClose::Ok, lib, atOpen, session.renames(), *image_);
    EXPECT_EQ(key(0, 30).functionCode, kFunctionDefault) << renameOther;
    EXPECT_EQ(image_->keyDirty[0][30], 1) << renameOther;
    EXPECT_EQ(key(3, 31).functionCode, kFunctionRecordedMacro) << renameOther;
    EXPECT_STREQ(key(3, 31).macroName, renameOther ? "JUMP" : "Jump2") << renameOther;
    EXPECT_EQ(key(3, 31).stepCount, 6) << renameOther;
  }

  // Text macros alike, and the copy on an open key page.
  bindPickerLine(key(1, 7), 2, macros_, texts_);  // Hello
  bindPickerLine(key(1, 8), 3, macros_, texts_);  // Sig
  KeyAssignment pageCopy = key(1, 7);
  const TextMacroLibrary atOpen = texts_;
  TextMacroManagerSession session(texts_);
  session.open();
  session.select(0);
  session.deleteCurrent();
  ASSERT_TRUE(session.commitRename(0, "hello").accepted);
  const LibraryRenames renames{{}, session.renames()};
  closeTextMacroManager(ManagerClose::Ok, texts_, atOpen, renames.texts, *image_);
  EXPECT_EQ(key(1, 7).functionCode, kFunctionDefault);
  EXPECT_STREQ(key(1, 8).textMacroName, "hello");
  EXPECT_STREQ(key(1, 8).textMacroText, "Regards");
  refreshFromLibraries(pageCopy, 7, macros_, texts_, renames);
  EXPECT_EQ(pageCopy.functionCode, kFunctionDefault);
}

}  // namespace

namespace {

TEST_F(ManagerCloseTest, RenamedMacrosKeepTheirKeysInEveryProfileOnOkOnly) {
  ASSERT_TRUE(saveList(macros_, folder_, kMacroLibraryFile));
  for (int p = 0; p < kProfileCount; ++p) {
    key(p, 20 + p).category = kCategoryMacro;
    bindPickerLine(key(p, 20 + p), 0, macros_, texts_);  // Jump
  }
  key(3, 90).category = kCategoryMacro;
  bindPickerLine(key(3, 90), 1, macros_, texts_);  // Dash

  const MacroLibrary atOpen = macros_;
  // The run as the manager makes it: Jump -> Hop -> Leap, then a new,
  // empty macro takes the old name "Jump"; Dash is renamed "Run".
  MacroManagerSession session(macros_);
  session.open(KeyAssignment{});
  ASSERT_TRUE(session.commitRename(0, "Hop").accepted);
  ASSERT_TRUE(session.commitRename(0, "Leap").accepted);
  ASSERT_TRUE(session.commitNewLine("jump").accepted);
  ASSERT_TRUE(session.commitRename(1, "Run").accepted);
  const RenameMap renames = session.renames();

  // Cancel: no key changes.
  const auto before = std::make_unique<SettingsImage>(*image_);
  closeMacroManager(ManagerClose::Cancel, macros_, atOpen, renames, *image_);
  EXPECT_EQ(0, std::memcmp(image_.get(), before.get(), sizeof *image_));
  EXPECT_STREQ(macros_[0].name, "Jump");

  MacroManagerSession again(macros_);
  again.commitRename(0, "Hop");
  again.commitRename(0, "Leap");
  again.commitNewLine("jump");
  again.commitRename(1, "Run");
  closeMacroManager(ManagerClose::Ok, macros_, atOpen, again.renames(), *image_);
  for (int p = 0; p < kProfileCount; ++p) {
    const KeyAssignment& k = key(p, 20 + p);
    EXPECT_EQ(k.functionCode, kFunctionRecordedMacro) << p;
    EXPECT_STREQ(k.macroName, "Leap") << p;
    EXPECT_EQ(k.stepCount, 2) << p;  // Jump's steps, not the new empty macro's
    EXPECT_EQ(image_->keyDirty[p][20 + p], 1) << p;
  }
  EXPECT_STREQ(key(3, 90).macroName, "Run");
  EXPECT_EQ(key(3, 90).stepCount, 40);
  EXPECT_EQ(image_->profiles[3].totalMacro, 2);
}

TEST_F(ManagerCloseTest, RenamedTextMacrosKeepTheirKeysAndThePageCopyFollows) {
  ASSERT_TRUE(saveList(texts_, folder_, kTextMacroLibraryFile));
  bindPickerLine(key(1, 5), 2, macros_, texts_);  // Hello
  bindPickerLine(key(4, 6), 3, macros_, texts_);  // Sig
  KeyAssignment pageCopy = key(1, 5);             // an open key page's entry

  TextMacroManagerSession session(texts_);
  session.open();
  ASSERT_TRUE(session.commitRename(0, "Greeting").accepted);
  ASSERT_TRUE(session.commitNewLine("Hello").accepted);
  storeText(texts_[2], "a new text");
  const LibraryRenames renames{{}, session.renames()};
  closeTextMacroManager(ManagerClose::Ok, texts_, TextMacroLibrary(texts_), renames.texts, *image_);
  EXPECT_EQ(key(1, 5).functionCode, kFunctionTextMacro);
  EXPECT_STREQ(key(1, 5).textMacroName, "Greeting");
  EXPECT_STREQ(key(1, 5).textMacroText, "Hello, world");
  EXPECT_STREQ(key(4, 6).textMacroName, "Sig");

  refreshFromLibraries(pageCopy, 5, macros_, texts_, renames);
  EXPECT_STREQ(pageCopy.textMacroName, "Greeting");
  EXPECT_STREQ(pageCopy.textMacroText, "Hello, world");
  EXPECT_EQ(pageCopy.macroListIndex, 2);
}

}  // namespace
