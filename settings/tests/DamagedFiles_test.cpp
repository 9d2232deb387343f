// Settings and list files of random bytes, and records of random bytes with
// sound checksums, read under the sanitisers: nothing is read out of bounds,
// untouched lines keep their bytes, and every record loaded is in range. The
// bytes come from a fixed seed, so a failure repeats.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "IniDocument.h"
#include "IniFile.h"
#include "ListFiles.h"
#include "ProfileFiles.h"

namespace {

constexpr unsigned kSeed = 20261208;
constexpr int kRounds = 40;
constexpr size_t kLargestFile = 64 * 1024;

// Bytes that INI files are made of, with some of anything else.
std::string randomIniText(std::mt19937& random, size_t size) {
  static const char kAlphabet[] = "[]=;\"\r\n \t0123456789ABCDEF-Setting MacroKeyInfo7 number";
  std::string text(size, '\0');
  for (char& c : text) c = random() % 8 ? kAlphabet[random() % (sizeof kAlphabet - 1)] : char(random());
  return text;
}

template <typename Record>
bool inRange(const Record& record) {
  Record copy = record;
  sanitizeRecord(copy);
  return std::memcmp(&copy, &record, sizeof record) == 0;
}

bool inRange(const ProfileRecord& profile) {
  auto copy = std::make_unique<ProfileRecord>(profile);
  sanitizeProfile(*copy);
  return std::memcmp(copy.get(), &profile, sizeof profile) == 0;
}

class DamagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillon-damaged-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = std::string(pattern) + "/";
    ASSERT_EQ(system(("mkdir -p " + folder_ + "config").c_str()), 0);
  }
  void TearDown() override { (void)system(("rm -rf " + folder_).c_str()); }
  void write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  }

  std::mt19937 random_{kSeed};
  std::string folder_;
};

TEST_F(DamagedFiles, RandomTextParsesAndUntouchedLinesKeepTheirBytes) {
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = randomIniText(random_, random_() % kLargestFile);
    const IniDocument doc = IniDocument::parse(text);
    EXPECT_EQ(doc.serialize(), text) << "round " << round;
    (void)doc.find("Setting", "MacroKeyInfo7");
  }
}

TEST_F(DamagedFiles, RandomProfileFilesLoadInRange) {
  auto profile = std::make_unique<ProfileRecord>();
  const std::string path = profilePath(folder_, 0);
  for (int round = 0; round < kRounds; ++round) {
    std::string text = "[Setting]\r\n" + randomIniText(random_, random_() % kLargestFile);
    write(path, text);
    buildDefaultProfile(*profile, 0);
    loadProfile(*profile, path);
    EXPECT_TRUE(inRange(*profile)) << "round " << round;
  }
}

TEST_F(DamagedFiles, RandomRecordsWithSoundChecksumsLoadInRange) {
  auto profile = std::make_unique<ProfileRecord>();
  auto loaded = std::make_unique<ProfileRecord>();
  const std::string path = profilePath(folder_, 1);
  for (int round = 0; round < kRounds / 4; ++round) {
    auto* bytes = reinterpret_cast<uint8_t*>(profile.get());
    for (size_t i = 0; i < sizeof *profile; ++i) bytes[i] = uint8_t(random_());
    ASSERT_TRUE(saveProfile(*profile, path));
    loadProfile(*loaded, path);
    EXPECT_TRUE(inRange(*loaded)) << "round " << round;
  }
}

TEST_F(DamagedFiles, ListsOfRandomRecordsAndCountsLoadBoundedAndInRange) {
  for (const char* count : {"2147483647", "-2147483648", "50000000", "7", "x"}) {
    MacroLibrary macros(3);
    TextMacroLibrary texts(3);
    for (MacroRecord& r : macros)
      for (size_t i = 0; i < sizeof r; ++i) reinterpret_cast<uint8_t*>(&r)[i] = uint8_t(random_());
    for (TextMacroRecord& r : texts)
      for (size_t i = 0; i < sizeof r; ++i) reinterpret_cast<uint8_t*>(&r)[i] = uint8_t(random_());
    ASSERT_TRUE(saveList(macros, folder_, kMacroLibraryFile));
    ASSERT_TRUE(saveList(texts, folder_, kTextMacroLibraryFile));
    for (const ListFile& file : {kMacroLibraryFile, kTextMacroLibraryFile}) {
      IniFile ini(folder_ + file.file);
      ini.writeString(file.section, "number", count);
      ini.writeString(file.section, "1", "00FF00ZZ");
      ASSERT_TRUE(ini.save());
    }
    MacroLibrary loadedMacros;
    TextMacroLibrary loadedTexts;
    loadList(loadedMacros, folder_, kMacroLibraryFile);
    loadList(loadedTexts, folder_, kTextMacroLibraryFile);
    EXPECT_LE(loadedMacros.size(), size_t(kMaxListRecords)) << count;
    for (const MacroRecord& r : loadedMacros) EXPECT_TRUE(inRange(r)) << count;
    for (const TextMacroRecord& r : loadedTexts) EXPECT_TRUE(inRange(r)) << count;
  }
}

}  // namespace
