#pragma once
// What the window says about the keyboard link and where an apply went, and
// which answer of the monitor belongs to the apply the window waits for.

#include <cstdint>

#include "ApplyStatus.h"
#include "MonitorMessages.h"

// How an apply ended by the monitor's answer (UM_APPLY_DONE's lParam):
// sent, or stored while no keyboard is there. An answer that says neither
// claims nothing: the settings count as not confirmed.
ApplyOutcome monitorApplyOutcome(unsigned answer);
// The status line when the keyboard goes (UM_KEYBOARD_LINK 0) or comes back.
const char* keyboardLinkText(bool connected);

// The ids that pair UM_APPLY with its UM_APPLY_DONE. An answer that comes
// after its apply timed out must not end the wait of the next one.
class ApplyWait {
 public:
  // A new apply: its id, never 0 (0 is no apply).
  uint32_t begin();
  // The answer with `id` ends the wait when it answers the apply waited for.
  bool answers(uintptr_t id) const { return waiting_ != 0 && id == waiting_; }
  bool waiting() const { return waiting_ != 0; }
  // The wait ends (answered or given up); later answers to it are stale.
  void end() { waiting_ = 0; }
  // An apply that does not wait (preview) still gets an id of its own.
  uint32_t unwaited();

 private:
  uint32_t next();
  uint32_t last_ = 0;
  uint32_t waiting_ = 0;
};
