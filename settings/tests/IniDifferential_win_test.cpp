// The same operations through the platform's private-profile functions and
// through IniFile, over ordinary and hostile files: every value read must
// agree, and each side must read what the other wrote.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "FileIo.h"
#include "IniFile.h"
#include "PlatformIniStore_win.h"
#include "ProfileFiles.h"

namespace {

struct Case {
  const char* name;
  const char* bytes;
};

const Case kFiles[] = {
    {"ordinary", "[Setting]\r\nCurrentProfile=2\r\nFWVersion=105\r\n[OSDData]\r\nMessage=hi\r\n"},
    {"quotes", "[s]\r\na=\"quoted\"\r\nb='single'\r\nc=\"open\r\n"},
    {"blanks", "[ s ]\r\n  a  =  spaced value  \r\n\tb\t=\t7\t\r\n"},
    {"comments", "; top\r\n[s]\r\n; a=hidden\r\na=1\r\n;b=2\r\n"},
    {"duplicates", "[s]\r\na=1\r\na=2\r\n[S]\r\na=3\r\nb=4\r\n"},
    {"no final newline", "[s]\r\na=1\r\nb=2"},
    {"lf", "[s]\na=1\nb=2\n[t]\nc=3\n"},
    {"empty values", "[s]\r\na=\r\nb=  \r\n"},
    {"outside section", "a=1\r\n[s]\r\nb=2\r\n"},
    {"empty", ""},
};

const char* kReadKeys[][2] = {
    {"s", "a"},
    {"s", "b"},
    {"s", "c"},
    {"S", "A"},
    {"t", "c"},
    {"s", "missing"},
    {"nosection", "a"},
    {"Setting", "CurrentProfile"},
    {"setting", "fwversion"},
    {"OSDData", "Message"},
};

void writeBoth(IniStore& a, IniStore& b) {
  for (IniStore* store : {&a, &b}) {
    store->writeString("s", "a", "new");
    store->writeString("s", "added", "x y");
    store->writeInt("Setting", "CurrentProfile", -1);
    store->writeString("fresh", "k", "");
    const unsigned char block[] = {0, 1, 0xFE, 0xFF};
    store->writeStruct("s", "blob", block, sizeof block);
  }
}

void expectSameReads(const IniStore& platform, const IniStore& ours, const std::string& what) {
  for (const auto& key : kReadKeys) {
    EXPECT_EQ(platform.readString(key[0], key[1], "dflt"), ours.readString(key[0], key[1], "dflt"))
        << what << ": [" << key[0] << "] " << key[1];
    EXPECT_EQ(platform.readInt(key[0], key[1], -7), ours.readInt(key[0], key[1], -7))
        << what << ": int [" << key[0] << "] " << key[1];
  }
  unsigned char a[4] = {}, b[4] = {};
  EXPECT_EQ(platform.readStruct("s", "blob", a, 4), ours.readStruct("s", "blob", b, 4)) << what;
  EXPECT_EQ(0, std::memcmp(a, b, 4)) << what;
  EXPECT_EQ(platform.readString("fresh", "k", "dflt"), ours.readString("fresh", "k", "dflt"));
}

}  // namespace

TEST(IniDifferential, ReadsAgreeOnOrdinaryAndHostileFiles) {
  const std::string folder = makeScratchFolder("diff");
  int n = 0;
  for (const Case& c : kFiles) {
    const std::string path = folder + "read" + std::to_string(n++) + ".ini";
    ASSERT_TRUE(replaceFileAtomically(path, c.bytes));
    expectSameReads(PlatformIniStore(path), IniFile(path), c.name);
  }
}

TEST(IniDifferential, WritesAreReadAlikeByBothSides) {
  const std::string folder = makeScratchFolder("diffw");
  int n = 0;
  for (const Case& c : kFiles) {
    const std::string theirs = folder + "theirs" + std::to_string(n) + ".ini";
    const std::string ours = folder + "ours" + std::to_string(n++) + ".ini";
    ASSERT_TRUE(replaceFileAtomically(theirs, c.bytes));
    ASSERT_TRUE(replaceFileAtomically(ours, c.bytes));
    PlatformIniStore platform(theirs);
    IniFile file(ours);
    writeBoth(platform, file);
    ASSERT_TRUE(file.save());
    // Each reader over the other's file.
    expectSameReads(PlatformIniStore(ours), IniFile(theirs), std::string(c.name) + " crossed");
    expectSameReads(platform, IniFile(ours), std::string(c.name) + " written");
  }
}

TEST(IniDifferential, FilesWrittenFromScratchAreByteForByteThePlatformsOwn) {
  const std::string folder = makeScratchFolder("diffb");
  PlatformIniStore platform(folder + "theirs.ini");
  IniFile file(folder + "ours.ini");
  writeBoth(platform, file);
  for (IniStore* store : std::initializer_list<IniStore*>{&platform, &file}) {
    store->writeString("s", "a", "again");
    store->writeInt("t", "n", 42);
  }
  ASSERT_TRUE(file.save());
  std::string a, b;
  ASSERT_TRUE(readWholeFile(folder + "theirs.ini", a));
  ASSERT_TRUE(readWholeFile(folder + "ours.ini", b));
  EXPECT_EQ(a, b);
}

TEST(IniDifferential, AProfileSavedByEitherPathLoadsTheSameThroughTheOther) {
  const std::string folder = makeScratchFolder("diffp");
  auto image = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0, sizeof *image);
  buildDefaultImage(*image);
  ProfileRecord& p = image->profiles[0];
  std::strcpy(p.profileName, "Racing");
  std::strcpy(p.linkedApps[0], "C:\\Games\\race.exe");
  p.staticColor = 0xFFEEDD;
  p.keys[5].category = kCategoryMacro;
  p.keys[5].functionCode = kFunctionRecordedMacro;
  p.keys[5].stepCount = 3;
  std::strcpy(p.keys[5].textMacroText, "text");

  PlatformIniStore platform(folder + "theirs.gkp");
  saveProfile(p, platform);
  ASSERT_TRUE(saveProfile(p, folder + "ours.gkp"));
  std::string a, b;
  ASSERT_TRUE(readWholeFile(folder + "theirs.gkp", a));
  ASSERT_TRUE(readWholeFile(folder + "ours.gkp", b));
  EXPECT_EQ(a, b);

  auto viaPlatform = std::make_unique<SettingsImage>();
  auto viaOurs = std::make_unique<SettingsImage>();
  std::memset(viaPlatform.get(), 0, sizeof *viaPlatform);
  std::memset(viaOurs.get(), 0, sizeof *viaOurs);
  loadProfile(viaPlatform->profiles[0], PlatformIniStore(folder + "ours.gkp"));
  loadProfile(viaOurs->profiles[0], IniFile(folder + "theirs.gkp"));
  EXPECT_EQ(0, std::memcmp(&viaPlatform->profiles[0], &viaOurs->profiles[0], sizeof(ProfileRecord)));
  EXPECT_STREQ(viaOurs->profiles[0].profileName, "Racing");
}
