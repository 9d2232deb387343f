// Option.exe started on damaged program folders: skins with missing,
// truncated, oversized, lying and wrongly sized pictures, skin files with
// thousands of entries, wild positions and endless texts, list files that
// count millions of records or hold none, and profile files with damaged
// structs. Each time it starts, shows its window, takes a moment of use and
// a copy-data message from another process, and what it then saves is
// sound. The random bytes come from a fixed seed, so a failure repeats.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "IniFile.h"
#include "ListFiles.h"
#include "OptionHarness_win.h"
#include "ProfileFiles.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

constexpr unsigned kSeed = 20261208;
constexpr DWORD kLong = 20000;
constexpr size_t kMegabyte = 1 << 20;
constexpr int kEntries = 10000;
constexpr int kLongText = 10000;
constexpr int kFnKey = 74;
constexpr const char* kKeyPageTitle = "Key Assignment";
constexpr int kKeyPageCancel = 200 + 8;  // the page's control id base + BUTTONPOS key
// Where the skin places the keys elsewhere, a click opens nothing.
constexpr DWORD kKeyPageMs = 2000;

using Bytes = std::vector<uint8_t>;

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), std::streamsize(size));
}
void writeFile(const std::string& path, const Bytes& bytes) { writeFile(path, bytes.data(), bytes.size()); }
void writeFile(const std::string& path, const std::string& text) {
  writeFile(path, text.data(), text.size());
}

Bytes randomBytes(std::mt19937& random, size_t n) {
  Bytes bytes(n);
  for (uint8_t& b : bytes) b = uint8_t(random());
  return bytes;
}

bool endsWithNoCase(const std::string& s, const char* tail) {
  const size_t n = strlen(tail);
  return s.size() >= n && _stricmp(s.c_str() + s.size() - n, tail) == 0;
}

// Every file below `folder` (with its trailing backslash) whose name ends in `tail`.
void forEachFile(const std::string& folder, const char* tail,
                 const std::function<void(const std::string&)>& fn) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      forEachFile(folder + name + "\\", tail, fn);
    else if (endsWithNoCase(name, tail))
      fn(folder + name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

void forEachPicture(const std::string& skins, const std::function<void(const std::string&)>& fn) {
  forEachFile(skins, ".bmp", fn);
  forEachFile(skins, ".jpg", fn);
}

// Rewrites the values of `section` in an INI file line by line.
void rewriteSection(
    const std::string& path, const char* section,
    const std::function<std::string(const std::string& key, const std::string& value)>& change) {
  std::ifstream in(path, std::ios::binary);
  std::string out, line, current;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') current = line.substr(1, line.find(']') - 1);
    const size_t equals = line.find('=');
    if (_stricmp(current.c_str(), section) == 0 && equals != std::string::npos)
      line = line.substr(0, equals + 1) + change(line.substr(0, equals), line.substr(equals + 1));
    out += line + "\r\n";
  }
  in.close();
  writeFile(path, out);
}

// A bitmap file of the given size, filled with one grey.
Bytes bitmapFile(int width, int height) {
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = DWORD(file.bfOffBits + stride * height);
  Bytes bytes(file.bfSize, 0x80);
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
  return bytes;
}

// A bitmap whose header claims `width` x `height` at 32 bits with hardly any
// pixels behind it.
Bytes lyingBitmap(int width, int height) {
  Bytes bytes = bitmapFile(1, 1);
  auto* info = reinterpret_cast<BITMAPINFOHEADER*>(bytes.data() + sizeof(BITMAPFILEHEADER));
  info->biWidth = width;
  info->biHeight = height;
  info->biBitCount = 32;
  return bytes;
}

// The start of a baseline JPEG that claims 65535 x 65535 pixels.
Bytes lyingJpeg() {
  return {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
          0x00, 0x01, 0x00, 0x00, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x01, 0x22,
          0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11};
}

struct Damage {
  const char* name;
  void (*apply)(const std::string& folder, std::mt19937& random);
  // The monitor reads the settings files too: then it starts first, on the
  // emulated keyboard, and Option takes its settings from the monitor.
  bool withMonitor = false;
};

