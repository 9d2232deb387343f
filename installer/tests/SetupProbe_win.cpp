// What the setup test asks of Windows from inside the Wine prefix: windows
// of the programs, version resources, shortcuts, and a command run until
// every process it started has ended (the uninstaller runs on as a copy of
// itself in the temporary folder).
//
//   setup_probe wait-window class|title NAME TIMEOUT_MS     prints the process id
//   setup_probe wait-no-window class|title NAME TIMEOUT_MS
//   setup_probe version FILE                                prints Key=Value lines
//   setup_probe shortcut FILE.lnk                           prints Target= and Arguments=
//   setup_probe run-wait TIMEOUT_MS PROGRAM [ARGS...]       exit code of PROGRAM
//   setup_probe stubborn-window CLASS TITLE                 a window that ignores
//       every command and ends only on WM_CLOSE (a program that will not exit)
//   setup_probe close-window class|title NAME
//
// Exit code 0 is success; kTimedOut and kFailed say what went wrong.

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kTimedOut = 124;
constexpr int kFailed = 2;
constexpr DWORD kPollMs = 50;

HWND findWindow(const std::string& by, const std::string& name) {
  if (by == "class") return FindWindowA(name.c_str(), nullptr);
  return FindWindowA(nullptr, name.c_str());
}

// Polls until the window is there (or gone); true when it came to that in time.
bool waitWindow(const std::string& by, const std::string& name, DWORD timeoutMs, bool present, HWND& found) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    found = findWindow(by, name);
    if ((found != nullptr) == present) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMs);
  }
}

int printVersion(const char* file) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  if (size == 0) return kFailed;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(file, 0, size, data.data())) return kFailed;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    std::printf("FileVersionNumbers=%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS));
  }
  // The strings live in the block of the first language and code page listed.
  WORD* translation = nullptr;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                      &length) ||
      length < 2 * sizeof(WORD))
    return kFailed;
  char block[32];
  std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  for (const char* key :
       {"FileVersion", "ProductVersion", "ProductName", "CompanyName", "FileDescription", "LegalCopyright"}) {
    const std::string query = block + std::string(key);
    char* value = nullptr;
    if (VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) && value)
      std::printf("%s=%s\n", key, value);
  }
  return 0;
}

int printShortcut(const char* file) {
  if (FAILED(CoInitialize(nullptr))) return kFailed;
  int result = kFailed;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
      char target[MAX_PATH] = {}, arguments[MAX_PATH] = {};
      if (SUCCEEDED(persist->Load(wide, STGM_READ)) &&
          SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
          SUCCEEDED(link->GetArguments(arguments, MAX_PATH))) {
        std::printf("Target=%s\nArguments=%s\n", target, arguments);
        result = 0;
      }
      persist->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// Runs the command in a job and waits until no process of the job is left.
int runWait(DWORD timeoutMs, int argc, char** argv) {
  std::string command = quoted(argv[0]);
  for (int i = 1; i < argc; ++i) command += " " + std::string(argv[i]);
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (!job) return kFailed;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &process)) {
    CloseHandle(job);
    return kFailed;
  }
  AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  int result = kTimedOut;
  for (;;) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    const bool queried =
        QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr);
    const bool mainEnded = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    if (mainEnded && (!queried || info.ActiveProcesses == 0)) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      result = int(code);
      break;
    }
    if (GetTickCount64() >= end) break;
    Sleep(kPollMs);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(job);
  return result;
}

LRESULT CALLBACK stubbornProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) return 0;
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

int stubbornWindow(const char* windowClass, const char* title) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = stubbornProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = windowClass;
  if (!RegisterClassA(&wc)) return kFailed;
  if (!CreateWindowExA(0, windowClass, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                       nullptr))
    return kFailed;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

int usage() {
  std::fprintf(
      stderr,
      "usage: setup_probe wait-window|wait-no-window class|title NAME TIMEOUT_MS\n"
      "       setup_probe version FILE | shortcut FILE.lnk | run-wait TIMEOUT_MS PROGRAM [ARGS...]\n");
  return kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string verb = argv[1];
  if ((verb == "wait-window" || verb == "wait-no-window") && argc == 5) {
    HWND found = nullptr;
    const bool present = verb == "wait-window";
    if (!waitWindow(argv[2], argv[3], DWORD(std::strtoul(argv[4], nullptr, 10)), present, found))
      return kTimedOut;
    if (present) {
      DWORD pid = 0;
      GetWindowThreadProcessId(found, &pid);
      std::printf("%lu\n", pid);
    }
    return 0;
  }
  if (verb == "stubborn-window" && argc == 4) return stubbornWindow(argv[2], argv[3]);
  if (verb == "close-window" && argc == 4) {
    HWND window = findWindow(argv[2], argv[3]);
    return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : kFailed;
  }
  if (verb == "version") return printVersion(argv[2]);
  if (verb == "shortcut") return printShortcut(argv[2]);
  if (verb == "run-wait" && argc >= 4)
    return runWait(DWORD(std::strtoul(argv[2], nullptr, 10)), argc - 3, argv + 3);
  return usage();
}
