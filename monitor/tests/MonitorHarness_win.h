#pragma once
// Runs the real Monitor.exe from a private copy of the program folder and
// watches it from outside: its window, config.ini, the trace of the emulated
// keyboard, and the answers it sends to a stand-in for Option's window.
//
//   class MyTest : public MonitorHarness {};
//   TEST_F(MyTest, X) {
//     startWithEmulatedKeyboard();       // Device=1, trace in tracePath()
//     auto image = readBlock();
//     ...change *image...
//     ASSERT_TRUE(apply(*image));         // through the shared block, waits for UM_APPLY_DONE
//     auto lines = readTrace();          // time stamps and calls
//     exitFromTray();
//   }

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MonitorMessages.h"
#include "SettingsImage.h"

namespace harness {

void pump();

// Pumps messages until `done` holds or `ms` pass.
template <typename Predicate>
bool waitFor(Predicate done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    pump();
  }
  return true;
}

// One line of the emulated keyboard's trace.
struct TraceLine {
  long long micros = 0;  // since the driver was loaded
  std::string call;      // export name and data
};
std::vector<TraceLine> readTrace(const std::string& path);
// The calls alone, without time stamps.
std::vector<std::string> tracedCalls(const std::string& path);
int count(const std::vector<std::string>& calls, const std::string& prefix);
// The traced calls replayed through the keyboard's firmware model: one line
// for each report it would reject (wrong length, bad checksum, an unknown
// command, a block that no command announced, a command while announced
// blocks were still due) and for each macro numbered beyond the keyboard's
// buffers. Empty when all were sound.
std::vector<std::string> reportFaults(const std::vector<std::string>& calls);

// Sends one control line to the emulated keyboard (see kbdctl); nothing when
// no emulated keyboard listens.
std::optional<std::string> control(const std::string& line);

// A program run to its end with its standard output and error on one pipe.
struct ProgramRun {
  bool ended = false;
  DWORD exitCode = 0;
  std::string output;
};

// What the stand-in for Option's window has received.
struct OptionStandIn {
  HWND hwnd = nullptr;
  int applyDone = 0;
  int profileSwitched = 0;
  int reloads = 0;  // UM_RELOAD_SETTINGS
  int closes = 0;   // counted; the window stays for the rest of the test
  WPARAM lastApplyId = 0;     // UM_APPLY_DONE's wParam
  LPARAM lastOutcome = 0;     // and lParam
  std::vector<WPARAM> links;  // each UM_KEYBOARD_LINK's wParam
};

class MonitorHarness : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies a file of the program folder (or `from`) into the private folder.
  bool copy(const char* name, const std::string& from = {});
  PROCESS_INFORMATION start(const char* arguments);
  // Runs `program` of the private folder with `arguments` (messages are
  // pumped meanwhile) and gives its exit code and what it wrote.
  ProgramRun run(const std::string& program, const std::string& arguments, DWORD ms = 30000);
  // Starts Monitor.exe and waits for its window.
  void startMonitor();
  // Installs the emulated keyboard with its trace, starts Monitor.exe and
  // waits until it reports the keyboard connected. Skips the test when the
  // tree builds no emulated keyboard.
  void startWithEmulatedKeyboard();
  // Ends Monitor.exe through its tray menu and checks that Option's window
  // was asked to close.
  void exitFromTray();

  HWND monitorWindow() const;
  int device() const;  // config.ini [Setting] Device, -1 when missing
  std::string emulatedDriver() const;
  std::string tracePath() const { return folder_ + "kbd_trace.txt"; }
  std::vector<TraceLine> readTrace() const { return harness::readTrace(tracePath()); }
  std::vector<std::string> tracedCalls() const { return harness::tracedCalls(tracePath()); }
  // The settings download calls (SetFeature, WriteUSB) in the trace from call
  // `from` on.
  std::vector<std::string> downloadCallsSince(size_t from) const;
  // Waits until the calls from `from` on hold as many reports as the
  // download of `image` (full or by its change flags), then checks them
  // report for report.
  void expectDownloadOf(const SettingsImage& image, bool full, size_t from);
  // A value of the private config.ini, "<missing>" when absent.
  std::string iniString(const char* section, const char* key) const;

  // The image the monitor publishes, read from the shared block (2.9 MB: on
  // the heap, never on a stack).
  std::unique_ptr<SettingsImage> readBlock();
  // Writes `image` into the shared block, posts UM_APPLY and waits for the
  // UM_APPLY_DONE that answers it.
  bool apply(const SettingsImage& image, DWORD ms = 20000);

  // Installs the marker program (beside the test program) into the private
  // folder as `name`, e.g. "Option.exe"; startedMark() waits until that copy
  // has run and returns its command line, or nothing after `ms`.
  bool installMarker(const std::string& name);
  std::optional<std::string> startedMark(const std::string& name, DWORD ms);
  // Starts the foreground program (beside the test program) installed as
  // `exeName` in the private folder and waits until its window, titled
  // `title`, is the foreground window; it ends with the test.
  HWND bringUpForegroundApp(const std::string& exeName, const std::string& title);
  // Icons in Wine's stand-alone system tray, or -1 where there is none (the
  // tests run under Wine; on Windows the tray is not looked into).
  static int trayIcons();
  // Whether some icon in that tray shows the accent red of the program icon
  // (read off the screen: the generic icon of a file without one is grey).
  static bool trayShowsProgramIcon();

  std::string dist_;    // the program folder the tests run in
  std::string folder_;  // this test's private copy
  OptionStandIn standIn_;
  PROCESS_INFORMATION monitor_ = {};
  std::vector<PROCESS_INFORMATION> helpers_;  // foreground programs
};

}  // namespace harness
