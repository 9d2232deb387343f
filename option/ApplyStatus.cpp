#include "ApplyStatus.h"

const char* applyStatusText(ApplyOutcome outcome) {
  switch (outcome) {
    case ApplyOutcome::Sent:
      return "Sent to the keyboard";
    case ApplyOutcome::SavedNotConnected:
      return "Saved; the keyboard is not connected";
    case ApplyOutcome::SavedNoMonitor:
      return "Saved; the monitor is not running, it sends the settings when it starts";
    case ApplyOutcome::NotConfirmed:
      return "The keyboard did not confirm the settings: Apply again to send them.";
    case ApplyOutcome::NotSaved:
      return "The settings could not be saved: the program folder refused a file. Apply again to retry.";
  }
  return "";
}

bool applyFailed(ApplyOutcome outcome) {
  return outcome == ApplyOutcome::NotConfirmed || outcome == ApplyOutcome::NotSaved;
}
