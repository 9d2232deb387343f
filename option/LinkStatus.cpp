#include "LinkStatus.h"

ApplyOutcome monitorApplyOutcome(unsigned answer) {
  switch (answer) {
    case kApplySent:
      return ApplyOutcome::Sent;
    case kApplyStored:
      return ApplyOutcome::SavedNotConnected;
    default:
      return ApplyOutcome::NotConfirmed;
  }
}

const char* keyboardLinkText(bool connected) {
  return connected ? "The keyboard is connected again."
                   : "The keyboard is not connected. Your edits stay; Apply saves them for when it returns.";
}

uint32_t ApplyWait::next() {
  if (++last_ == 0) ++last_;
  return last_;
}

uint32_t ApplyWait::begin() {
  waiting_ = next();
  return waiting_;
}

uint32_t ApplyWait::unwaited() { return next(); }
