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
  // The temporary name carries the process and thread so that two writers
  // never share one; a leftover from a crash is harmless and overwritten.
  const std::string temp = path + "." + std::to_string(GetCurrentProcessId()) + "." +
                           std::to_string(GetCurrentThreadId()) + ".tmp";
  {
    UniqueFileHandle file(
        CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD done = 0;
    const bool ok = WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) &&
                    done == bytes.size() && FlushFileBuffers(file.get());
    if (!ok) {
      file.reset();
      DeleteFileA(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  return true;
}

bool removeFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool fileExists(const std::string& path) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return bool(file);
}
