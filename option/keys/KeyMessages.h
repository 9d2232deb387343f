#pragma once
// Window messages of the key recorder.

#include <cstdint>

// A key event caught by the recorder's keyboard hook, posted to the receiver;
// the event itself is swallowed. wParam: the virtual key. lParam: the event's
// flags masked with kHookKeyFlagsMask, so 0 or 1 for a press, 0x80 or 0x81
// for a release. Answer: none (posted).
constexpr unsigned UM_HOOK_KEY = 1034;

constexpr uint32_t kHookKeyExtended = 0x01;
constexpr uint32_t kHookKeyReleased = 0x80;
constexpr uint32_t kHookKeyFlagsMask = kHookKeyExtended | kHookKeyReleased;
