#include "Console_win.h"

#include <windows.h>

#include "TextCodec_win.h"

void writeConsoleLine(ConsoleStream stream, const std::string& utf8) {
  const DWORD which = stream == ConsoleStream::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  HANDLE out = GetStdHandle(which);
  // A program of the windows subsystem gets no console of its own; the one
  // of the command prompt that started it takes our line.
  static HANDLE console = INVALID_HANDLE_VALUE;
  if (!out || out == INVALID_HANDLE_VALUE) {
    if (console == INVALID_HANDLE_VALUE && AttachConsole(ATTACH_PARENT_PROCESS))
      console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
    out = console;
  }
  if (!out || out == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0, done = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = wideFromUtf8(utf8 + "\n");
    WriteConsoleW(out, wide.data(), DWORD(wide.size()), &done, nullptr);
  } else {
    const std::string line = utf8 + "\r\n";
    WriteFile(out, line.data(), DWORD(line.size()), &done, nullptr);
  }
}
