// The application watcher: the program in the foreground selects the
// profile that links its file name, and the monitor switches to it.

// tlhelp32.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <string>

#include "AppMatch.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"

namespace {

// The file name of the process that owns the foreground window; empty when
// there is none or it cannot be found.
std::string foregroundExeName() {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return {};
  DWORD pid = 0;
  GetWindowThreadProcessId(foreground, &pid);
  if (pid == 0) return {};
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  std::string name;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == pid) {
      name = entry.szExeFile;
      break;
    }
  }
  CloseHandle(snapshot);
  return name;
}

}  // namespace

void CMonitorWnd::appWatchTick() {
  const std::string exeName = foregroundExeName();
  if (exeName.empty()) return;
  const int profile = apps::profileToSwitchTo(*workingCopy_, apps::fileNameOf(exeName));
  if (profile < 0) return;

  // Switch: the new active profile goes to the block and to the keyboard.
  WaitForSingleObject(settingsMutex_.get(), INFINITE);
  workingCopy_->currentProfile = profile;
  workingCopy_->profileSwitched = 1;
  if (sharedBlock_.isOpen()) sharedBlock_.copyToBlock(*workingCopy_);
  ReleaseMutex(settingsMutex_.get());

  PostThreadMessageA(downloadThreadId_, TM_DOWNLOAD, kDownloadAll, 0);
  writeCurrentProfile(configIni_, profile);
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) PostMessageA(option, UM_PROFILE_SWITCHED, 0, 0);
}
