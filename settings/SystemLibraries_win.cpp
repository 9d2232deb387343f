#include "SystemLibraries_win.h"

#include <delayimp.h>

#include <string>

namespace {

std::string systemPath(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (!length || length >= MAX_PATH) return {};
  return std::string(folder, length) + "\\" + name;
}

// The delay-load helper loads by bare name, which searches the program's
// folder before the system's: every DLL delay-loaded is a system DLL, so
// it is loaded from the system folder by its full path instead.
FARPROC WINAPI loadDelayedFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(info->szDll));
}

}  // namespace

// Replaces the toolchain's empty hook.
PfnDliHook __pfnDliNotifyHook2 = loadDelayedFromSystemFolder;

void UseSystemLibraryFolders() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

HMODULE LoadSystemLibrary(const char* name) {
  const std::string path = systemPath(name);
  return path.empty() ? nullptr : LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
