// Monitor.exe against what any process of the session can throw at it: copy
// data of every id and size, floods of applies over a shared block full of
// random bytes, key events and device changes of every pattern. It keeps
// running, sends the keyboard only sound reports and starts only the program
// that the pressed key holds. The random input comes from a fixed seed, so a
// failure repeats.

// aclapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <aclapi.h>
// clang-format on

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "DownloadEncoder.h"
#include "DownloadTrace.h"
#include "MonitorHarness_win.h"
#include "ProfileFiles.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

constexpr unsigned kSeed = 20261208;
constexpr DWORD kLong = 20000;
constexpr UINT kAnswerMs = 5000;
constexpr size_t kMegabyte = 1 << 20;
// Posts between two drains: well below the system's limit of a queue.
constexpr int kPostsPerDrain = 4000;

class MonitorHostile : public MonitorHarness {
 protected:
  void SetUp() override {
    MonitorHarness::SetUp();
    std::printf("random seed %u\n", kSeed);
  }

  bool monitorAlive() const {
    return monitor_.hProcess && WaitForSingleObject(monitor_.hProcess, 0) == WAIT_TIMEOUT &&
           monitorWindow() != nullptr;
  }

  // Everything posted to the monitor before this has been handled: its
  // queue is first in, first out, and an apply is answered after a download.
  bool drain() {
    const int before = standIn_.applyDone;
    if (!PostMessageA(monitorWindow(), UM_APPLY, 0, 0)) return false;
    return waitFor([&] { return standIn_.applyDone > before; }, kLong);
  }

  // Posts, draining the queue now and then; false when a post failed.
  bool post(UINT message, WPARAM wParam, LPARAM lParam) {
    if (++posted_ % kPostsPerDrain == 0 && !drain()) return false;
    return PostMessageA(monitorWindow(), message, wParam, lParam) != FALSE;
  }

  // A plain apply that changed one key still round-trips and sends exactly
  // what the encoder makes of the profile.
  void expectAnApplyStillWorks() {
    ASSERT_TRUE(monitorAlive());
    std::unique_ptr<SettingsImage> image = readBlock();
    sanitizeImage(*image);
    clearChangeFlags(*image);
    const int p = image->currentProfile;
    image->keyDirty[p][0] = 1;
    const size_t mark = tracedCalls().size();
    ASSERT_TRUE(apply(*image));
    const std::vector<std::string> calls = tracedCalls();
    std::vector<std::string> lines;
    for (size_t i = mark; i < calls.size(); ++i) lines.push_back("0 " + calls[i]);
    const auto downloads = emu::splitDownloads(emu::receivedReports(lines));
    ASSERT_EQ(downloads.size(), 1u);
    kbd::DownloadFlags flags;
    flags.keysChanged = true;
    EXPECT_EQ(emu::compareDownload(downloads[0], kbd::encodeDownload(image->profiles[p], flags, false))
                  .firstDifference,
              "");
  }

  void expectOnlySoundReports() {
    const std::vector<std::string> faults = reportFaults(tracedCalls());
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
  }

  std::mt19937 random_{kSeed};
  int posted_ = 0;
};

std::vector<uint8_t> randomBytes(std::mt19937& random, size_t n) {
  std::vector<uint8_t> bytes(n);
  for (uint8_t& b : bytes) b = uint8_t(random());
  return bytes;
}

// Counts the programs that a process and its children start: the job that
// holds them counts every process that ever joined it, also the ones that
// ended at once.
class StartedPrograms {
 public:
  explicit StartedPrograms(HANDLE process) : job_(CreateJobObjectA(nullptr, nullptr)) {
    joined_ = job_ && AssignProcessToJobObject(job_.get(), process);
  }
  bool joined() const { return joined_; }
  // Processes that have been in the job, the first one included.
  DWORD total() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &info, sizeof info,
                                   nullptr))
      return 0;
    return info.TotalProcesses;
  }

 private:
  UniqueHandle job_;
  bool joined_ = false;
};

