#include "ProfileFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FileIo.h"
#include "IniFile.h"

namespace {

class ProfileFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillon-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = std::string(pattern) + "/";
    ASSERT_EQ(system(("mkdir -p " + folder_ + "config").c_str()), 0);
    image_ = std::make_unique<SettingsImage>();
    loaded_ = std::make_unique<SettingsImage>();
    std::memset(image_.get(), 0, sizeof *image_);
    std::memset(loaded_.get(), 0, sizeof *loaded_);
    buildDefaultImage(*image_);
  }
  void TearDown() override { (void)system(("rm -rf " + folder_).c_str()); }

  void writeFile(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(replaceFileAtomically(folder_ + name, bytes));
  }
  std::string readFile(const std::string& name) {
    std::string bytes;
    readWholeFile(folder_ + name, bytes);
    return bytes;
  }

  bool batchFolderHasLeftovers() { return system(("ls " + folder_ + " | grep -q tmp").c_str()) == 0; }

  std::string folder_;
  std::unique_ptr<SettingsImage> image_, loaded_;
};

void fillProfile(ProfileRecord& p, int seed) {
  std::snprintf(p.profileName, sizeof p.profileName, "Game %d", seed);
  std::snprintf(p.linkedApps[3], sizeof p.linkedApps[3], "C:\\Games\\g%d.exe", seed);
  p.ltControl = seed + 1;
  p.lightFx = 7;
  p.staticColor = 0xFFFFFF;
  p.customColors[5] = 0x123456;
  p.standardKey[0] = 0x99;
  p.totalMacro = 2;
  KeyAssignment& k = p.keys[7];
  k.category = kCategoryMacro;
  k.functionCode = kFunctionRecordedMacro;
  std::strcpy(k.macroName, "combo");
  k.stepCount = 2;
  k.steps[0] = MacroStep::make(4, kActionPress, 10);
  k.steps[1] = MacroStep::make(4, kActionRelease, 0);
  std::strcpy(k.textMacroText, "hello");
}

}  // namespace

TEST_F(ProfileFilesTest, SavedProfilesLoadBackAndUnsavedFieldsReadMinusOne) {
  for (int i = 0; i < kProfileCount; ++i) fillProfile(image_->profiles[i], i);
  image_->currentProfile = 3;
  ASSERT_TRUE(saveAll(*image_, folder_));
  ASSERT_TRUE(loadAll(*loaded_, folder_));
  EXPECT_EQ(loaded_->currentProfile, 3);
  EXPECT_EQ(loaded_->rightWin, -1);
  for (int i = 0; i < kProfileCount; ++i) {
    const ProfileRecord& a = image_->profiles[i];
    const ProfileRecord& b = loaded_->profiles[i];
    EXPECT_STREQ(a.profileName, b.profileName);
    EXPECT_STREQ(a.linkedApps[3], b.linkedApps[3]);
    EXPECT_EQ(b.ltControl, i + 1);
    EXPECT_EQ(b.staticColor, 0xFFFFFFu);
    EXPECT_EQ(b.customColors[5], 0x123456u);
    EXPECT_EQ(b.standardKey[0], 0x99);  // written as "standardkey", read as "standardKey"
    EXPECT_EQ(0, std::memcmp(a.keys, b.keys, sizeof a.keys));
    EXPECT_EQ(b.mediaOption, -1);
    EXPECT_EQ(b.ltSaving, -1);
    EXPECT_EQ(b.pollingRate, -1);
    EXPECT_EQ(b.fnStatus, -1);
  }
  EXPECT_NE(readFile("config\\Default0.gkp").find("standardkey="), std::string::npos);
}

TEST_F(ProfileFilesTest, SavingIntoAnInstalledFileKeepsKeysItNeverWrites) {
  writeFile("config\\Default1.gkp",
            "; installed\r\n[Setting]\r\nMediaOption=5\r\nLtSaving=30\r\n"
            "LtControl=1\r\n[Extra]\r\nfoo=bar\r\n");
  ASSERT_TRUE(saveProfile(image_->profiles[1], profilePath(folder_, 1)));
  loadProfile(loaded_->profiles[1], profilePath(folder_, 1));
  EXPECT_EQ(loaded_->profiles[1].mediaOption, 5);
  EXPECT_EQ(loaded_->profiles[1].ltSaving, 30);
  EXPECT_EQ(loaded_->profiles[1].ltControl, image_->profiles[1].ltControl);
  const std::string bytes = readFile("config\\Default1.gkp");
  EXPECT_EQ(bytes.rfind("; installed\r\n[Setting]\r\nMediaOption=5\r\nLtSaving=30\r\nLtControl=10\r\n", 0),
            0u);
  EXPECT_NE(bytes.find("[Extra]\r\nfoo=bar\r\n"), std::string::npos);
}

