#pragma once
// When the monitor returns to the desktop profile: a program linked to a
// profile makes that profile active at once; once no linked program has been
// in front for kDesktopProfileDelayMs, the desktop profile comes back. A
// glance away from a game (Alt+Tab to a guide) is shorter than that and
// costs the keyboard no download. Only a profile the watcher chose for a
// linked program gives way to it: a profile chosen by hand stays until a
// linked program comes to the front.

#include <cstdint>

namespace apps {

constexpr uint32_t kDesktopProfileDelayMs = 2000;

// What the watcher does next.
struct DesktopStep {
  int switchTo = -1;  // a profile index 0..4 to make active now, or -1
  int lookInMs = -1;  // call due() after this long; -1: nothing is pending
};

class DesktopProfileRule {
 public:
  // The program in front links profile `linked` (0..4), or none (-1). The
  // active profile is `active`; `desktop` is the setting (0 none, 1..5).
  // Times are milliseconds of a clock that may wrap.
  DesktopStep foreground(int linked, int active, int desktop, uint32_t now);
  // The delay asked for by lookInMs has passed (or part of it).
  DesktopStep due(int active, int desktop, uint32_t now);
  // The user made a profile active (tray, command line, Option): it stays.
  void chosenByHand();
  // No keyboard: nothing is pending until the watcher runs again.
  void stop() { pending_ = false; }
  bool pending() const { return pending_; }

 private:
  bool heldForLinked_ = false;  // the active profile is there for a linked program
  bool pending_ = false;
  uint32_t leftAt_ = 0;  // when the last linked program left the front
};

}  // namespace apps