TEST_F(MonitorHostile, CopyDataOfAnyIdAndSizeIsAnsweredAndStoresOnlyABoundedText) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  const HWND monitor = monitorWindow();
  auto send = [&](ULONG_PTR id, const std::vector<uint8_t>& payload, bool nullData = false) {
    COPYDATASTRUCT copy{id, DWORD(payload.size()), nullData ? nullptr : const_cast<uint8_t*>(payload.data())};
    DWORD_PTR answer = 0;
    const LRESULT sent = SendMessageTimeoutA(monitor, WM_COPYDATA, WPARAM(standIn_.hwnd),
                                             reinterpret_cast<LPARAM>(&copy), SMTO_BLOCK, kAnswerMs, &answer);
    return sent != 0;
  };

  const ULONG_PTR ids[] = {0, 1, 150, 151, 152, 255, 0x7FFFFFFF, ~ULONG_PTR(0), ULONG_PTR(random_())};
  const size_t sizes[] = {0, 1, 150, 151, 152, 4096, 65536, kMegabyte};
  for (ULONG_PTR id : ids)
    for (size_t size : sizes) ASSERT_TRUE(send(id, randomBytes(random_, size))) << id << " " << size;
  ASSERT_TRUE(send(151, {}, true));

  // As fast as the monitor answers: thousands in a second or two.
  constexpr int kFlood = 3000;
  const DWORD start = GetTickCount();
  for (int i = 0; i < kFlood; ++i) {
    const ULONG_PTR id = i % 10 == 0 ? 151 : ULONG_PTR(random_() % 300);
    ASSERT_TRUE(send(id, randomBytes(random_, random_() % 400))) << i;
  }
  std::printf("%d copies in %lu ms\n", kFlood, GetTickCount() - start);

  char message[1024] = {};
  GetPrivateProfileStringA("OSDData", "Message", "", message, sizeof message,
                           (folder_ + "config.ini").c_str());
  EXPECT_LE(strlen(message), 150u);
  EXPECT_EQ(device(), 1);  // the rest of config.ini survived the texts
  expectAnApplyStillWorks();
  expectOnlySoundReports();
  exitFromTray();
}

TEST_F(MonitorHostile, AnApplyFloodOverRandomBlocksSendsOnlySoundReportsAndApplyStillWorks) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  const std::unique_ptr<SettingsImage> original = readBlock();
  const WPARAM kinds[] = {0, 1, 2, 3, 0xFF, 0x7FFFFFFF, WPARAM(-1), WPARAM(0x80000000)};
  constexpr int kApplies = 120;
  constexpr int kAppliesPerRandomBlock = 12;
  auto junk = std::make_unique<SettingsImage>();
  SharedBlock block;
  ASSERT_TRUE(block.open());
  const int before = standIn_.applyDone;
  for (int i = 0; i < kApplies; ++i) {
    if (i % kAppliesPerRandomBlock == 0 || i == 1) {
      auto* bytes = reinterpret_cast<uint8_t*>(junk.get());
      for (size_t b = 0; b < sizeof *junk; ++b) bytes[b] = uint8_t(random_());
      // The first makes every key of every profile a macro with random
      // steps: more than the keyboard's buffers.
      if (i == 0)
        for (ProfileRecord& profile : junk->profiles)
          for (KeyAssignment& key : profile.keys)
            key.functionCode = random_() % 2 ? kFunctionRecordedMacro : kFunctionCombination;
      ASSERT_TRUE(block.copyToBlock(*junk));
    }
    const WPARAM kind = i % 3 == 0 ? WPARAM(random_()) : kinds[i % std::size(kinds)];
    ASSERT_TRUE(PostMessageA(monitorWindow(), UM_APPLY, kind, LPARAM(random_())));
  }
  // Every apply is answered once, whatever its kind.
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone - before >= kApplies; }, 120000))
      << standIn_.applyDone - before << " of " << kApplies << " answered";
  ASSERT_TRUE(monitorAlive());
  expectOnlySoundReports();
  const std::optional<std::string> state = control("dump");
  ASSERT_TRUE(state.has_value());
  EXPECT_NE(state->find("\"violations\":0,"), std::string::npos) << state->substr(0, 300);

  ASSERT_TRUE(block.copyToBlock(*original));
  expectAnApplyStillWorks();
  exitFromTray();
}

