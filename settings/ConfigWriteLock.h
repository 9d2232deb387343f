#pragma once
// config.ini has two writers: the configuration program's save and the
// monitor's own keys (Device, CurrentProfile, the OSD message). Each write
// reads the whole file, edits it and replaces it, so a write that falls
// between another one's read and replace would be lost. Every writer of
// config.ini holds this lock from its read to its replace.
//
//   {
//     const ConfigWriteLock lock;  // waits, without time-out
//     IniFile config(path);        // read, edit, save
//     ...
//   }
//
// On Windows a named mutex, shared by every process of the session; in the
// native builds (tests and tools, one process) a lock of the process.

#include <cstdint>

constexpr const char* kConfigWriteMutexName = "Varnel_Quillon_Config_Write";

class ConfigWriteLock {
 public:
  ConfigWriteLock();
  ~ConfigWriteLock();
  ConfigWriteLock(const ConfigWriteLock&) = delete;
  ConfigWriteLock& operator=(const ConfigWriteLock&) = delete;

  // False when the lock could not be had; the holder then writes unguarded,
  // as it would without a second program.
  bool held() const { return held_; }

 private:
  [[maybe_unused]] intptr_t handle_ = 0;  // the mutex handle on Windows
  bool held_ = false;
};