// A damaged or older file loads into the ranges the window shows, so that an
// apply sends what the window showed: a value outside its range is the
// field's default.
TEST_F(ProfileFilesTest, ValuesOutsideTheirRangesLoadAsTheFieldsDefaults) {
  writeFile("config\\Default1.gkp",
            "[Setting]\r\nLtControl=60\r\nLightFxFlag=2\r\nLeftWin=-1\r\nBreatheSpeed=0\r\n"
            "WaveSpeed=7\r\nRippleMode=5\r\nCustomMode=-3\r\nLightFX=77\r\n");
  loadAll(*loaded_, folder_);
  const ProfileRecord& p = loaded_->profiles[1];
  EXPECT_EQ(p.ltControl, 10);
  EXPECT_EQ(p.lightFxFlag, 0);
  EXPECT_EQ(p.leftWinLock, 1);  // not a locked Windows key
  EXPECT_EQ(p.breatheSpeed, 2);
  EXPECT_EQ(p.waveSpeed, 2);
  EXPECT_EQ(p.rippleMode, 0);
  EXPECT_EQ(p.customMode, 0);
  EXPECT_EQ(p.lightFx, 1);  // one of the six effects
}

TEST_F(ProfileFilesTest, AMissingProfileFileGivesDefaultsForThatIndexOnly) {
  for (int i = 0; i < kProfileCount; ++i) fillProfile(image_->profiles[i], i);
  ASSERT_TRUE(saveAll(*image_, folder_));
  ASSERT_TRUE(removeFile(profilePath(folder_, 2)));
  loadAll(*loaded_, folder_);
  EXPECT_STREQ(loaded_->profiles[1].profileName, "Game 1");
  EXPECT_STREQ(loaded_->profiles[2].profileName, "Profile #3");
  EXPECT_EQ(loaded_->profiles[2].ltControl, 10);
  EXPECT_STREQ(loaded_->profiles[3].profileName, "Game 3");
}

TEST_F(ProfileFilesTest, AFreshInstallGivesDefaultsAndAUsableProfileIndex) {
  loaded_->currentProfile = 77;
  loaded_->keyDirty[0][0] = 5;
  ASSERT_TRUE(loadAll(*loaded_, folder_));
  EXPECT_EQ(loaded_->currentProfile, 0);  // -1 from the missing file would index outside
  EXPECT_EQ(loaded_->keyDirty[0][0], 5);  // change flags untouched
  EXPECT_STREQ(loaded_->profiles[4].profileName, "Profile #5");
}

TEST_F(ProfileFilesTest, DamagedEntriesGiveDefaultsAndLongTextsAreCut) {
  fillProfile(image_->profiles[0], 0);
  ASSERT_TRUE(saveProfile(image_->profiles[0], profilePath(folder_, 0)));
  IniFile edit(profilePath(folder_, 0));
  std::string key7 = edit.readString("Setting", "MacroKeyInfo7", "");
  ASSERT_FALSE(key7.empty());
  // readString caps at 2047 characters, so go through the document itself.
  std::string bytes = readFile("config\\Default0.gkp");
  const size_t at = bytes.find("MacroKeyInfo7=") + 20;
  bytes[at] = bytes[at] == '0' ? '1' : '0';  // checksum now fails
  const size_t at8 = bytes.find("MacroKeyInfo8=") + 14;
  bytes.erase(at8, 2);  // wrong length
  const std::string longName(400, 'N');
  const size_t nameAt = bytes.find("ProFileName=");
  bytes.insert(nameAt + 12, longName);
  writeFile("config\\Default0.gkp", bytes);
  loadProfile(loaded_->profiles[0], profilePath(folder_, 0));
  KeyAssignment expected;
  buildDefaultKey(expected, 7);
  EXPECT_EQ(0, std::memcmp(&loaded_->profiles[0].keys[7], &expected, sizeof expected));
  buildDefaultKey(expected, 8);
  EXPECT_EQ(0, std::memcmp(&loaded_->profiles[0].keys[8], &expected, sizeof expected));
  EXPECT_EQ(std::strlen(loaded_->profiles[0].profileName), sizeof(ProfileRecord::profileName) - 1);
}

