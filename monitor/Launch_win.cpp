// Launch keys: the program that the key holds, started off the window thread
// on a short-lived worker that touches no window. Only what the launch rule
// lets through is looked at on disk, so a share named in a hostile profile
// is never contacted.

#include <cstring>
#include <memory>
#include <string>

#include "LaunchRule.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"

namespace {

std::wstring wideFromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
  return wide;
}

bool onLocalDrive(const std::wstring& path) {
  const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
  const UINT type = GetDriveTypeW(root);
  return type != DRIVE_REMOTE && type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN;
}

// Returns the debugger line of the outcome.
std::string launch(const std::wstring& path) {
  const LaunchVerdict verdict = launchVerdict(path);
  if (verdict != LaunchVerdict::Runnable) return launchRefusal(verdict);
  if (!onLocalDrive(path)) return kLaunchRemoteTrace;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return kLaunchMissingTrace;
  std::wstring commandLine = L"\"" + path + L"\"";
  const std::wstring folder = launchFolder(path);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process))
    return kLaunchFailedTrace;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return kLaunchStartedTrace;
}

DWORD WINAPI launchThreadMain(LPVOID param) {
  const std::unique_ptr<std::wstring> path(static_cast<std::wstring*>(param));
  OutputDebugStringA(launch(*path).c_str());
  return 0;
}

}  // namespace

void CMonitorWnd::launchProgram(int keyIndex) {
  const int profile = workingCopy_->currentProfile;
  if (profile < 0 || profile >= kProfileCount || keyIndex < 0 || keyIndex >= kKeyCount) return;
  const KeyAssignment& key = workingCopy_->profiles[profile].keys[keyIndex];
  auto path = std::make_unique<std::wstring>(
      wideFromAnsi(std::string(key.appPath, strnlen(key.appPath, sizeof key.appPath))));
  // Starting a program can take a while (under Wine most of a second): the
  // window thread goes on with the keyboard's next events meanwhile.
  HANDLE worker = CreateThread(nullptr, kWorkerStackReserveBytes, launchThreadMain, path.get(),
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!worker) {
    OutputDebugStringA(kLaunchFailedTrace);
    return;
  }
  path.release();  // the worker owns it now
  CloseHandle(worker);
}
