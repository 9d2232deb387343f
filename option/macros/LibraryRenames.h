#pragma once
// What a manager run renamed. Keys find their macro in the library by name,
// so a renamed macro would lose every key bound to it on OK (and a new macro
// given the old name would take them over). The run keeps track of which
// record had which name when the manager opened; OK first moves the keys to
// the new names, then matches them by name as before.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SettingsImage.h"

struct Rename {
  std::string from;  // the name the keys carry
  std::string to;    // what that record is called now
};
using RenameMap = std::vector<Rename>;

// Both libraries' renames of one run, for the key page's own copy of a key.
struct LibraryRenames {
  RenameMap macros;
  RenameMap texts;
};

// Follows the records of one library through a manager run: records appended
// in the run had no name at the start, removed records are forgotten.
class NameTrail {
 public:
  explicit NameTrail(const std::vector<std::string>& namesAtOpen);
  void appended();
  void removed(int index);
  // True for a record appended in this run.
  bool added(int index) const { return index >= 0 && size_t(index) < original_.size() && !original_[index]; }
  // Every record that was there at the start and is now called otherwise.
  // When an older file holds one name twice, the keys play the last record
  // of that name, so only that one's new name counts.
  RenameMap renames(const std::vector<std::string>& namesNow) const;

 private:
  std::vector<std::optional<std::string>> original_;
};

// The rename of the record a key bound to `name` plays; none when that record
// kept its name. Names compare as the library lookup does.
const Rename* renameOf(const RenameMap& renames, std::string_view name);

// Keys bound to a recorded macro (function code 3) or a text macro (58)
// follow their record to its new name, in every profile.
void renameBoundMacros(const RenameMap& renames, SettingsImage& image);
void renameBoundTextMacros(const RenameMap& renames, SettingsImage& image);
void renameBoundKey(const LibraryRenames& renames, KeyAssignment& key);