TEST_F(MonitorHostile, KeyEventsOfEveryPatternStartOnlyTheProgramOfTheKeyAndOnlyOnItsEvent) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  constexpr int kKey = 20;
  constexpr int kEmptyPathKey = 21;
  constexpr int kInactiveKey = 30;
  std::unique_ptr<SettingsImage> image = readBlock();
  const int active = image->currentProfile;
  const int inactive = (active + 1) % kProfileCount;
  auto bind = [&](int profile, int k, const std::string& path) {
    KeyAssignment& key = image->profiles[profile].keys[k];
    key.category = kCategoryLaunch;
    key.functionCode = kFunctionLaunch;
    lstrcpynA(key.appPath, path.c_str(), sizeof key.appPath);
    image->keyDirty[profile][k] = 1;
  };
  bind(active, kKey, folder_ + "Launched.exe");
  bind(active, kEmptyPathKey, "");
  bind(inactive, kInactiveKey, folder_ + "Inactive.exe");
  bind(inactive, kKey, folder_ + "Inactive.exe");
  ASSERT_TRUE(installMarker("Launched.exe"));
  ASSERT_TRUE(installMarker("Inactive.exe"));
  ASSERT_TRUE(apply(*image));

  // The events that start the launch key's program: code 10 without an extra
  // byte, and code 11, which asks for the key's action whatever it is.
  auto launches = [](WPARAM w, LPARAM l) {
    const WPARAM code = w & 0xFFFF;
    return (code == 10 && (l & 0xFFFF) == kKey + 1) || (code == 11 && (l & 0xFF) == kKey + 1);
  };
  // Every event code with the key numbers around the keys in play, and every
  // key number, with and without extra bytes, with the codes that act.
  std::vector<WPARAM> everyCode, actingCodes{10, 11, 0x800B, 0x800A, 0};
  for (WPARAM w = 0; w <= 0xFF; ++w) everyCode.push_back(w);
  for (WPARAM w : {0x800AULL, 0x800BULL, 0x8000ULL, 0xFFFFULL, 0x1000AULL, 0x1000BULL, 0x7FFFFFFFULL,
                   0x80000000ULL, 0xFFFF000AULL, 0xFFFF800BULL, ~0ULL}) {
    everyCode.push_back(WPARAM(w));
    actingCodes.push_back(WPARAM(w));
  }
  std::vector<LPARAM> someKeys{
      0, 1, kKey, kKey + 1, kKey + 2, kEmptyPathKey + 1, kInactiveKey + 1, kKeyCount, kKeyCount + 1, 0xFF};
  for (LPARAM junk : {LPARAM(-1), LPARAM(0x7FFFFFFF), LPARAM(INT32_MIN), LPARAM(0xFFFF), LPARAM(0x10000),
                      LPARAM(0xFFFF0000) | (kKey + 1)})
    someKeys.push_back(junk);
  std::vector<LPARAM> everyKey;
  for (LPARAM k = 0; k <= 0xFF; ++k)
    for (LPARAM extra : {0, 0x80}) everyKey.push_back(k | extra << 8);

  const StartedPrograms programs(monitor_.hProcess);
  ASSERT_TRUE(programs.joined());
  const DWORD before = programs.total();
  auto postAll = [&](const std::vector<WPARAM>& codes, const std::vector<LPARAM>& keys) {
    for (WPARAM w : codes)
      for (LPARAM l : keys) {
        if (launches(w, l)) continue;
        ASSERT_TRUE(post(UM_KEYBOARD_EVENT, w, l)) << w << " " << l;
      }
  };
  postAll(everyCode, someKeys);
  postAll(actingCodes, everyKey);
  ASSERT_TRUE(drain());
  EXPECT_EQ(programs.total(), before);
  EXPECT_FALSE(startedMark("Launched.exe", 0).has_value());

  ASSERT_TRUE(PostMessageA(monitorWindow(), UM_KEYBOARD_EVENT, 10, kKey + 1));
  EXPECT_TRUE(startedMark("Launched.exe", kLong).has_value());
  EXPECT_EQ(programs.total(), before + 1);
  EXPECT_FALSE(startedMark("Inactive.exe", 0).has_value());
  ASSERT_TRUE(monitorAlive());
  expectOnlySoundReports();
  exitFromTray();
}

