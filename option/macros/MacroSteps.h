#pragma once
// The macro manager's working copy of one macro's steps, and the few edits
// every rule set makes on it. It never holds more than a macro can.

#include "ListFiles.h"
#include "SettingsImage.h"

struct MacroSteps {
  MacroStep steps[kMaxMacroSteps]{};
  int count = 0;

  bool full() const { return count >= kMaxMacroSteps; }
  int room() const { return kMaxMacroSteps - count; }
  bool contains(int index) const { return index >= 0 && index < count; }
};

// A damaged record may claim any count; the copy clamps it.
MacroSteps stepsOf(const MacroRecord& record);
void storeSteps(const MacroSteps& steps, MacroRecord& record);

// Before `position`; a position outside 0..count appends. False when full.
bool insertStep(MacroSteps& steps, int position, MacroStep step);
// The following steps move up. False when there is no such step.
bool removeStep(MacroSteps& steps, int index);
void setStepDelay(MacroSteps& steps, int index, uint16_t delayMs);
