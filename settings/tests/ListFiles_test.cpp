#include "ListFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "FileIo.h"
#include "IniFile.h"

namespace {

class ListFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillon-lists-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = std::string(pattern) + "/";
    ASSERT_EQ(system(("mkdir -p " + folder_ + "config").c_str()), 0);
  }
  void TearDown() override { (void)system(("rm -rf " + folder_).c_str()); }
  std::string folder_;
};

MacroRecord macro(const char* name, int steps, uint8_t code) {
  MacroRecord r{};
  std::strcpy(r.name, name);
  r.repeatCount = 1;
  r.stepCount = steps;
  for (int i = 0; i < steps; ++i) r.steps[i] = MacroStep::make(code, kActionPress, uint16_t(i));
  return r;
}

std::unique_ptr<SettingsImage> defaultImage() {
  auto image = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0, sizeof *image);
  buildDefaultImage(*image);
  return image;
}

void bindMacro(KeyAssignment& key, const char* name, int steps, uint8_t code) {
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  std::strcpy(key.macroName, name);
  key.stepCount = uint16_t(steps);
  for (int i = 0; i < steps; ++i) key.steps[i] = MacroStep::make(code, kActionPress, uint16_t(i));
}

}  // namespace

TEST_F(ListFilesTest, EmptyListFileHoldsOnlyNumberZero) {
  ASSERT_TRUE(saveList(MacroLibrary{}, folder_, kMacroLibraryFile));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(folder_ + kMacroLibraryFile.file, bytes));
  EXPECT_EQ(bytes, "[Macros]\r\nnumber=0\r\n");
  MacroLibrary loaded;
  loadList(loaded, folder_, kMacroLibraryFile);
  EXPECT_TRUE(loaded.empty());
}

TEST_F(ListFilesTest, ListsRoundTripAndShrinkingDropsOldRecords) {
  MacroLibrary macros{macro("a", 2, 4), macro("b", 40, 5), macro("c", 1, 6)};
  ASSERT_TRUE(saveList(macros, folder_, kMacroLibraryFile));
  macros.pop_back();
  ASSERT_TRUE(saveList(macros, folder_, kMacroLibraryFile));
  MacroLibrary loaded;
  loadList(loaded, folder_, kMacroLibraryFile);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(0, std::memcmp(&loaded[1], &macros[1], sizeof(MacroRecord)));
  IniFile ini(folder_ + kMacroLibraryFile.file);
  EXPECT_EQ(ini.readString("Macros", "2", "gone"), "gone");

  AppList apps;
  addPath(apps, "C:\\a.exe");
  addPath(apps, "C:\\b.exe");
  addPath(apps, std::string(700, 'p'));  // cut to the record
  removeAt(apps, 0);
  removeAt(apps, 9);
  const ListFile file = profileAppListFile(3);
  EXPECT_STREQ(file.section, "PROFILE3APP");
  ASSERT_TRUE(saveList(apps, folder_, file));
  AppList loadedApps;
  loadList(loadedApps, folder_, file);
  ASSERT_EQ(loadedApps.size(), 2u);
  EXPECT_STREQ(loadedApps[0].path, "C:\\b.exe");
  EXPECT_EQ(std::strlen(loadedApps[1].path), 499u);
  EXPECT_EQ(getEntry(loadedApps, 2), nullptr);
  EXPECT_EQ(getEntry(loadedApps, -1), nullptr);
  ASSERT_NE(getEntry(loadedApps, 1), nullptr);
  clearList(loadedApps);
  EXPECT_EQ(getEntry(loadedApps, 0), nullptr);
}

TEST_F(ListFilesTest, DamagedRecordsAreKeptZeroFilledAndSanitised) {
  TextMacroRecord t{};
  std::memset(t.name, 'n', sizeof t.name);  // no terminator in the file
  std::memset(t.text, 't', sizeof t.text);
  MacroRecord m = macro("m", 1, 4);
  m.stepCount = 5000;
  IniFile ini(folder_ + kTextMacroLibraryFile.file);
  ini.writeInt("TextMacro", "number", 3);
  ini.writeStruct("TextMacro", "0", &t, sizeof t);
  ini.writeString("TextMacro", "1", "00FF");
  ASSERT_TRUE(ini.save());
  TextMacroLibrary texts;
  loadList(texts, folder_, kTextMacroLibraryFile);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(std::strlen(texts[0].name), sizeof t.name - 1);
  EXPECT_EQ(std::strlen(texts[0].text), sizeof t.text - 1);
  EXPECT_EQ(texts[1].name[0], '\0');
  EXPECT_EQ(texts[2].delayMs, 0);

  IniFile hostile(folder_ + kMacroLibraryFile.file);
  hostile.writeInt("Macros", "number", 2000000000);
  hostile.writeStruct("Macros", "0", &m, sizeof m);
  ASSERT_TRUE(hostile.save());
  MacroLibrary macros;
  loadList(macros, folder_, kMacroLibraryFile);
  EXPECT_EQ(macros.size(), size_t(kMaxListRecords));
  EXPECT_EQ(macros[0].stepCount, kMaxMacroSteps);
}

TEST(MacroLookup, NamesMatchWithoutCaseAndOuterBlanksLastMatchWins) {
  KeyAssignment key{};
  bindMacro(key, "Jump", 2, 4);
  MacroLibrary lib{macro("  jUMP ", 2, 4), macro("other", 2, 4), macro("JUMP", 3, 4)};
  MacroMatch m = findMacro(lib, key);
  EXPECT_TRUE(m.found);
  EXPECT_EQ(m.position, 2);
  EXPECT_FALSE(m.identical);
  lib.pop_back();
  m = findMacro(lib, key);
  EXPECT_EQ(m.position, 0);
  EXPECT_TRUE(m.identical);
  lib[0].steps[1] = MacroStep::make(9, kActionPress, 1);
  EXPECT_FALSE(findMacro(lib, key).identical);
  EXPECT_FALSE(findMacro(MacroLibrary{macro("Jum", 2, 4)}, key).found);
}