void missingPictures(const std::string& folder, std::mt19937&) {
  forEachPicture(folder + "skins\\", [](const std::string& path) { DeleteFileA(path.c_str()); });
}

void truncatedPictures(const std::string& folder, std::mt19937& random) {
  forEachPicture(folder + "skins\\", [&](const std::string& path) {
    Bytes bytes = readFile(path);
    // Some keep most of their data, some only a part of their headers.
    bytes.resize(random() % 2 ? bytes.size() * 2 / 3 : random() % 60);
    writeFile(path, bytes);
  });
}

void oversizedAndLyingPictures(const std::string& folder, std::mt19937& random) {
  const std::string skins = folder + "skins\\";
  // Twenty megabytes of junk behind each picture signature.
  Bytes junk = randomBytes(random, 20 * kMegabyte);
  junk[0] = 'B', junk[1] = 'M';
  writeFile(skins + "Config_Normal.jpg", junk);
  writeFile(skins + "main_Mask.bmp", junk);
  junk[0] = 0xFF, junk[1] = 0xD8, junk[2] = 0xFF;
  writeFile(skins + "Config_Over.jpg", junk);
  writeFile(skins + "main_Normal.jpg", junk);
  writeFile(skins + "Config_Mask.bmp", lyingBitmap(100000, 100000));
  writeFile(skins + "Config_Down.jpg", lyingBitmap(-60000, 70000));
  writeFile(skins + "main_Over.jpg", lyingJpeg());
  forEachPicture(skins + "LightFX\\", [&](const std::string& path) {
    writeFile(path, random() % 2 ? lyingJpeg() : lyingBitmap(int(random()), int(random())));
  });
}

void picturesOfTheWrongSize(const std::string& folder, std::mt19937& random) {
  int n = 0;
  forEachPicture(folder + "skins\\", [&](const std::string& path) {
    // Tiny, or far larger than any window; each a valid bitmap.
    const bool large = ++n % 7 == 0;
    writeFile(path, bitmapFile(large ? 1900 : 1 + int(random() % 9), large ? 1200 : 1 + int(random() % 9)));
  });
}

std::string positionWithText(int i, const std::string& text) {
  return "ENTRY_" + std::to_string(i) + "," + std::to_string(i % 500) + "," + std::to_string(i % 300) +
         ",20,20," + text;
}

void tenThousandEntries(const std::string& folder, std::mt19937&) {
  forEachFile(folder + "skins\\", ".ini", [](const std::string& path) {
    std::string text(reinterpret_cast<const char*>(readFile(path).data()), readFile(path).size());
    text += "\r\n[BUTTONPOS]\r\n";
    for (int i = 1; i <= kEntries; ++i)
      text += std::to_string(i) + "=" + positionWithText(i, "again") + "\r\n";
    text += "[NOISE]\r\n";
    for (int i = 1; i <= kEntries; ++i) text += "k" + std::to_string(i) + "=v\r\n";
    writeFile(path, text);
  });
}

void positionsFarOutside(const std::string& folder, std::mt19937&) {
  static const char* const kWild[] = {"FAR,99999,99999,5,5,",
                                      "NEGATIVE,-5000,-5000,50,50,",
                                      "WORDS,abc,def,ghi,jkl,",
                                      "HUGE,2147483647,2147483647,2147483647,2147483647,",
                                      "LOW,-2147483648,-2147483648,-2147483648,-1,",
                                      "INVERTED,300,300,-400,-400,",
                                      "NOCOMMA",
                                      ",,,,,,,,,,,,",
                                      "SHORT,5,5,"};
  forEachFile(folder + "skins\\", ".ini", [](const std::string& path) {
    int i = 0;
    auto wild = [&](const std::string&, const std::string&) {
      return std::string(kWild[i++ % std::size(kWild)]);
    };
    rewriteSection(path, "BUTTONPOS", wild);
    rewriteSection(path, "PAGEPOSITION", wild);
  });
}

