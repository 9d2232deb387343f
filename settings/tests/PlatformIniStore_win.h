#pragma once
// Test helpers for the Windows suite: the INI accessor over the platform's
// private-profile functions (the reference our IniFile is held against), a
// scratch folder, and re-launching this test program as a child process.

#include <windows.h>

#include <string>

#include "IniStore.h"

class PlatformIniStore : public IniStore {
 public:
  explicit PlatformIniStore(std::string path) : path_(std::move(path)) {}
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
  int readInt(std::string_view section, std::string_view key, int defaultValue) const override;
  bool readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const override;
  void writeString(std::string_view section, std::string_view key, std::string_view value) override;
  void writeInt(std::string_view section, std::string_view key, int value) override;
  void writeStruct(std::string_view section, std::string_view key, const void* buffer, size_t size) override;

 private:
  std::string path_;
};

// A fresh folder (process id and tick count: ids repeat under Wine) under the temporary folder, with a
// trailing backslash and a config subfolder.
std::string makeScratchFolder(const char* name);
// Starts this executable running only the (disabled) test `test`; the child
// inherits the environment, which carries its parameters, and with
// `inheritHandles` the inheritable handles.
HANDLE startChildTest(const char* test, bool inheritHandles = false);
// Waits for a child and returns its exit code.
DWORD waitChild(HANDLE process);