TEST_F(ProfileFilesTest, MissingStructKeysLeaveTheFieldAsItWas) {
  writeFile("config\\Default0.gkp", "[Setting]\r\nCustomColor=00\r\n");
  loaded_->profiles[0].standardKey[3] = 0x42;
  loaded_->profiles[0].customColors[0] = 0x777;
  loadProfile(loaded_->profiles[0], profilePath(folder_, 0));
  EXPECT_EQ(loaded_->profiles[0].standardKey[3], 0x42);
  EXPECT_EQ(loaded_->profiles[0].customColors[0], 0x777u);
}

TEST_F(ProfileFilesTest, ConfigIniKeys) {
  EXPECT_EQ(readFirmwareVersion(folder_), 100);
  writeFile("config.ini", "[Setting]\r\nFWVersion=123\r\nRightWin=0\r\n");
  EXPECT_EQ(readFirmwareVersion(folder_), 123);
  writeDeviceState(configIniPath(folder_), 1);
  image_->currentProfile = 4;
  saveAll(*image_, folder_);
  EXPECT_EQ(readFile("config.ini"),
            "[Setting]\r\nFWVersion=123\r\nRightWin=0\r\nDevice=1\r\nCurrentProfile=4\r\n");
  // The monitor's own keys, each edited in place; a line break cannot
  // reach into the file.
  EXPECT_TRUE(writeCurrentProfile(configIniPath(folder_), 2));
  EXPECT_TRUE(writeOsdMessage(configIniPath(folder_), "Profile 3\r\n[Setting]"));
  EXPECT_TRUE(writeDeviceState(configIniPath(folder_), 0));
  EXPECT_EQ(readFile("config.ini"),
            "[Setting]\r\nFWVersion=123\r\nRightWin=0\r\nDevice=0\r\nCurrentProfile=2\r\n"
            "[OSDData]\r\nMessage=Profile 3\r\n");
  loadAll(*loaded_, folder_);
  EXPECT_EQ(loaded_->rightWin, 0);
  EXPECT_EQ(loaded_->desktopProfile, 0);
  EXPECT_TRUE(readSwitchNotice(folder_));

  // The firmware the monitor read, the desktop profile once chosen (also
  // when it is turned off again), and SwitchNotice off.
  EXPECT_TRUE(writeFirmwareVersion(configIniPath(folder_), 103));
  EXPECT_EQ(readFirmwareVersion(folder_), 103);
  image_->desktopProfile = 3;
  saveAll(*image_, folder_);
  loadAll(*loaded_, folder_);
  EXPECT_EQ(loaded_->desktopProfile, 3);
  image_->desktopProfile = 0;
  saveAll(*image_, folder_);
  EXPECT_NE(readFile("config.ini").find("DesktopProfile=0\r\n"), std::string::npos);
  writeFile("config.ini", "[Setting]\r\nDesktopProfile=9\r\nSwitchNotice=0\r\n");
  loadAll(*loaded_, folder_);
  EXPECT_EQ(loaded_->desktopProfile, 0) << "out of range: none";
  EXPECT_FALSE(readSwitchNotice(folder_));

  unsigned char osd[kOsdSettingsSize];
  std::memset(osd, 0xEE, sizeof osd);
  readOsdSettings(osd, folder_);
  EXPECT_EQ(osd[0], 0xEE);
  unsigned char stored[kOsdSettingsSize] = {1, 2, 3};
  IniFile config(configIniPath(folder_));
  config.writeStruct("OSDSetting", "config", stored, sizeof stored);
  config.save();
  readOsdSettings(osd, folder_);
  EXPECT_EQ(osd[2], 3);
  EXPECT_EQ(osd[3], 0);
}

