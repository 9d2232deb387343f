#include "RegistryKey_win.h"

#include <cstring>

namespace {

struct RootName {
  const char* name;
  HKEY key;
};

const RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
};

}  // namespace

bool RegistryKey::open(const std::string& path, REGSAM access) {
  close();
  const size_t slash = path.find('\\');
  const std::string rootName = path.substr(0, slash);
  root_ = HKEY_LOCAL_MACHINE;
  subKey_ = path;
  for (const RootName& r : kRoots)
    if (_stricmp(rootName.c_str(), r.name) == 0) {
      root_ = r.key;
      subKey_ = slash == std::string::npos ? std::string() : path.substr(slash + 1);
      break;
    }
  if (RegOpenKeyExA(root_, subKey_.c_str(), 0, access, &key_) == ERROR_SUCCESS) return true;
  if (RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_,
                      nullptr) == ERROR_SUCCESS)
    return true;
  key_ = nullptr;
  return false;
}

void RegistryKey::close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
  subKey_.clear();
}