// A launch key from a stranger's profile: only a program file on a local
// drive starts, in its own folder; a share, a URL, a script, a page, a
// missing file start nothing, and a key on the keyboard still does its job.
TEST_F(MonitorHostile, ALaunchKeyStartsOnlyALocalProgramFileAndInItsOwnFolder) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(CreateDirectoryA((folder_ + "Game").c_str(), nullptr));
  ASSERT_TRUE(installMarker("Game\\Launched.exe"));
  // What running the script or the page would leave behind.
  const std::string ran = folder_ + "ran.txt";
  const std::string script = "@echo ran > \"" + ran + "\"\r\n";
  for (const char* name : {"Hostile.bat", "Hostile.cmd", "Hostile.hta"}) {
    HANDLE file = CreateFileA((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, script.data(), DWORD(script.size()), &written, nullptr);
    CloseHandle(file);
  }
  ASSERT_TRUE(
      CopyFileA((folder_ + "Game\\Launched.exe").c_str(), (folder_ + "Shortcut.exe.lnk").c_str(), FALSE));
  const std::vector<std::string> hostile = {"\\\\127.0.0.1\\c$\\x.hta",      "\\\\203.0.113.7\\s\\x.exe",
                                            "http://203.0.113.7/x.exe",      folder_ + "Hostile.bat",
                                            folder_ + "Hostile.cmd",         folder_ + "Hostile.hta",
                                            folder_ + "Missing.exe",         folder_ + "Game",
                                            folder_ + "Shortcut.exe.lnk",    "Game\\Launched.exe",
                                            folder_ + "Game\\Launched.exe:x"};
  constexpr int kFirstKey = 20;
  const int realKey = kFirstKey + int(hostile.size());
  std::unique_ptr<SettingsImage> image = readBlock();
  const int p = image->currentProfile;
  auto bind = [&](int k, const std::string& path) {
    KeyAssignment& key = image->profiles[p].keys[k];
    key.category = kCategoryLaunch;
    key.functionCode = kFunctionLaunch;
    lstrcpynA(key.appPath, path.c_str(), sizeof key.appPath);
    image->keyDirty[p][k] = 1;
  };
  for (size_t i = 0; i < hostile.size(); ++i) bind(kFirstKey + int(i), hostile[i]);
  bind(realKey, folder_ + "Game\\Launched.exe");
  ASSERT_TRUE(apply(*image));

  const StartedPrograms programs(monitor_.hProcess);
  ASSERT_TRUE(programs.joined());
  const DWORD before = programs.total();
  for (size_t i = 0; i < hostile.size(); ++i) {
    ASSERT_TRUE(control("press " + std::to_string(kFirstKey + int(i))).has_value());
    ASSERT_TRUE(control("release " + std::to_string(kFirstKey + int(i))).has_value());
  }
  ASSERT_TRUE(control("press " + std::to_string(realKey)).has_value());
  ASSERT_TRUE(control("release " + std::to_string(realKey)).has_value());
  ASSERT_TRUE(startedMark("Game\\Launched.exe", kLong).has_value());
  ASSERT_TRUE(drain());
  EXPECT_EQ(programs.total(), before + 1) << "only the program file started";
  EXPECT_EQ(GetFileAttributesA(ran.c_str()), INVALID_FILE_ATTRIBUTES) << "a script ran";

  std::ifstream folderMark(folder_ + "Game\\Launched.exe.folder");
  std::string folder((std::istreambuf_iterator<char>(folderMark)), {});
  EXPECT_EQ(lstrcmpiA(folder.c_str(), (folder_ + "Game").c_str()), 0) << folder;
  ASSERT_TRUE(monitorAlive());
  exitFromTray();
}

struct ObjectSecurity {
  bool read = false;
  bool nullAccessList = true;
  bool ownerIsUser = false;
};

ObjectSecurity securityOf(HANDLE object) {
  ObjectSecurity result;
  PSID owner = nullptr;
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                      &owner, nullptr, &acl, nullptr, &descriptor) != ERROR_SUCCESS)
    return result;
  result.read = true;
  result.nullAccessList = acl == nullptr;
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    BYTE user[256] = {}, defaultOwner[256] = {};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenUser, user, sizeof user, &size))
      result.ownerIsUser = owner && EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user)->User.Sid);
    if (!result.ownerIsUser &&
        GetTokenInformation(token, TokenOwner, defaultOwner, sizeof defaultOwner, &size))
      result.ownerIsUser = owner && EqualSid(owner, reinterpret_cast<TOKEN_OWNER*>(defaultOwner)->Owner);
    CloseHandle(token);
  }
  LocalFree(descriptor);
  return result;
}

// Kernel objects as an older build, or another program of the session,
// could have left them: open to everyone.
UniqueHandle openToEveryone(bool mapping) {
  SECURITY_DESCRIPTOR sd;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
  return UniqueHandle(mapping ? CreateFileMappingA(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0,
                                                   DWORD(kSharedBlockSize), kSharedBlockName)
                              : CreateMutexA(&sa, FALSE, kSettingsMutexName));
}

