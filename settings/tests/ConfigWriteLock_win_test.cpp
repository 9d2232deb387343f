// config.ini has two writers in two processes: the configuration program's
// saveAll and the monitor's single keys. A child process saves all settings
// over and over while this process writes its own keys in between; every
// one of those writes must still be in the file afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "ConfigWriteLock.h"
#include "IniFile.h"
#include "PlatformIniStore_win.h"
#include "ProfileFiles.h"

namespace {

constexpr int kSaves = 12;
constexpr char kFolderVariable[] = "QUILLON_CONFIG_LOCK_FOLDER";

std::string folderFromEnvironment() {
  char folder[MAX_PATH] = "";
  if (!GetEnvironmentVariableA(kFolderVariable, folder, sizeof folder)) return "";
  return folder;
}

struct MonitorKeys {
  int device = -1;
  std::string message;
};

MonitorKeys readMonitorKeys(const std::string& configIni) {
  const ConfigWriteLock lock;  // a whole file, not one being replaced
  const IniFile config(configIni);
  return {config.readInt("Setting", "Device", -1), config.readString("OSDData", "Message", "")};
}

}  // namespace

// The configuration program's side, run in the child.
TEST(ConfigWriteLock, DISABLED_SaveAllRounds) {
  const std::string folder = folderFromEnvironment();
  ASSERT_FALSE(folder.empty());
  auto image = std::make_unique<SettingsImage>();
  clearImage(*image);
  buildDefaultImage(*image);
  for (int round = 0; round < kSaves; ++round) {
    image->currentProfile = round % kProfileCount;
    // Every round writes the profile files too, as an apply does: a save
    // that finds them unchanged is over before the monitor's side gets going.
    for (ProfileRecord& profile : image->profiles) ++profile.keys[round % kKeyCount].repeatDelayMs;
    ASSERT_TRUE(saveAll(*image, folder));
  }
}

TEST(ConfigWriteLock, MonitorWritesBetweenSavesOfTheOtherProgramAreNeverLost) {
  const std::string folder = makeScratchFolder("configlock");
  const std::string configIni = configIniPath(folder);
  SetEnvironmentVariableA(kFolderVariable, folder.c_str());
  HANDLE child = startChildTest("ConfigWriteLock.DISABLED_SaveAllRounds");
  ASSERT_NE(child, nullptr);

  int written = -1, lost = 0, failed = 0, whileSaving = 0;
  while (WaitForSingleObject(child, 0) == WAIT_TIMEOUT) {
    const MonitorKeys found = readMonitorKeys(configIni);
    if (written >= 0 && (found.device != written || found.message != "round " + std::to_string(written)))
      ++lost;
    ++written;
    failed += writeDeviceState(configIni, written) ? 0 : 1;
    failed += writeOsdMessage(configIni, "round " + std::to_string(written)) ? 0 : 1;
    ++whileSaving;
  }
  EXPECT_EQ(waitChild(child), 0u) << "the saving child failed";
  const MonitorKeys last = readMonitorKeys(configIni);
  if (last.device != written) ++lost;

  EXPECT_EQ(lost, 0) << "of " << whileSaving << " writes";
  EXPECT_EQ(failed, 0);
  EXPECT_GE(whileSaving, kSaves) << "the two writers hardly met";
  // The child's own key is whole too.
  EXPECT_EQ(IniFile(configIni).readInt("Setting", "CurrentProfile", -1), (kSaves - 1) % kProfileCount);
  SetEnvironmentVariableA(kFolderVariable, nullptr);
}

// Threads of one program wait for each other as well.
TEST(ConfigWriteLock, IsExclusiveAcrossThreads) {
  struct Shared {
    LONG inside = 0;
    LONG overlaps = 0;
  } shared;
  auto worker = [](LPVOID param) -> DWORD {
    auto* s = static_cast<Shared*>(param);
    for (int i = 0; i < 200; ++i) {
      const ConfigWriteLock lock;
      if (!lock.held()) return 1;
      if (InterlockedIncrement(&s->inside) != 1) InterlockedIncrement(&s->overlaps);
      Sleep(0);
      InterlockedDecrement(&s->inside);
    }
    return 0;
  };
  HANDLE threads[2];
  for (HANDLE& t : threads) t = CreateThread(nullptr, 0, worker, &shared, 0, nullptr);
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  for (HANDLE t : threads) {
    DWORD code = 1;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(t);
  }
  EXPECT_EQ(shared.overlaps, 0);
}
