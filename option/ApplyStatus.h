#pragma once
// How an apply ended, and what the main window's status line says of it.

enum class ApplyOutcome {
  Sent,               // the monitor confirmed: the keyboard has the settings
  SavedNotConnected,  // the monitor runs, the keyboard does not answer: it gets them when it comes back
  SavedNoMonitor,     // no monitor: the files hold the settings, the monitor sends them when it starts
  NotConfirmed,       // the monitor did not answer in time
  NotSaved,           // a settings file could not be written
};

const char* applyStatusText(ApplyOutcome outcome);
// Shown as a fault; a close that waited for the apply does not happen then.
bool applyFailed(ApplyOutcome outcome);