TEST_F(MonitorHostile, TheSettingsMutexAndBlockAreTheUsersOwnAndOthersAreNotTrusted) {
  startMonitor();
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong)) << "start-up done";
  for (bool mapping : {false, true}) {
    UniqueHandle object(mapping ? OpenFileMappingA(FILE_MAP_READ | READ_CONTROL, FALSE, kSharedBlockName)
                                : OpenMutexA(SYNCHRONIZE | READ_CONTROL, FALSE, kSettingsMutexName));
    ASSERT_TRUE(object) << mapping;
    const ObjectSecurity security = securityOf(object.get());
    ASSERT_TRUE(security.read) << mapping;
    EXPECT_FALSE(security.nullAccessList) << mapping;
    EXPECT_TRUE(security.ownerIsUser) << mapping;
    EXPECT_TRUE(ownedByUser(object.get()));
  }
  exitFromTray();

  // A settings mutex open to everyone, there before the monitor: the monitor
  // does not guard the settings with it, and does not start.
  {
    UniqueHandle squatted = openToEveryone(false);
    ASSERT_TRUE(squatted);
    EXPECT_FALSE(ownedByUser(squatted.get()));
    PROCESS_INFORMATION refused = start("");
    EXPECT_EQ(WaitForSingleObject(refused.hProcess, kLong), WAIT_OBJECT_0);
    EXPECT_EQ(monitorWindow(), nullptr);
    CloseHandle(refused.hProcess);
    CloseHandle(refused.hThread);
  }
  // A block open to everyone is not the monitor's: the configuration program
  // takes it for no monitor at all.
  {
    UniqueHandle mutex = openToEveryone(false);
    UniqueHandle mapping = openToEveryone(true);
    ASSERT_TRUE(mutex && mapping);
    SharedBlock block;
    EXPECT_FALSE(block.open());
    EXPECT_TRUE(block.foreign());
    EXPECT_FALSE(block.isOpen());
  }
  SharedBlock none;
  EXPECT_FALSE(none.open());
  EXPECT_FALSE(none.foreign());
}

// Whoever holds the settings mutex, the monitor's window answers: its reload
// and profile switch give up after two seconds and say so, and work again
// once the mutex is free.
TEST_F(MonitorHostile, AHeldSettingsMutexHangsNoWindowAndTheSwitchReportsItsFailure) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  UniqueHandle held(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSettingsMutexName));
  ASSERT_TRUE(held);
  ASSERT_EQ(WaitForSingleObject(held.get(), 0), WAIT_OBJECT_0);
  const int active = readBlock()->currentProfile;  // this thread holds the mutex: no wait
  ASSERT_NE(active, 2);
  const int answered = standIn_.applyDone;
  ASSERT_TRUE(PostMessageA(monitorWindow(), UM_APPLY, 0, 0));

  DWORD start = GetTickCount();
  const ProgramRun busy = run("Monitor.exe", "--profile 3");
  const DWORD took = GetTickCount() - start;
  EXPECT_TRUE(busy.ended);
  EXPECT_EQ(busy.exitCode, 1u);
  EXPECT_NE(busy.output.find("busy"), std::string::npos) << busy.output;
  std::printf("--profile with the settings held: answered after %lu ms\n", took);
  EXPECT_LT(took, 8000u);
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutA(monitorWindow(), WM_NULL, 0, 0, SMTO_BLOCK, 3000, &result));
  EXPECT_EQ(readBlock()->currentProfile, active) << "a failed switch changes nothing";

  ASSERT_TRUE(ReleaseMutex(held.get()));
  held.reset();
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone > answered; }, kLong))
      << "the apply was never answered";
  const ProgramRun selected = run("Monitor.exe", "--profile 3");
  EXPECT_EQ(selected.exitCode, 0u) << selected.output;
  EXPECT_EQ(readBlock()->currentProfile, 2);
  expectAnApplyStillWorks();
  exitFromTray();
}

TEST_F(MonitorHostile, DeviceChangesOfOtherValuesAreIgnored) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  const int opens = count(tracedCalls(), "Open_ReportDevice");
  for (WPARAM change : {WPARAM(2), WPARAM(3), WPARAM(0xFF), WPARAM(0x100), WPARAM(0x10001), WPARAM(0x10000),
                        WPARAM(0x7FFFFFFF), WPARAM(0x80000000), WPARAM(-1)})
    ASSERT_TRUE(PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, change, LPARAM(random_())));
  ASSERT_TRUE(drain());
  EXPECT_EQ(device(), 1);
  EXPECT_EQ(count(tracedCalls(), "Open_ReportDevice"), opens);
  EXPECT_EQ(count(tracedCalls(), "Close_ReportDevice"), 0);
  // Still connected: an apply goes to the keyboard.
  expectAnApplyStillWorks();
  expectOnlySoundReports();
  exitFromTray();
}

}  // namespace
