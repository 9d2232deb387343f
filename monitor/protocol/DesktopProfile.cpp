#include "DesktopProfile.h"

#include "SettingsImage.h"

namespace apps {
namespace {

bool isDesktop(int desktop) { return desktop >= 1 && desktop <= kProfileCount; }

}  // namespace

DesktopStep DesktopProfileRule::foreground(int linked, int active, int desktop, uint32_t now) {
  DesktopStep step;
  if (linked >= 0 && linked < kProfileCount) {
    // A linked program wins at once, and the watcher's profile is its.
    heldForLinked_ = true;
    pending_ = false;
    if (linked != active) step.switchTo = linked;
    return step;
  }
  if (!heldForLinked_ || !isDesktop(desktop) || desktop - 1 == active) {
    pending_ = false;
    return step;
  }
  // Counted from the moment the linked program left, whatever came after it.
  if (!pending_) {
    pending_ = true;
    leftAt_ = now;
  }
  return due(active, desktop, now);
}

DesktopStep DesktopProfileRule::due(int active, int desktop, uint32_t now) {
  DesktopStep step;
  if (!pending_) return step;
  const uint32_t waited = now - leftAt_;
  if (waited < kDesktopProfileDelayMs) {
    step.lookInMs = int(kDesktopProfileDelayMs - waited);
    return step;
  }
  pending_ = false;
  heldForLinked_ = false;
  // The setting may have changed while the delay ran.
  if (isDesktop(desktop) && desktop - 1 != active) step.switchTo = desktop - 1;
  return step;
}

void DesktopProfileRule::chosenByHand() {
  heldForLinked_ = false;
  pending_ = false;
}

}  // namespace apps
