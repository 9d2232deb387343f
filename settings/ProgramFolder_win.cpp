#include "ProgramFolder_win.h"

#include <windows.h>

namespace {

std::string folderOf(HMODULE module) {
  char path[MAX_PATH * 2] = {};
  const DWORD n = GetModuleFileNameA(module, path, sizeof path);
  std::string s(path, n);
  const size_t slash = s.find_last_of("\\/");
  s.resize(slash == std::string::npos ? 0 : slash + 1);
  if (s.empty()) s = ".\\";
  return s;
}

}  // namespace

std::string programFolder() { return folderOf(nullptr); }

std::string moduleFolder(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<const char*>(address), &module);
  return folderOf(module);
}
