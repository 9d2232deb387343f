#include "FuzzSupport.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fuzz {

const std::string& scratchFolder() {
  static const std::string folder = [] {
    // In memory when the machine has it: every save of the settings code
    // flushes its file, which on a disk costs ten times the rest of a run.
    const char* base = std::getenv("TMPDIR");
    const std::string root = std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                             : base && *base                           ? base
                                                                       : "/tmp";
    std::string pattern = root + "/quillon-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    std::filesystem::create_directory(pattern + "/config");
    static const std::string made = pattern;
    std::atexit([] { std::filesystem::remove_all(made); });
    return pattern + "/";
  }();
  return folder;
}

const SettingsImage& defaultImage() {
  static const auto image = [] {
    auto made = std::make_unique<SettingsImage>();
    buildDefaultImage(*made);
    return made;
  }();
  return *image;
}

}  // namespace fuzz