TEST_F(ProfileFilesTest, SavingWhatTheFilesAlreadyHoldWritesNothing) {
  fillProfile(image_->profiles[2], 2);
  ASSERT_TRUE(saveAll(*image_, folder_));
  // A replaced file is a new file (a new inode); a file left alone keeps its own.
  const auto inodes = [&] {
    std::vector<ino_t> numbers;
    for (const std::string& path :
         {configIniPath(folder_), profilePath(folder_, 0), profilePath(folder_, 2)}) {
      struct stat info {};
      std::string host = path;
      for (char& c : host)
        if (c == '\\') c = '/';
      numbers.push_back(stat(host.c_str(), &info) == 0 ? info.st_ino : 0);
    }
    return numbers;
  };
  const std::vector<ino_t> before = inodes();
  EXPECT_TRUE(saveAll(*image_, folder_));
  EXPECT_EQ(inodes(), before);

  image_->profiles[2].keys[7].repeatDelayMs = 77;  // one change rewrites that file only
  EXPECT_TRUE(saveAll(*image_, folder_));
  const std::vector<ino_t> after = inodes();
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], before[1]);
  EXPECT_NE(after[2], before[2]);
  loadAll(*loaded_, folder_);
  EXPECT_EQ(loaded_->profiles[2].keys[7].repeatDelayMs, 77);
}

TEST_F(ProfileFilesTest, ABatchWritesEveryStagedFileAndLeavesNoTemporaryFiles) {
  {
    FileBatch batch;
    ASSERT_TRUE(batch.stage(folder_ + "one.ini", "1"));
    ASSERT_TRUE(batch.stage(folder_ + "two.ini", "2"));
    EXPECT_FALSE(fileExists(folder_ + "one.ini"));  // not before the commit
    EXPECT_TRUE(batch.commit());
  }
  EXPECT_EQ(readFile("one.ini"), "1");
  EXPECT_EQ(readFile("two.ini"), "2");
  {
    FileBatch dropped;
    ASSERT_TRUE(dropped.stage(folder_ + "one.ini", "changed"));
  }
  EXPECT_EQ(readFile("one.ini"), "1");  // a batch never committed changes nothing
  EXPECT_FALSE(batchFolderHasLeftovers());
}

TEST(Sanitize, ClampsCountsTerminatesTextsAndFixesIndexes) {
  KeyAssignment key;
  std::memset(&key, 'x', sizeof key);
  key.category = kCategoryMacro;
  key.stepCount = 900;
  key.playMode = 17;
  sanitizeKey(key, 12);
  EXPECT_EQ(key.keyIndex, 12);
  EXPECT_EQ(key.stepCount, kMaxMacroSteps);
  EXPECT_EQ(key.playMode, kPlayOnce);
  EXPECT_LT(strnlen(key.macroName, sizeof key.macroName), sizeof key.macroName);
  EXPECT_LT(strnlen(key.appPath, sizeof key.appPath), sizeof key.appPath);
  EXPECT_LT(strnlen(key.textMacroName, sizeof key.textMacroName), sizeof key.textMacroName);
  EXPECT_LT(strnlen(key.textMacroText, sizeof key.textMacroText), sizeof key.textMacroText);

  // The assignment is the user's, whatever its category: nothing else changes.
  for (uint8_t category : {uint8_t(2), uint8_t(7), uint8_t(10), uint8_t(0), uint8_t(200)}) {
    key.category = category;
    key.functionCode = kFunctionRecordedMacro;
    const KeyAssignment before = key;
    sanitizeKey(key, 12);
    EXPECT_EQ(0, std::memcmp(&key, &before, sizeof key)) << "category " << int(category);
  }

  auto image = std::make_unique<SettingsImage>();
  std::memset(image.get(), 'y', sizeof *image);
  sanitizeImage(*image);
  EXPECT_EQ(image->currentProfile, 0);
  EXPECT_EQ(image->desktopProfile, 0);
  image->desktopProfile = 5;
  sanitizeImage(*image);
  EXPECT_EQ(image->desktopProfile, 5);
  EXPECT_EQ(image->profiles[4].profileName[249], '\0');
  EXPECT_EQ(image->profiles[4].linkedApps[19][499], '\0');
}

