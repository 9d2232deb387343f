// A stand-in for a program that the monitor starts (Option.exe, Update.exe, a
// launch key's application): it leaves "<its own path>.started" holding its
// command line, and ends; with "--stay" it then waits until it is ended, as
// the smallest process a benchmark can hold beside the one it measures.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char self[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, self, MAX_PATH - 8)) return 1;
  lstrcatA(self, ".started");
  HANDLE mark = CreateFileA(self, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mark == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(mark, commandLine, lstrlenA(commandLine), &written, nullptr);
  CloseHandle(mark);
  if (strstr(commandLine, "--stay")) Sleep(INFINITE);
  return 0;
}
