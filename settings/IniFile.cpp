#include "IniFile.h"

#include "FileIo.h"
#include "ScratchBuffer.h"

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  std::string bytes = takeScratch();
  existed_ = readWholeFile(path_, bytes);
  if (!existed_) {
    // The buffer goes back for the edits (a new file is all edits).
    giveScratch(std::move(bytes));
    bytes.clear();
  }
  doc_ = IniDocument::adopt(std::move(bytes));
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const auto value = doc_.find(section, key);
  const std::string_view v = value ? *value : defaultValue;
  return std::string(v.substr(0, kMaxIniString));
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
  const auto value = doc_.find(section, key);
  if (!value || value->empty()) return defaultValue;
  return parseIniInt(*value);
}

bool IniFile::readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const {
  const auto value = doc_.find(section, key);
  return value && decodeStruct(*value, buffer, size);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  // A line end inside a value would split it into lines of its own on the
  // next read (and could forge keys); it is cut there.
  const size_t cut = value.find_first_of("\r\n");
  if (doc_.set(section, key, value.substr(0, cut))) dirty_ = true;
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeStruct(std::string_view section, std::string_view key, const void* buffer, size_t size) {
  // Most blocks of a save are what the file holds: compared in place, they
  // are never encoded; the others are encoded into one reused buffer.
  const auto held = doc_.findWritten(section, key);
  if (held && isEncodingOf(*held, buffer, size)) return;
  encodeStructTo(encoded_, buffer, size);
  if (doc_.set(section, key, encoded_)) dirty_ = true;
}

void IniFile::reserve(size_t bytes) { doc_.reserve(bytes); }

void IniFile::clear() {
  doc_ = IniDocument{};
  dirty_ = true;
}

bool IniFile::save() {
  FileBatch batch;
  return save(batch) && batch.commit();
}

bool IniFile::save(FileBatch& batch) {
  if (!dirty_) return true;
  std::string bytes = takeScratch();
  doc_.serializeTo(bytes);
  const bool staged = batch.stage(path_, bytes);
  giveScratch(std::move(bytes));
  if (!staged) return false;
  dirty_ = false;
  existed_ = true;
  return true;
}
