#pragma once
// The INI accessor over one file: the file is read and parsed once when the
// object is made, reads and writes work on the document in memory, and
// save() writes the whole file once, atomically (temporary file in the same
// folder, then a rename over the old one).
//
//   IniFile ini(path);                      // a missing file is an empty one
//   int p = ini.readInt("Setting", "CurrentProfile", -1);
//   ini.writeInt("Setting", "CurrentProfile", 2);
//   ini.save();                             // no-op when nothing changed

#include <string>

#include "FileIo.h"
#include "IniDocument.h"
#include "IniStore.h"

class IniFile : public IniStore {
 public:
  explicit IniFile(std::string path);

  bool existed() const { return existed_; }
  const std::string& path() const { return path_; }

  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
  int readInt(std::string_view section, std::string_view key, int defaultValue) const override;
  bool readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const override;
  void writeString(std::string_view section, std::string_view key, std::string_view value) override;
  void writeInt(std::string_view section, std::string_view key, int value) override;
  void writeStruct(std::string_view section, std::string_view key, const void* buffer, size_t size) override;

  // Room for `bytes` of values set, so that a file written whole does not
  // move its text to larger and larger fresh buffers as it grows.
  void reserve(size_t bytes);
  // Starts over with an empty document (the file is replaced on save).
  void clear();
  bool save();
  // Stages the file in `batch`; it is written when the batch commits.
  bool save(FileBatch& batch);

 private:
  std::string path_;
  IniDocument doc_;
  bool existed_ = false;
  bool dirty_ = false;
  std::string encoded_;  // writeStruct's buffer
};
