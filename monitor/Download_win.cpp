// The sender of the settings download: takes one consistent snapshot of the
// active profile and its change flags, encodes it and plays the reports
// through the keyboard link with the pause the keyboard needs before each.

// mmsystem.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "DownloadEncoder.h"
#include "MonitorWnd_win.h"

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// A wait that does not round up to the default 15.6 ms timer tick: a
// high-resolution waitable timer where the system offers one, otherwise a
// raised timer resolution around Sleep.
class PreciseWait {
 public:
  PreciseWait() {
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (!timer_) raisedPeriod_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  }
  PreciseWait(const PreciseWait&) = delete;
  PreciseWait& operator=(const PreciseWait&) = delete;
  ~PreciseWait() {
    if (timer_) CloseHandle(timer_);
    if (raisedPeriod_) timeEndPeriod(1);
  }

  void wait(int ms) {
    if (ms <= 0) return;
    if (timer_) {
      LARGE_INTEGER due;
      due.QuadPart = -static_cast<LONGLONG>(ms) * 10000;  // relative, 100 ns units
      if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) &&
          WaitForSingleObject(timer_, INFINITE) == WAIT_OBJECT_0) {
        return;
      }
    }
    Sleep(static_cast<DWORD>(ms));
  }

 private:
  HANDLE timer_ = nullptr;
  bool raisedPeriod_ = false;
};

}  // namespace

void CMonitorWnd::runDownload(bool full) {
  // UM_APPLY refreshes the working copy under the same mutex: the snapshot
  // never sees half a profile, and flags set after this point stay for the
  // download that their own apply queued.
  WaitForSingleObject(settingsMutex_.get(), INFINITE);
  kbd::DownloadSnapshot snapshot = kbd::takeDownloadSnapshot(*workingCopy_);
  ReleaseMutex(settingsMutex_.get());
  if (!snapshot.active) return;

  std::vector<kbd::Report> reports = kbd::encodeDownload(*snapshot.active, snapshot.flags, full);
  PreciseWait pacing;
  for (kbd::Report& report : reports) {
    pacing.wait(report.pauseBeforeMs);
    if (report.kind == kbd::Report::Feature) {
      keyboard_.setFeature(report.bytes.data(), static_cast<int>(report.bytes.size()));
    } else {
      keyboard_.writeUsb(report.bytes.data(), static_cast<int>(report.bytes.size()));
    }
  }
}
