// The file layer for native builds (tests and tools on the build host).
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "FileIo.h"

namespace {

std::string hostPath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace

bool readWholeFile(const std::string& path, std::string& bytes) {
  FILE* f = std::fopen(hostPath(path).c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  std::fclose(f);
  return true;
}

bool replaceFileAtomically(const std::string& path, std::string_view bytes) {
  FileBatch batch;
  return batch.stage(path, bytes) && batch.commit();
}

bool FileBatch::stage(const std::string& path, std::string_view bytes) {
  const std::string target = hostPath(path);
  Staged staged{target, target + ".tmp" + std::to_string(getpid()), -1};
  staged.file = ::open(staged.temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (staged.file < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(int(staged.file), bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  if (done != bytes.size()) {
    discard(staged);
    return false;
  }
  staged_.push_back(std::move(staged));
  return true;
}

bool FileBatch::commit() {
  bool ok = true;
  for (Staged& s : staged_) {
    if (::fsync(int(s.file)) != 0) {
      discard(s);
      ok = false;
      continue;
    }
    ::close(int(s.file));
    s.file = -1;
  }
  for (Staged& s : staged_) {
    if (s.temp.empty()) continue;
    if (std::rename(s.temp.c_str(), s.target.c_str()) != 0) {
      ::unlink(s.temp.c_str());
      ok = false;
    }
  }
  staged_.clear();
  return ok;
}

void FileBatch::discard(Staged& staged) {
  if (staged.file >= 0) ::close(int(staged.file));
  staged.file = -1;
  ::unlink(staged.temp.c_str());
  staged.temp.clear();
}

FileBatch::~FileBatch() {
  for (Staged& s : staged_) discard(s);
}

bool removeFile(const std::string& path) { return ::unlink(hostPath(path).c_str()) == 0; }

bool fileExists(const std::string& path) { return ::access(hostPath(path).c_str(), R_OK) == 0; }
