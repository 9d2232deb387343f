#pragma once
// The settings image shared by the two programs: a named page-file mapping of
// exactly one SettingsImage, guarded by a named mutex. Nobody works in the
// block; each side copies the whole image in or out while holding the mutex.
//
//   SharedBlock block;
//   block.create();               // monitor: makes (or re-opens) both objects
//   block.open();                 // option: false, silently, without monitor
//                                 // or with objects not the user's own
//   block.copyToBlock(image);     // false when the mutex cannot be taken
//   block.copyFromBlock(image);   // the caller sanitises what it receives
//   block.update([&](SettingsImage& shared) { ... });  // works on the block
//                                 // itself under the mutex
//   block.close();                // also done by the destructor
//
// The objects are open to the logged-on user's own processes, the system and
// administrators only: the monitor launches programs named in the image, so
// a block that anyone may write would let anyone make it launch anything.
// An existing object is used only when it is the user's own (its owner is
// the user and it has an access list); one that another account made, or
// that is open to everyone, is not trusted. The mutex is waited for at most
// kSettingsLockTimeoutMs: a holder that does not let go makes the copy fail,
// it does not hang the window that asked.

#include "Handle_win.h"
#include "SettingsImage.h"

constexpr const char* kSharedBlockName = "Varnel_Quillon_Share_Data";
constexpr const char* kSettingsMutexName = "Varnel_Quillon_Mutex_Object";
constexpr size_t kSharedBlockSize = sizeof(SettingsImage);
constexpr unsigned long kSettingsLockTimeoutMs = 2000;

// Whether a kernel object is the user's own: owned by the user (or the
// user's default owner) and with an access list. The handle needs READ_CONTROL.
bool ownedByUser(HANDLE object);
// Creates the settings mutex, not owned, with the owner-only access list, or
// opens the one that exists (`existed`); empty when that one is not the
// user's own.
UniqueHandle createSettingsMutex(bool& existed);

class SharedBlock {
 public:
  SharedBlock() = default;
  SharedBlock(const SharedBlock&) = delete;
  SharedBlock& operator=(const SharedBlock&) = delete;
  ~SharedBlock() { close(); }

  // Creates the mutex (not owned) and the mapping; an existing pair, kept
  // alive by a configuration program that outlived a crashed monitor, is
  // taken over and served.
  bool create();
  // Opens the existing mutex and mapping; false when the monitor is not
  // running, or when they are not the user's own (foreign()).
  bool open();
  void close();
  bool isOpen() const { return bool(view_); }
  // The last create() or open() found objects of another owner.
  bool foreign() const { return foreign_; }
  // The last copy or update failed because the mutex stayed held past the
  // time-out (not for want of a block or a mutex).
  bool lockTimedOut() const { return timedOut_; }

  bool copyFromBlock(SettingsImage& target);
  bool copyToBlock(const SettingsImage& source);
  // Runs `work` on the block itself while the mutex is held, for a look or a
  // change that needs no copy of 2.9 MB; false, without running it, when the
  // block is not open or the mutex cannot be taken.
  template <typename Work>
  bool update(Work&& work) {
    if (!lock()) return false;
    work(*static_cast<SettingsImage*>(view_.get()));
    ReleaseMutex(mutex_.get());
    return true;
  }

 private:
  bool mapView();
  bool lock();
  UniqueHandle mutex_;
  UniqueHandle mapping_;
  UniqueMappedView view_;
  bool foreign_ = false;
  bool timedOut_ = false;
};
