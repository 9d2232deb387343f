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
  const std::string target = hostPath(path);
  const std::string temp = target + ".tmp" + std::to_string(getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  const bool ok = done == bytes.size() && ::fsync(fd) == 0;
  ::close(fd);
  if (!ok || std::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool removeFile(const std::string& path) { return ::unlink(hostPath(path).c_str()) == 0; }

bool fileExists(const std::string& path) { return ::access(hostPath(path).c_str(), R_OK) == 0; }
