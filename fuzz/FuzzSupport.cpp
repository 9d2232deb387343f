#include "FuzzSupport.h"

#include <cstdlib>
#include <filesystem>

namespace fuzz {

const std::string& scratchFolder() {
  static const std::string folder = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillon-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    std::filesystem::create_directory(pattern + "/config");
    static const std::string made = pattern;
    std::atexit([] { std::filesystem::remove_all(made); });
    return pattern + "/";
  }();
  return folder;
}

}  // namespace fuzz
