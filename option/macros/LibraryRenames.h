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
  std::string to;    // what that record is called now; empty: deleted in the run
  bool deleted() const { return to.empty(); }
};
using RenameMap = std::vector<Rename>;

// Both libraries' renames of one run, for the key page's own copy of a key.
struct LibraryRenames {
  RenameMap macros;
  RenameMap texts;
};

// Follows the records of one library through a manager run: records appended
// in the run had no name at the start; the names of removed records are
// remembered, so that their keys become default keys before any name is
// matched again (a new or renamed record given a deleted name must not take
// over the deleted macro's keys).
class NameTrail {
 public:
  explicit NameTrail(const std::vector<std::string>& namesAtOpen);
  void appended();
  void removed(int index);
  // True for a record appended in this run.
  bool added(int index) const { return index >= 0 && size_t(index) < original_.size() && !original_[index]; }
  // Every record deleted in the run (unless a record still there had the
  // same name at the start), then every record that was there at the start
  // and is now called otherwise. When an older file holds one name twice,
  // the keys play the last record of that name, so only that one's new name
  // counts.
  RenameMap renames(const std::vector<std::string>& namesNow) const;

 private:
  std::vector<std::optional<std::string>> original_;
  std::vector<std::string> deleted_;
};

// The rename of the record a key bound to `name` plays; none when that record
// kept its name. Names compare as the library lookup does.
const Rename* renameOf(const RenameMap& renames, std::string_view name);

// Keys bound to a recorded macro (function code 3) or a text macro (58)
// follow their record to its new name, in every profile; keys of a deleted
// record become default keys.
void renameBoundMacros(const RenameMap& renames, SettingsImage& image);
void renameBoundTextMacros(const RenameMap& renames, SettingsImage& image);
// The same for one key outside the image; true when its record was deleted
// (the caller makes it a default key).
bool renameBoundKey(const LibraryRenames& renames, KeyAssignment& key);
