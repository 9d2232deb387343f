#include <windows.h>

#include "ConfigWriteLock.h"

ConfigWriteLock::ConfigWriteLock() {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kConfigWriteMutexName);
  if (!mutex) return;
  handle_ = reinterpret_cast<intptr_t>(mutex);
  const DWORD wait = WaitForSingleObject(mutex, INFINITE);
  // Abandoned: its holder died mid-write; the file is whole all the same
  // (writes are atomic replaces), so the lock is simply ours now.
  held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

ConfigWriteLock::~ConfigWriteLock() {
  HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  if (!mutex) return;
  if (held_) ReleaseMutex(mutex);
  CloseHandle(mutex);
}
