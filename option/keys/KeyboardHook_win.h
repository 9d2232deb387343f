#pragma once
// The recorder: a low-level keyboard hook of the whole desktop that posts
// every key event to one receiver window as UM_HOOK_KEY (KeyMessages.h) and
// swallows the event. One hook and one receiver per process.

#include <windows.h>

// Remembers the receiver and installs the hook; while a capture runs, only
// the receiver changes. False when the hook could not be installed.
bool StartKeyCapture(HWND receiver);
// Removes the hook; harmless when no capture runs.
void StopKeyCapture();
bool KeyCaptureRunning();
HWND KeyCaptureReceiver();

// Held by a window that records: the capture it started ends with it, unless
// another window has taken the recorder over meanwhile.
class KeyCaptureOwner {
 public:
  KeyCaptureOwner() = default;
  KeyCaptureOwner(const KeyCaptureOwner&) = delete;
  KeyCaptureOwner& operator=(const KeyCaptureOwner&) = delete;
  ~KeyCaptureOwner() { Stop(); }

  bool Start(HWND receiver);
  void Stop();
  bool running() const;

 private:
  HWND receiver_ = nullptr;
};
