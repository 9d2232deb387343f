#include "StepMenuRules.h"

#include <iterator>

namespace {
constexpr int kCommandsPerButton = 3;
constexpr int kOneMs = 1;

bool isStepLine(const MacroSteps& steps, StepLineRef ref) {
  return steps.contains(ref.step) && !ref.delayLine;
}
bool isDelayLine(const MacroSteps& steps, StepLineRef ref) {
  return steps.contains(ref.step) && ref.delayLine && steps.steps[ref.step].delayMs() != 0;
}

int roomNeeded(MouseInsertKind kind) { return kind == MouseInsertKind::Click ? 2 : 1; }

bool canInsertDelay(const MacroSteps& steps, StepLineRef ref) {
  return isStepLine(steps, ref) && ref.step > 0 && steps.steps[ref.step - 1].delayMs() == 0;
}
}  // namespace

std::optional<MouseInsertion> mouseInsertionOf(int command) {
  if (command < kCmdMouseFirst || command > kCmdMouseLast) return std::nullopt;
  const int offset = command - kCmdMouseFirst;
  return MouseInsertion{kMenuMouseButtons[offset / kCommandsPerButton],
                        MouseInsertKind(offset % kCommandsPerButton)};
}

int mouseCommand(uint8_t code, MouseInsertKind kind) {
  for (int b = 0; b < int(std::size(kMenuMouseButtons)); ++b)
    if (kMenuMouseButtons[b] == code) return kCmdMouseFirst + b * kCommandsPerButton + int(kind);
  return 0;
}

bool stepMenuOpens(bool recording) { return !recording; }

std::vector<StepMenuItem> stepMenu(bool macroCurrent, const MacroSteps& steps, StepLineRef selected) {
  const bool any = !macroCurrent;
  std::vector<StepMenuItem> menu;
  menu.push_back({kCmdRecordBefore, kTextRecordBefore, any || !steps.full(), {}});
  menu.push_back({kCmdRecordAfter, kTextRecordAfter, any || !steps.full(), {}});
  menu.push_back({kCmdInsertDelay, kTextInsertDelay, any || canInsertDelay(steps, selected), {}});

  StepMenuItem mouse{0, kTextMouseButtons, true, {}};
  for (int b = 0; b < int(std::size(kMenuMouseButtons)); ++b) {
    StepMenuItem button{0, kTextFirstButton + b, true, {}};
    const MouseInsertKind kinds[] = {MouseInsertKind::Press, MouseInsertKind::Release,
                                     MouseInsertKind::Click};
    const int texts[] = {kTextPress, kTextRelease, kTextClick};
    for (int k = 0; k < 3; ++k)
      button.children.push_back({mouseCommand(kMenuMouseButtons[b], kinds[k]),
                                 texts[k],
                                 any || steps.room() >= roomNeeded(kinds[k]),
                                 {}});
    mouse.children.push_back(button);
  }
  menu.push_back(mouse);

  menu.push_back({kCmdEditDelay, kTextEditDelay, any || isDelayLine(steps, selected), {}});
  menu.push_back({kCmdDeleteStep, kTextDeleteStep, any || steps.contains(selected.step), {}});
  return menu;
}

bool insertDelay(MacroSteps& steps, StepLineRef selected) {
  if (!canInsertDelay(steps, selected)) return false;
  setStepDelay(steps, selected.step - 1, kOneMs);
  return true;
}

bool deleteAtLine(MacroSteps& steps, StepLineRef selected) {
  if (!steps.contains(selected.step)) return false;
  if (!selected.delayLine) return removeStep(steps, selected.step);
  if (steps.steps[selected.step].delayMs() == 0) return false;
  setStepDelay(steps, selected.step, 0);
  return true;
}

bool insertMouseButton(MacroSteps& steps, StepLineRef selected, int command) {
  const std::optional<MouseInsertion> m = mouseInsertionOf(command);
  if (!m || steps.room() < roomNeeded(m->kind)) return false;
  // Before the selected step; a delay line belongs to its step.
  int at = steps.contains(selected.step) ? selected.step : steps.count;
  if (m->kind != MouseInsertKind::Release) insertStep(steps, at++, MacroStep::make(m->code, kActionPress, 0));
  if (m->kind != MouseInsertKind::Press) insertStep(steps, at, MacroStep::make(m->code, kActionRelease, 0));
  return true;
}

ClampedNumber editDelay(MacroSteps& steps, StepLineRef delayLine, std::string_view typed) {
  const ClampedNumber delay = clampTypedNumber(typed, kMinTypedDelayMs, kMaxTypedDelayMs);
  if (isDelayLine(steps, delayLine)) setStepDelay(steps, delayLine.step, uint16_t(delay.value));
  return delay;
}
