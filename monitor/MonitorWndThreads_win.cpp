// downloadThread and macroThread: plain get-message loops fed by thread
// messages. They never touch windows beyond finding and posting to them.

#include "MonitorMessages.h"
#include "MonitorWnd_win.h"

namespace {

// Far more than a playback needs to see its end and give the clipboard back.
constexpr ULONGLONG kMacroStopWaitMs = 2000;

struct ThreadStart {
  CMonitorWnd* self;
  HANDLE queueReady;
};

// Starts a worker and waits until its message queue exists, so that the
// first PostThreadMessage cannot be lost.
bool startWorker(LPTHREAD_START_ROUTINE entry, CMonitorWnd* self, UniqueHandle& thread, DWORD& threadId) {
  UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!ready) return false;
  ThreadStart start{self, ready.get()};
  thread.reset(CreateThread(nullptr, kWorkerStackReserveBytes, entry, &start,
                            STACK_SIZE_PARAM_IS_A_RESERVATION, &threadId));
  if (!thread) return false;
  WaitForSingleObject(ready.get(), INFINITE);
  return true;
}

void stopWorker(UniqueHandle& thread, DWORD threadId) {
  if (!thread) return;
  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(thread.get(), INFINITE);
  thread.reset();
}

void announceQueue(LPVOID param) {
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  SetEvent(static_cast<ThreadStart*>(param)->queueReady);
}

}  // namespace

bool CMonitorWnd::startThreads() {
  return startWorker(downloadThreadMain, this, downloadThread_, downloadThreadId_);
}

// Under Wine every thread holds a megabyte of stack and another of its own
// at the least, and most days see no text macro: macroThread comes with the
// first one and stays.
bool CMonitorWnd::startMacroThread() {
  return bool(macroThread_) || startWorker(macroThreadMain, this, macroThread_, macroThreadId_);
}

void CMonitorWnd::stopDownloadThread() { stopWorker(downloadThread_, downloadThreadId_); }

// The text macro under way ends within a wait slice and gives the clipboard
// back; meanwhile this thread answers what the clipboard sends its window.
// A playback stuck in another program's clipboard past the time-out does
// not keep the monitor: the process ends without it.
void CMonitorWnd::stopMacroThread() {
  endTextMacro();
  if (!macroThread_) return;
  PostThreadMessageA(macroThreadId_, WM_QUIT, 0, 0);
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    const ULONGLONG waited = GetTickCount64() - start;
    if (waited >= kMacroStopWaitMs) break;
    HANDLE thread = macroThread_.get();
    const DWORD woke =
        MsgWaitForMultipleObjects(1, &thread, FALSE, DWORD(kMacroStopWaitMs - waited), QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) {
      macroThread_.reset();
      return;
    }
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  OutputDebugStringA("CMonitorWnd macroThread did not end\n");
  macroThreadStuck_ = true;
  macroThread_.release();
}

DWORD WINAPI CMonitorWnd::downloadThreadMain(LPVOID param) {
  CMonitorWnd* self = static_cast<ThreadStart*>(param)->self;
  announceQueue(param);
  self->downloadLoop();
  return 0;
}

DWORD WINAPI CMonitorWnd::macroThreadMain(LPVOID param) {
  CMonitorWnd* self = static_cast<ThreadStart*>(param)->self;
  announceQueue(param);
  self->macroLoop();
  return 0;
}

void CMonitorWnd::downloadLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message != TM_DOWNLOAD) continue;
    const bool connected = connectionState_ == kConnected;
    switch (msg.wParam) {
      case kDownloadChanged: {
        // Without a keyboard the flags stay for its arrival.
        const bool sent = connected && runDownload(false);
        // Option waits busy for this answer, also when the keyboard went
        // away between its apply and this download.
        answerApply(msg.lParam, sent ? kApplySent : kApplyStored);
        break;
      }
      case kDownloadAll:
        // A profile switch of our own: Option did not ask, and an answer
        // would end the busy state of an apply of its own still under way.
        if (connected) runDownload(true);
        break;
      case kDownloadFirmwareCheck:
        // At an arrival, what was applied while the keyboard was away, once
        // its firmware is known to take it; nothing when nothing was.
        if (connected && runFirmwareCheck() && msg.lParam == kSendPendingAfterCheck) {
          WaitForSingleObject(settingsMutex_.get(), INFINITE);
          const bool pending = kbd::hasPendingChanges(*workingCopy_);
          ReleaseMutex(settingsMutex_.get());
          if (pending) {
            OutputDebugStringA("CMonitorWnd sends what was applied while the keyboard was away\n");
            runDownload(false);
          }
        }
        break;
      default:
        break;
    }
    lastRequestEnded_ = GetTickCount64();
  }
}

void CMonitorWnd::answerApply(LPARAM applyId, ApplyAnswer outcome) {
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) {
    PostMessageA(option, UM_APPLY_DONE, WPARAM(applyId), LPARAM(outcome));
    OutputDebugStringA("Thread Send Enable OK/Apply Button\n");
  } else {
    OutputDebugStringA("Thread Don't find Merrow Option Dialog\n");
  }
}

void CMonitorWnd::tellOptionLink(bool connected) {
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle))
    PostMessageA(option, UM_KEYBOARD_LINK, connected ? 1 : 0, 0);
}

void CMonitorWnd::macroLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message != TM_PLAY_TEXT_MACRO) continue;
    macroPlaying_ = 1;
    playTextMacro(uint32_t(msg.wParam));
    macroPlaying_ = 0;
  }
}

// runDownload: Download_win.cpp. runFirmwareCheck: FirmwareCheck_win.cpp.

// playTextMacro: TextMacro_win.cpp.