TEST(Sanitize, AValueOutOfTheEditorsRangeLoadsAsTheFieldsDefault) {
  KeyAssignment key{};
  key.playMode = kPlayNTimes;
  key.playCount = INT32_MAX;
  key.repeatDelayMs = 65535;
  key.triggerMode = 7;
  key.textDelayMs = INT32_MAX;
  sanitizeKey(key, 3);
  EXPECT_EQ(key.playCount, 1);
  EXPECT_EQ(key.repeatDelayMs, 0);
  EXPECT_EQ(key.triggerMode, 0);
  EXPECT_EQ(key.textDelayMs, 0);
  key.playCount = -1;  // 65,535 on the keyboard, which takes 16 bits
  sanitizeKey(key, 3);
  EXPECT_EQ(key.playCount, 1);
  key.playMode = kPlayOnce;
  key.playCount = 0;  // what a key without play values stores
  key.repeatDelayMs = 9999;
  sanitizeKey(key, 3);
  EXPECT_EQ(key.playCount, 0);
  EXPECT_EQ(key.repeatDelayMs, 9999);

  // A profile file without its lighting keys: the keyboard is neither dark
  // nor its Windows key locked.
  auto profile = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*profile, 0);
  class Empty : public IniStore {
   public:
    std::string readString(std::string_view, std::string_view, std::string_view d) const override {
      return std::string(d);
    }
    int readInt(std::string_view, std::string_view, int d) const override { return d; }
    bool readStruct(std::string_view, std::string_view, void*, size_t) const override { return false; }
    void writeString(std::string_view, std::string_view, std::string_view) override {}
    void writeInt(std::string_view, std::string_view, int) override {}
    void writeStruct(std::string_view, std::string_view, const void*, size_t) override {}
  } store;
  loadProfile(*profile, store);
  EXPECT_EQ(profile->ltControl, 10);
  EXPECT_EQ(profile->leftWinLock, 1);
  EXPECT_EQ(profile->lightFx, 1);
  EXPECT_EQ(profile->lightFxFlag, 0);
  EXPECT_EQ(profile->breatheSpeed, 2);
  EXPECT_EQ(profile->waveMode, 1);
  EXPECT_EQ(profile->staticColor, 0x0000FFu);
  EXPECT_EQ(profile->globalColor, 0u);
  EXPECT_EQ(profile->mediaOption, -1);  // carried as the files hold it
  EXPECT_EQ(profileValueOutOfRange(*profile), "");

  profile->lightFx = 5;
  EXPECT_EQ(profileValueOutOfRange(*profile), "LightFX is 5, none of the six effects");
  sanitizeProfile(*profile);
  EXPECT_EQ(profile->lightFx, 1);
  profile->ltControl = 60;
  EXPECT_EQ(profileValueOutOfRange(*profile), "LtControl is 60 (0 to 10)");
  sanitizeProfile(*profile);
  EXPECT_EQ(profile->ltControl, 10);
}

// Categories 2, 7 and 10 are no longer offered by the editor, but stored
// entries may carry them; they survive a load, a save and a load again.
TEST_F(ProfileFilesTest, OldCategoriesSurviveLoadAndSave) {
  const struct {
    int key;
    uint8_t category, functionCode;
  } old[] = {{4, 2, kFunctionRecordedMacro}, {30, 7, 27}, {104, 10, kFunctionLaunch}};
  ProfileRecord& p = image_->profiles[1];
  for (const auto& o : old) {
    p.keys[o.key].category = o.category;
    p.keys[o.key].functionCode = o.functionCode;
    p.keys[o.key].stepCount = 2;
    p.keys[o.key].steps[0] = MacroStep::make(4, kActionPress, 10);
  }
  std::strcpy(p.keys[104].appPath, "C:\\Tools\\run.exe");
  ASSERT_TRUE(saveAll(*image_, folder_));
  ASSERT_TRUE(loadAll(*loaded_, folder_));
  ASSERT_TRUE(saveAll(*loaded_, folder_));
  ASSERT_TRUE(loadAll(*loaded_, folder_));
  for (const auto& o : old) {
    const KeyAssignment& k = loaded_->profiles[1].keys[o.key];
    EXPECT_EQ(k.category, o.category) << "key " << o.key;
    EXPECT_EQ(k.functionCode, o.functionCode) << "key " << o.key;
    EXPECT_EQ(0, std::memcmp(&k, &p.keys[o.key], sizeof k)) << "key " << o.key;
  }
}
