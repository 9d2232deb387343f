// Native builds run one process at a time on the settings files: a lock of
// the process serialises its threads.
#include <mutex>

#include "ConfigWriteLock.h"

namespace {
std::mutex gConfigWrite;
}

ConfigWriteLock::ConfigWriteLock() {
  gConfigWrite.lock();
  held_ = true;
}

ConfigWriteLock::~ConfigWriteLock() {
  if (held_) gConfigWrite.unlock();
}
