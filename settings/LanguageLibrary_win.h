#pragma once
// The language library "lan.dll" of the program folder, loaded for its
// string table only. A missing library or string falls back to the built-in
// English text of that id.

#include <string>

#include "Handle_win.h"

class LanguageLibrary {
 public:
  // Loads "lan.dll" from `folder` (which ends in a backslash).
  bool load(const std::string& folder);
  void unload() { module_.reset(); }
  bool loaded() const { return bool(module_); }
  std::string text(int id) const;

 private:
  UniqueModule module_;
};
