// The file layer of the programs. Paths are ANSI, as everywhere in the
// settings files.
#include <windows.h>

#include "FileIo.h"
#include "Handle_win.h"

bool readWholeFile(const std::string& path, std::string& bytes) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  bytes.resize(size_t(size.QuadPart));
  DWORD done = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) || done != bytes.size()))
    return false;
  return true;
}

bool replaceFileAtomically(const std::string& path, std::string_view bytes) {
  FileBatch batch;
  return batch.stage(path, bytes) && batch.commit();
}

bool FileBatch::stage(const std::string& path, std::string_view bytes) {
  // The temporary name carries the process and thread so that two writers
  // never share one; a leftover from a crash is harmless and overwritten.
  Staged staged{path,
                path + "." + std::to_string(GetCurrentProcessId()) + "." +
                    std::to_string(GetCurrentThreadId()) + ".tmp",
                0};
  HANDLE file = CreateFileA(staged.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  staged.file = reinterpret_cast<intptr_t>(file);
  DWORD done = 0;
  if (!WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr) || done != bytes.size()) {
    discard(staged);
    return false;
  }
  staged_.push_back(std::move(staged));
  return true;
}

bool FileBatch::commit() {
  bool ok = true;
  for (Staged& s : staged_) {
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(s.file))) {
      discard(s);
      ok = false;
      continue;
    }
    CloseHandle(reinterpret_cast<HANDLE>(s.file));
    s.file = 0;
  }
  for (Staged& s : staged_) {
    if (s.temp.empty()) continue;
    if (!MoveFileExA(s.temp.c_str(), s.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      DeleteFileA(s.temp.c_str());
      ok = false;
    }
  }
  staged_.clear();
  return ok;
}

void FileBatch::discard(Staged& staged) {
  if (staged.file) CloseHandle(reinterpret_cast<HANDLE>(staged.file));
  staged.file = 0;
  DeleteFileA(staged.temp.c_str());
  staged.temp.clear();
}

FileBatch::~FileBatch() {
  for (Staged& s : staged_) discard(s);
}

bool removeFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool fileExists(const std::string& path) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return bool(file);
}
