// A stand-in for a program that the monitor starts (Option.exe, Update.exe, a
// launch key's application): it leaves "<its own path>.folder" holding the
// folder it runs in and then "<its own path>.started" holding its command
// line, and ends; with "--stay" it then waits until it is ended, as the
// smallest process a benchmark can hold beside the one it measures.
#include <windows.h>

#include <cstring>

namespace {

bool leave(const char* path, const char* text) {
  HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mark == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(mark, text, lstrlenA(text), &written, nullptr);
  CloseHandle(mark);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char self[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, self, MAX_PATH - 8)) return 1;
  char path[MAX_PATH + 8] = {};
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  lstrcpyA(path, self);
  lstrcatA(path, ".folder");
  leave(path, folder);
  lstrcpyA(path, self);
  lstrcatA(path, ".started");
  if (!leave(path, commandLine)) return 1;
  if (strstr(commandLine, "--stay")) Sleep(INFINITE);
  return 0;
}
