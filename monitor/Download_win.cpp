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
#include "ProfileFiles.h"

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// Paces the reports: each pause is counted from the moment the previous
// report went out, never less than asked. A high-resolution waitable timer
// (or Sleep under a raised timer resolution) covers most of the pause; the
// last stretch is waited out against the performance counter, because the
// timers of the system wake up to a millisecond late and that, on every one
// of some 160 pauses, would stretch a full download by several percent.
class ReportPacer {
 public:
  ReportPacer() {
    QueryPerformanceFrequency(&frequency_);
    timer_ =
        CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (!timer_) raisedPeriod_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    lastSent_ = now();
  }
  ReportPacer(const ReportPacer&) = delete;
  ReportPacer& operator=(const ReportPacer&) = delete;
  ~ReportPacer() {
    if (timer_) CloseHandle(timer_);
    if (raisedPeriod_) timeEndPeriod(1);
  }

  // Waits until `ms` have passed since the last report went out.
  void waitAfterLast(int ms) {
    if (ms <= 0) return;
    const LONGLONG deadline = lastSent_ + ms * frequency_.QuadPart / 1000;
    for (;;) {
      const LONGLONG left = deadline - now();
      if (left <= 0) return;
      const LONGLONG leftMicros = left * 1000000 / frequency_.QuadPart;
      if (leftMicros > kFineWaitMicros)
        sleepMicros(leftMicros - kFineWaitMicros);
      else
        SwitchToThread();
    }
  }
  void reportSent() { lastSent_ = now(); }

 private:
  static constexpr LONGLONG kFineWaitMicros = 1500;

  LONGLONG now() const {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
  }
  void sleepMicros(LONGLONG micros) {
    if (timer_) {
      LARGE_INTEGER due;
      due.QuadPart = -micros * 10;  // relative, 100 ns units
      if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) &&
          WaitForSingleObject(timer_, INFINITE) == WAIT_OBJECT_0) {
        return;
      }
    }
    Sleep(static_cast<DWORD>(micros / 1000));
  }

  LARGE_INTEGER frequency_{};
  LONGLONG lastSent_ = 0;
  HANDLE timer_ = nullptr;
  bool raisedPeriod_ = false;
};

}  // namespace

bool CMonitorWnd::runDownload(bool full) {
  // UM_APPLY refreshes the working copy under the same mutex: the snapshot
  // never sees half a profile, and flags set after this point stay for the
  // download that their own apply queued.
  WaitForSingleObject(settingsMutex_.get(), INFINITE);
  kbd::DownloadSnapshot snapshot = kbd::takeDownloadSnapshot(*workingCopy_);
  ReleaseMutex(settingsMutex_.get());
  if (!snapshot.active) return false;
  // Sent only in the ranges the configuration program offers.
  sanitizeProfile(*snapshot.active);

  std::vector<kbd::Report> reports = kbd::encodeDownload(*snapshot.active, snapshot.flags, full);
  ReportPacer pacer;
  for (kbd::Report& report : reports) {
    // Pulled out: the rest would go nowhere.
    if (connectionState_ != kConnected) break;
    pacer.waitAfterLast(report.pauseBeforeMs);
    if (report.kind == kbd::Report::Feature) {
      keyboard_.setFeature(report.bytes.data(), static_cast<int>(report.bytes.size()));
    } else {
      keyboard_.writeUsb(report.bytes.data(), static_cast<int>(report.bytes.size()));
    }
    pacer.reportSent();
  }
  if (connectionState_ == kConnected) return true;
  // The keyboard went during the download and holds part of it at best:
  // the arrival sends it again.
  WaitForSingleObject(settingsMutex_.get(), INFINITE);
  kbd::returnFlags(snapshot, *workingCopy_);
  ReleaseMutex(settingsMutex_.get());
  return false;
}
