#pragma once
// The emulated keyboard's control channel: one text line in, one reply out.

#include <windows.h>

#include <optional>
#include <string>

namespace emu {

inline constexpr char kControlPipeName[] = "\\\\.\\pipe\\Varnel_Quillon_Emulated_Keyboard";
inline constexpr DWORD kControlPipeBuffer = 64 * 1024;
inline constexpr DWORD kControlPipeWaitMs = 2000;
inline constexpr DWORD kControlPipeRetryMs = 10;

// Sends `line` (without newline) and returns the reply, or nothing when no
// emulated keyboard listens.
inline std::optional<std::string> sendControlCommand(const std::string& line) {
  // The server re-creates its one pipe instance after each client, so a
  // client that comes in between retries for a while.
  HANDLE pipe = INVALID_HANDLE_VALUE;
  const ULONGLONG deadline = GetTickCount64() + kControlPipeWaitMs;
  for (;;) {
    pipe = CreateFileA(kControlPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe != INVALID_HANDLE_VALUE) break;
    if (GetTickCount64() >= deadline) return std::nullopt;
    if (GetLastError() == ERROR_PIPE_BUSY)
      WaitNamedPipeA(kControlPipeName, kControlPipeRetryMs);
    else
      Sleep(kControlPipeRetryMs);
  }
  const std::string request = line + "\n";
  DWORD n = 0;
  std::optional<std::string> reply;
  if (WriteFile(pipe, request.data(), static_cast<DWORD>(request.size()), &n, nullptr)) {
    std::string text;
    char buf[4096];
    while (ReadFile(pipe, buf, sizeof buf, &n, nullptr) && n > 0) {
      text.append(buf, n);
      if (text.back() == '\n') break;
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    reply = text;
  }
  CloseHandle(pipe);
  return reply;
}

}  // namespace emu
