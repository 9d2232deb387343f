#pragma once
// A registry key named by one path "ROOT\sub\key". The root is matched
// without regard to case against HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
// HKEY_CURRENT_CONFIG and HKEY_CLASSES_ROOT; an unknown root means the
// local machine with the whole text as sub-key. open() opens the key with
// the access asked for, creates it when that fails, and reports failure
// when both fail.
//
//   RegistryKey key;
//   if (key.open("HKEY_CURRENT_USER\\Control Panel\\Mouse", KEY_READ)) ...

#include <windows.h>

#include <string>

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { close(); }

  bool open(const std::string& path, REGSAM access);
  void close();
  HKEY get() const { return key_; }
  HKEY root() const { return root_; }
  const std::string& subKey() const { return subKey_; }

 private:
  HKEY key_ = nullptr;
  HKEY root_ = nullptr;
  std::string subKey_;
};