TEST(MacroLookup, TextMacrosCompareSettingsAndTextWithoutCase) {
  KeyAssignment key{};
  key.functionCode = kFunctionTextMacro;
  std::strcpy(key.textMacroName, "greet");
  std::strcpy(key.textMacroText, "Hello");
  key.keyBefore = 4;
  key.textDelayMs = 50;
  TextMacroRecord t{};
  std::strcpy(t.name, " GREET");
  std::strcpy(t.text, "hello");
  t.keyBefore = 4;
  t.delayMs = 50;
  MacroMatch m = findTextMacro({t}, key);
  EXPECT_TRUE(m.found);
  EXPECT_TRUE(m.identical);
  t.keyAfter = 1;
  EXPECT_FALSE(findTextMacro({t}, key).identical);
}

// The library is what was last applied; a key's older copy (a recording
// kept in the library but never applied to the key) never overwrites it.
TEST(MacroSync, CollectAddsWhatEveryKeyLacksAndNeverOverwritesAnEntry) {
  auto image = defaultImage();
  bindMacro(image->profiles[2].keys[7], "deep", 3, 8);  // beyond the first six keys
  bindMacro(image->profiles[0].keys[1], "known", 2, 5);
  bindMacro(image->profiles[0].keys[4], "KNOWN", 4, 6);
  MacroLibrary lib{macro("known", 1, 5)};
  EXPECT_TRUE(collectMacrosFromProfiles(lib, *image));
  ASSERT_EQ(lib.size(), 2u);
  EXPECT_EQ(lib[0].stepCount, 1);  // the library's own recording stays
  EXPECT_STREQ(lib[1].name, "deep");
  EXPECT_EQ(lib[1].repeatCount, 0);
  EXPECT_EQ(lib[1].stepCount, 3);

  EXPECT_FALSE(collectMacrosFromProfiles(lib, *image));  // nothing more to add
  EXPECT_EQ(lib.size(), 2u);

  const KeyAssignment before = image->profiles[2].keys[7];
  applyMacroLibrary(lib, *image);
  EXPECT_EQ(0, std::memcmp(&before, &image->profiles[2].keys[7], sizeof before));
  EXPECT_EQ(image->profiles[0].keys[1].stepCount, 1);  // the key takes the library's recording
  EXPECT_EQ(image->keyDirty[2][7], 1);
  EXPECT_EQ(image->keyDirty[0][1], 1);
  EXPECT_EQ(image->keyDirty[0][2], 0);
}

TEST(MacroSync, ADeletedMacroTurnsItsKeysIntoMarkedDefaultKeys) {
  auto image = defaultImage();
  bindMacro(image->profiles[1].keys[50], "gone", 4, 8);
  image->profiles[1].keys[50].playCount = 9;
  applyMacroLibrary(MacroLibrary{macro("other", 1, 1)}, *image);
  const KeyAssignment& key = image->profiles[1].keys[50];
  EXPECT_EQ(key.category, kCategoryDefault);
  EXPECT_EQ(key.functionCode, kFunctionDefault);
  EXPECT_EQ(key.macroName[0], '\0');
  EXPECT_EQ(key.stepCount, 0);
  EXPECT_EQ(key.steps[0].word, 0u);
  EXPECT_EQ(key.macroListIndex, -1);
  EXPECT_EQ(key.keyIndex, 50);
  EXPECT_EQ(image->keyDirty[1][50], 1);  // so the keyboard forgets it
}

TEST(MacroSync, ApplyCopiesLibraryEntriesIntoKeys) {
  auto image = defaultImage();
  bindMacro(image->profiles[0].keys[3], "JUMP", 1, 8);
  MacroRecord long_ = macro(" jump", 40, 9);
  applyMacroLibrary({long_}, *image);
  const KeyAssignment& key = image->profiles[0].keys[3];
  EXPECT_EQ(key.stepCount, 40);
  EXPECT_STREQ(key.macroName, "jump");  // as the lookup compares it
  EXPECT_EQ(key.steps[39].word, long_.steps[39].word);
  applyMacroLibrary({long_}, *image);  // and the next pass still finds it
  EXPECT_EQ(key.functionCode, kFunctionRecordedMacro);
  EXPECT_STREQ(key.macroName, "jump");

  KeyAssignment& text = image->profiles[4].keys[10];
  text.functionCode = kFunctionTextMacro;
  std::strcpy(text.textMacroName, "sig");
  KeyAssignment& lost = image->profiles[4].keys[11];
  lost.functionCode = kFunctionTextMacro;
  std::strcpy(lost.textMacroName, "removed");
  TextMacroRecord t{};
  std::strcpy(t.name, "SIG");
  std::strcpy(t.text, "Best regards");
  t.delayMs = 20;
  t.keyAfter = 40;
  applyTextMacroLibrary({t}, *image);
  EXPECT_STREQ(text.textMacroName, "SIG");
  EXPECT_STREQ(text.textMacroText, "Best regards");
  EXPECT_EQ(text.textDelayMs, 20);
  EXPECT_EQ(text.keyAfter, 40);
  EXPECT_EQ(image->keyDirty[4][10], 1);
  EXPECT_EQ(lost.functionCode, kFunctionDefault);
  EXPECT_EQ(lost.textMacroName[0], '\0');
  EXPECT_EQ(image->keyDirty[4][11], 1);
}