void endlessTexts(const std::string& folder, std::mt19937&) {
  std::string words;
  while (words.size() < size_t(kLongText)) words += "quite a long tooltip ";
  forEachFile(folder + "skins\\", ".ini", [&](const std::string& path) {
    rewriteSection(path, "BUTTONPOS", [&](const std::string&, const std::string& value) {
      // A name as long as the text, and the text after the four numbers.
      const size_t comma = value.find(',');
      const size_t last = value.rfind(',');
      if (comma == std::string::npos) return value;
      return std::string(kLongText, 'N') + value.substr(comma, last - comma + 1) + words;
    });
    rewriteSection(path, "SCREEN", [&](const std::string&, const std::string&) { return words; });
  });
}

// Three records whatever the file claims, one of them damaged.
template <typename Record>
void listCountingMillions(const std::string& folder, const ListFile& file, std::mt19937& random) {
  std::vector<Record> list(3);
  for (Record& record : list) {
    const Bytes bytes = randomBytes(random, sizeof record);
    std::memcpy(&record, bytes.data(), sizeof record);
  }
  ASSERT_TRUE(saveList(list, folder, file));
  const std::string path = folder + file.file;
  WritePrivateProfileStringA(file.section, "number", "50000000", path.c_str());
  WritePrivateProfileStringA(file.section, "1", "00FF00ZZ", path.c_str());
}

void listsCountingMillions(const std::string& folder, std::mt19937& random) {
  listCountingMillions<MacroRecord>(folder, kMacroLibraryFile, random);
  listCountingMillions<TextMacroRecord>(folder, kTextMacroLibraryFile, random);
  listCountingMillions<AppPathEntry>(folder, kLaunchAppListFile, random);
  for (int page = 1; page <= kProfileCount; ++page)
    listCountingMillions<AppPathEntry>(folder, profileAppListFile(page), random);
}

void oneLargeList(const std::string& folder, std::mt19937&) {
  // About 20 MB: five times the records that any list keeps.
  constexpr int kPrograms = 20000;
  AppList list;
  for (int i = 0; i < kPrograms; ++i) addPath(list, "C:\\Games\\game" + std::to_string(i) + ".exe");
  ASSERT_TRUE(saveList(list, folder, kLaunchAppListFile));
  ASSERT_TRUE(saveList(list, folder, profileAppListFile(1)));
}

void emptyAndBrokenLists(const std::string& folder, std::mt19937& random) {
  writeFile(folder + kMacroLibraryFile.file, std::string());
  writeFile(folder + kTextMacroLibraryFile.file, "[TextMacro]\r\nnumber=-7\r\n");
  writeFile(folder + kLaunchAppListFile.file, "[APP]\r\nnumber=abc\r\n0=\r\n");
  writeFile(folder + profileAppListFile(1).file, randomBytes(random, 64 * 1024));
  writeFile(folder + profileAppListFile(2).file, "[PROFILE2APP]\r\nnumber=2147483647\r\n");
  // Lists 3 to 5 are missing.
}

void damagedProfiles(const std::string& folder, std::mt19937& random) {
  auto profile = std::make_unique<ProfileRecord>();
  // 0: a sound file cut in the middle of a line.
  buildDefaultProfile(*profile, 0);
  ASSERT_TRUE(saveProfile(*profile, profilePath(folder, 0)));
  Bytes bytes = readFile(profilePath(folder, 0));
  bytes.resize(bytes.size() * 3 / 5);
  writeFile(profilePath(folder, 0), bytes);
  // 1: nothing but random bytes.
  writeFile(profilePath(folder, 1), randomBytes(random, 200 * 1024));
  // 2: every struct of the wrong size or with a wrong checksum.
  buildDefaultProfile(*profile, 2);
  ASSERT_TRUE(saveProfile(*profile, profilePath(folder, 2)));
  rewriteSection(profilePath(folder, 2), "Setting", [&](const std::string&, const std::string& value) {
    if (value.size() < 64) return std::string("2147483647");  // the numbers at their limit
    const int kind = int(random() % 3);
    if (kind == 0) return value.substr(0, value.size() / 2);
    if (kind == 1) return value + value;
    std::string flipped = value;
    flipped[flipped.size() - 1] = flipped.back() == '0' ? '1' : '0';
    return flipped;
  });
  // 3 and 4: every field random, every struct with its right size and checksum.
  for (int p : {3, 4}) {
    const Bytes junk = randomBytes(random, sizeof *profile);
    std::memcpy(profile.get(), junk.data(), sizeof *profile);
    ASSERT_TRUE(saveProfile(*profile, profilePath(folder, p)));
  }
  WritePrivateProfileStringA("Setting", "ProFileName", std::string(kLongText, 'P').c_str(),
                             profilePath(folder, 3).c_str());
  WritePrivateProfileStringA("Setting", "GameFile0", std::string(kLongText, 'G').c_str(),
                             profilePath(folder, 3).c_str());
  writeFile(folder + "config.ini",
            "[Setting]\r\nCurrentProfile=99\r\nFWVersion=-2147483648\r\nRightWin=junk\r\n");
}

