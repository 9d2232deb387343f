#include "KeyboardHook_win.h"

#include <cstdint>
#include <cstdio>

#include "Handle_win.h"
#include "KeyMessages.h"

namespace {

UniqueHook g_hook;
HWND g_receiver = nullptr;

template <typename... Args>
void trace(const char* format, Args... args) {
  char line[64];
  std::snprintf(line, sizeof line, format, args...);
  OutputDebugStringA(line);
}

unsigned handleBits(HHOOK hook) { return unsigned(reinterpret_cast<uintptr_t>(hook)); }

// A receiver that is gone, or a handle reused by another program's window,
// must not leave every key of the desktop swallowed.
bool receiverAlive() {
  DWORD process = 0;
  return IsWindow(g_receiver) && GetWindowThreadProcessId(g_receiver, &process) &&
         process == GetCurrentProcessId();
}

LRESULT CALLBACK keyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0) return CallNextHookEx(nullptr, code, wParam, lParam);
  if (!receiverAlive()) {
    StopKeyCapture();
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  // The key itself is never traced: it may be part of a password.
  const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  PostMessageA(g_receiver, UM_HOOK_KEY, event->vkCode, LPARAM(event->flags & kHookKeyFlagsMask));
  return 1;
}

}  // namespace

bool StartKeyCapture(HWND receiver) {
  if (!IsWindow(receiver)) return false;
  g_receiver = receiver;
  if (!g_hook) g_hook.reset(SetWindowsHookExA(WH_KEYBOARD_LL, keyboardProc, GetModuleHandleA(nullptr), 0));
  trace("Hhook: %x\r\n", handleBits(g_hook.get()));
  if (!g_hook) g_receiver = nullptr;
  return bool(g_hook);
}

void StopKeyCapture() {
  g_receiver = nullptr;
  if (!g_hook) {
    OutputDebugStringA("UnHhook: Fail \r\n");
    return;
  }
  const HHOOK hook = g_hook.release();
  trace("Hhook: %x\r\n", handleBits(hook));
  OutputDebugStringA(UnhookWindowsHookEx(hook) ? "UnHhook: Success \r\n" : "UnHhook: Fail \r\n");
}

bool KeyCaptureRunning() { return bool(g_hook); }

HWND KeyCaptureReceiver() { return g_hook ? g_receiver : nullptr; }

bool KeyCaptureOwner::Start(HWND receiver) {
  receiver_ = StartKeyCapture(receiver) ? receiver : nullptr;
  return receiver_ != nullptr;
}

void KeyCaptureOwner::Stop() {
  if (running()) StopKeyCapture();
  receiver_ = nullptr;
}

bool KeyCaptureOwner::running() const { return receiver_ && KeyCaptureReceiver() == receiver_; }
