#include "LinkStatus.h"

const char* applyOutcomeText(unsigned outcome) {
  switch (outcome) {
    case kApplySent:
      return "Sent to the keyboard.";
    case kApplyStored:
      return "Saved; the keyboard is not connected. It receives the settings when it is plugged in.";
    default:
      return "Saved.";
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