// The first thing wrong with the settings in `folder`, or nothing.
std::string unsoundSettings(const std::string& folder) {
  const int current = IniFile(configIniPath(folder)).readInt("Setting", "CurrentProfile", -1);
  if (current < 0 || current >= kProfileCount) return "CurrentProfile " + std::to_string(current);
  auto key = std::make_unique<KeyAssignment>();
  auto sanitised = std::make_unique<KeyAssignment>();
  for (int p = 0; p < kProfileCount; ++p) {
    const IniFile file(profilePath(folder, p));
    if (!file.existed()) return "profile " + std::to_string(p) + " missing";
    for (int k = 0; k < kKeyCount; ++k) {
      const std::string name = "MacroKeyInfo" + std::to_string(k);
      if (!file.readStruct("Setting", name, key.get(), sizeof *key))
        return "profile " + std::to_string(p) + " " + name + " unreadable";
      *sanitised = *key;
      sanitizeKey(*sanitised, k);
      if (std::memcmp(sanitised.get(), key.get(), sizeof *key) != 0)
        return "profile " + std::to_string(p) + " " + name + " out of range";
    }
  }
  const IniFile macros(folder + kMacroLibraryFile.file);
  const int count = macros.readInt(kMacroLibraryFile.section, "number", -1);
  if (count < 0 || count > kMaxListRecords + kProfileCount * kKeyCount)
    return "macro library of " + std::to_string(count);
  for (int i = 0; i < count; ++i) {
    MacroRecord record{};
    if (!macros.readStruct(kMacroLibraryFile.section, std::to_string(i), &record, sizeof record)) continue;
    MacroRecord copy = record;
    sanitizeRecord(copy);
    if (std::memcmp(&copy, &record, sizeof record) != 0)
      return "macro " + std::to_string(i) + " out of range";
  }
  return {};
}

class OptionHostile : public OptionHarness, public ::testing::WithParamInterface<Damage> {
 protected:
  // Presses a control of the main window as its button would.
  void press(int key) {
    HWND button = mainButton(key);
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(optionWindow(), WM_COMMAND, MAKEWPARAM(kMainIdBase + key, BN_CLICKED),
                                    reinterpret_cast<LPARAM>(button), SMTO_NORMAL, kLong, &result))
        << "control " << key;
  }
  // A megabyte of copy data, as any process may send.
  void sendCopyData(std::mt19937& random) {
    const Bytes payload = randomBytes(random, kMegabyte);
    COPYDATASTRUCT copy{151, DWORD(payload.size()), const_cast<uint8_t*>(payload.data())};
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(optionWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                                    SMTO_NORMAL, kLong, &result));
  }
};

