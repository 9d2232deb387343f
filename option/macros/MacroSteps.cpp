#include "MacroSteps.h"

#include <algorithm>

MacroSteps stepsOf(const MacroRecord& record) {
  MacroSteps out;
  out.count = std::clamp(record.stepCount, 0, kMaxMacroSteps);
  std::copy(record.steps, record.steps + kMaxMacroSteps, out.steps);
  return out;
}

void storeSteps(const MacroSteps& steps, MacroRecord& record) {
  record.stepCount = steps.count;
  // Unused slots are written as zero so that saved records compare equal.
  std::fill(std::begin(record.steps), std::end(record.steps), MacroStep{0});
  std::copy(steps.steps, steps.steps + steps.count, record.steps);
}

bool insertStep(MacroSteps& steps, int position, MacroStep step) {
  if (steps.full()) return false;
  if (position < 0 || position > steps.count) position = steps.count;
  std::copy_backward(steps.steps + position, steps.steps + steps.count, steps.steps + steps.count + 1);
  steps.steps[position] = step;
  ++steps.count;
  return true;
}

bool removeStep(MacroSteps& steps, int index) {
  if (!steps.contains(index)) return false;
  std::copy(steps.steps + index + 1, steps.steps + steps.count, steps.steps + index);
  --steps.count;
  steps.steps[steps.count] = MacroStep{0};
  return true;
}

void setStepDelay(MacroSteps& steps, int index, uint16_t delayMs) {
  if (!steps.contains(index)) return;
  const MacroStep& s = steps.steps[index];
  steps.steps[index] = MacroStep::make(s.code(), s.action(), delayMs);
}
