#include "PlatformIniStore_win.h"

#include <vector>

namespace {

std::string z(std::string_view s) { return std::string(s); }

}  // namespace

std::string PlatformIniStore::readString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const {
  char buffer[kMaxIniString + 1];
  GetPrivateProfileStringA(z(section).c_str(), z(key).c_str(), z(defaultValue).c_str(), buffer, sizeof buffer,
                           path_.c_str());
  return buffer;
}

int PlatformIniStore::readInt(std::string_view section, std::string_view key, int defaultValue) const {
  return int(GetPrivateProfileIntA(z(section).c_str(), z(key).c_str(), defaultValue, path_.c_str()));
}

bool PlatformIniStore::readStruct(std::string_view section, std::string_view key, void* buffer,
                                  size_t size) const {
  return GetPrivateProfileStructA(z(section).c_str(), z(key).c_str(), buffer, UINT(size), path_.c_str()) != 0;
}

void PlatformIniStore::writeString(std::string_view section, std::string_view key, std::string_view value) {
  WritePrivateProfileStringA(z(section).c_str(), z(key).c_str(), z(value).c_str(), path_.c_str());
}

void PlatformIniStore::writeInt(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void PlatformIniStore::writeStruct(std::string_view section, std::string_view key, const void* buffer,
                                   size_t size) {
  WritePrivateProfileStructA(z(section).c_str(), z(key).c_str(), const_cast<void*>(buffer), UINT(size),
                             path_.c_str());
}

std::string makeScratchFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "quillon-" + name + "-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) +
                             "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "config").c_str(), nullptr);
  return folder;
}

HANDLE startChildTest(const char* test, bool inheritHandles) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string command = std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=" + test;
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe, line.data(), nullptr, nullptr, inheritHandles, 0, nullptr, nullptr, &startup,
                      &info))
    return nullptr;
  CloseHandle(info.hThread);
  return info.hProcess;
}

DWORD waitChild(HANDLE process) {
  WaitForSingleObject(process, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return code;
}