TEST_P(OptionHostile, StartsShowsWhatItCanAndSavesSoundSettings) {
  std::mt19937 random(kSeed);
  std::printf("random seed %u\n", kSeed);
  GetParam().apply(folder_, random);
  if (HasFatalFailure()) return;
  if (GetParam().withMonitor) startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;

  startOption();
  if (HasFatalFailure()) return;
  // The last profile (all random where profiles are damaged): the Fn key of
  // its picture opened, where the skin puts it inside the window, and the
  // page left again; then both tabs.
  press(kFirstSelector + kProfileCount - 1);
  RECT window{};
  GetWindowRect(optionWindow(), &window);
  if (const POINT fn = keyboardKey(kFnKey); PtInRect(&window, fn)) {
    click(fn);
    ASSERT_TRUE(optionRunning()) << "after a key";
    if (HWND page = waitForWindow(kKeyPageTitle, kKeyPageMs)) {
      // Cancel, pressed as its button would: its place may be anywhere.
      PostMessageA(page, WM_COMMAND, MAKEWPARAM(kKeyPageCancel, BN_CLICKED), 0);
      ASSERT_TRUE(waitFor([&] { return !IsWindow(page) || !IsWindowVisible(page); }, kLong));
    }
  }
  for (int control : {int(kTabLighting), int(kTabWindowsKey), int(kPreview)}) {
    press(control);
    ASSERT_TRUE(optionRunning()) << "after control " << control;
  }
  sendCopyData(random);
  ASSERT_TRUE(optionRunning()) << "after copy data";
  press(kApply);
  std::string problem;
  EXPECT_TRUE(waitFor([&] { return (problem = unsoundSettings(folder_)).empty(); }, kLong)) << problem;
  ASSERT_TRUE(optionRunning());
  if (GetParam().withMonitor) {
    EXPECT_TRUE(waitApplyEnabled());
    const std::vector<std::string> faults = reportFaults(tracedCalls());
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
  }
  press(kClose);
  ASSERT_EQ(WaitForSingleObject(option_.hProcess, kLong), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(option_.hProcess, &code);
  EXPECT_EQ(code, 0u);
  // What it saved loads again as it was written.
  EXPECT_EQ(unsoundSettings(folder_), "");
}

// The shared block filled with random bytes, before Option starts and again
// while it runs: it takes what it can from it, the monitor downloads only
// sound reports, and the settings saved are sound.
TEST_F(OptionHostile, ARandomSharedBlockIsTakenInRangeAndSavedSound) {
  std::mt19937 random(kSeed);
  std::printf("random seed %u\n", kSeed);
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  SharedBlock block;
  ASSERT_TRUE(block.open());
  auto junk = std::make_unique<SettingsImage>();
  auto fillRandomly = [&] {
    const Bytes bytes = randomBytes(random, sizeof *junk);
    std::memcpy(junk.get(), bytes.data(), sizeof *junk);
    ASSERT_TRUE(block.copyToBlock(*junk));
  };
  fillRandomly();
  startOption();
  if (HasFatalFailure()) return;
  press(kTabLighting);
  press(kApply);
  EXPECT_TRUE(waitApplyEnabled());
  fillRandomly();
  for (UINT message : {unsigned(UM_PROFILE_SWITCHED), unsigned(UM_RELOAD_SETTINGS)}) {
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(optionWindow(), message, 0, 0, SMTO_NORMAL, kLong, &result));
    ASSERT_TRUE(optionRunning());
  }
  press(kTabWindowsKey);
  press(kApply);
  EXPECT_TRUE(waitApplyEnabled());
  std::string problem;
  EXPECT_TRUE(waitFor([&] { return (problem = unsoundSettings(folder_)).empty(); }, kLong)) << problem;
  const std::vector<std::string> faults = reportFaults(tracedCalls());
  EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
  press(kClose);
  ASSERT_EQ(WaitForSingleObject(option_.hProcess, kLong), WAIT_OBJECT_0);
}

const Damage kDamages[] = {
    {"MissingPictures", missingPictures},
    {"TruncatedPictures", truncatedPictures},
    {"OversizedAndLyingPictures", oversizedAndLyingPictures},
    {"PicturesOfTheWrongSize", picturesOfTheWrongSize},
    {"TenThousandEntries", tenThousandEntries},
    {"PositionsFarOutside", positionsFarOutside},
    {"EndlessTexts", endlessTexts},
    {"ListsCountingMillions", listsCountingMillions},
    {"OneLargeList", oneLargeList},
    {"EmptyAndBrokenLists", emptyAndBrokenLists},
    {"DamagedProfiles", damagedProfiles},
    {"DamagedProfilesWithTheMonitor", damagedProfiles, true},
};

INSTANTIATE_TEST_SUITE_P(DamagedFolders, OptionHostile, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& damage) {
                           return std::string(damage.param.name);
                         });

}  // namespace
