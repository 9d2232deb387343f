// A child process saves a profile-sized file over and over and is killed at
// random moments; after every kill the file must load whole, as the version
// before a save or the one after it.
#include <gtest/gtest.h>

#include <random>

#include "FileIo.h"
#include "IniFile.h"
#include "PlatformIniStore_win.h"

namespace {

constexpr int kKills = 300;
constexpr size_t kBodySize = 1 << 20;  // about one profile file

std::string bodyOf(int generation) { return std::string(kBodySize, char('A' + generation % 26)); }

void writeGeneration(IniFile& file, int generation) {
  file.writeInt("Setting", "Generation", generation);
  file.writeString("Setting", "Body", bodyOf(generation));
  file.writeInt("Setting", "Check", generation);
}

// -1 when the file is broken or a mix of two versions.
int loadedGeneration(const std::string& path) {
  std::string bytes;
  if (!readWholeFile(path, bytes)) return -1;
  const IniDocument doc = IniDocument::parse(bytes);
  const auto generation = doc.find("Setting", "Generation");
  const auto body = doc.find("Setting", "Body");
  const auto check = doc.find("Setting", "Check");
  if (!generation || !body || !check || *generation != *check) return -1;
  const int g = parseIniInt(*generation);
  return *body == bodyOf(g) ? g : -1;
}

// The folder travels to the child in the environment; read through the
// system, as the C runtime's copy does not see SetEnvironmentVariable.
std::string targetPath() {
  char folder[MAX_PATH] = "";
  if (!GetEnvironmentVariableA("QUILLON_ATOMIC_FOLDER", folder, sizeof folder)) return "";
  return std::string(folder) + "config\\Default0.gkp";
}

void removeTemporaries(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "config\\*.tmp").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do DeleteFileA((folder + "config\\" + found.cFileName).c_str());
  while (FindNextFileA(find, &found));
  FindClose(find);
}

}  // namespace

TEST(AtomicSave, AKilledWriterNeverLeavesATornFile) {
  const std::string folder = makeScratchFolder("atomic");
  SetEnvironmentVariableA("QUILLON_ATOMIC_FOLDER", folder.c_str());
  {
    ASSERT_FALSE(targetPath().empty());
    IniFile file(targetPath());
    writeGeneration(file, 0);
    ASSERT_TRUE(file.save());
  }
  std::mt19937 random(12345);
  int last = 0, advanced = 0;
  for (int i = 0; i < kKills; ++i) {
    HANDLE child = startChildTest("AtomicSaveChild.DISABLED_SavesForever");
    ASSERT_NE(child, nullptr);
    Sleep(DWORD(20 + random() % 100));
    TerminateProcess(child, 9);
    waitChild(child);
    const int now = loadedGeneration(targetPath());
    ASSERT_GE(now, last) << "torn or lost file after kill " << i;
    advanced += now > last;
    last = now;
    removeTemporaries(folder);
  }
  // Most kills must have hit a running writer, or the test proves nothing.
  EXPECT_GT(advanced, kKills / 5);
}

TEST(AtomicSaveChild, DISABLED_SavesForever) {
  int generation = loadedGeneration(targetPath());
  ASSERT_GE(generation, 0);
  for (;;) {
    IniFile file(targetPath());
    writeGeneration(file, ++generation);
    file.save();
  }
}
