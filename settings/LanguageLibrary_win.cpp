#include "LanguageLibrary_win.h"

#include "Language.h"

bool LanguageLibrary::load(const std::string& folder) {
  const std::string path = folder + "lan.dll";
  // Resource-only: never run code from it.
  module_.reset(
      LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  return loaded();
}

std::string LanguageLibrary::text(int id) const {
  if (module_) {
    char buffer[1024];
    const int n = LoadStringA(module_.get(), UINT(id), buffer, sizeof buffer);
    if (n > 0) return std::string(buffer, size_t(n));
  }
  return builtinText(id);
}
