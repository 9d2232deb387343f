#include "MacroManagerRules.h"

#include <algorithm>

#include "StepMenuRules.h"

void MacroManagerSession::open(const KeyAssignment& editedKey) {
  select(initialMacroLine(namesOf(library_), editedKey));
}

void MacroManagerSession::select(int index) {
  // The name list is disabled while recording; should a selection come
  // through anyway, the recording must not go on into another macro.
  recordingOn_ = false;
  recording_ = Recording{};
  current_ = index >= 0 && size_t(index) < library_.size() ? index : -1;
  const MacroRecord* r = record();
  steps_ = r ? stepsOf(*r) : MacroSteps{};
  repeat_ = r ? repeatViewOf(*r) : RepeatView{};
  changedStep_ = -1;
}

MacroRecord* MacroManagerSession::record() { return current_ >= 0 ? &library_[size_t(current_)] : nullptr; }

void MacroManagerSession::writeBack() {
  if (MacroRecord* r = record()) storeSteps(steps_, *r);
}

int MacroManagerSession::changedLine() const {
  return changedDelay_ ? lineOfDelay(steps_, changedStep_) : lineOfStep(steps_, changedStep_);
}

MacroManagerSession::NameResult MacroManagerSession::commitNewLine(std::string_view typed) {
  if (!addMacro(library_, typed)) {
    // The refused line was the last; its neighbour is the new last line.
    const int nearest = selectionAfterRemoval(int(library_.size()), int(library_.size()));
    select(nearest);
    return {false, nearest};
  }
  trail_.appended();
  select(int(library_.size()) - 1);
  return {true, current_};
}

MacroManagerSession::NameResult MacroManagerSession::commitRename(int line, std::string_view typed) {
  if (line < 0 || size_t(line) >= library_.size()) return {false, current_};
  // The renamed line is the one the user sees highlighted afterwards.
  if (line != current_) select(line);
  return {renameMacro(library_, line, typed), line};
}

int MacroManagerSession::emptyNewMacro() const {
  for (size_t i = 0; i < library_.size(); ++i)
    if (trail_.added(int(i)) && library_[i].stepCount <= 0) return int(i);
  return -1;
}

int MacroManagerSession::deleteCurrent() {
  if (current_ < 0) return -1;
  trail_.removed(current_);
  select(deleteMacro(library_, current_));
  return current_;
}

void MacroManagerSession::setRepeatOn(bool on) {
  repeat_.on = on;
  if (MacroRecord* r = record()) r->repeatCount = storedRepeatCount(repeat_.on, repeat_.count);
}

ClampedNumber MacroManagerSession::setRepeatCountText(std::string_view typed) {
  const ClampedNumber count = repeatCountFromEdit(typed);
  repeat_.count = count.value;
  setRepeatOn(repeat_.on);
  return count;
}

std::optional<ClampedNumber> MacroManagerSession::repeatCountTyped(std::string_view typed) {
  if (typed.empty()) return std::nullopt;
  return setRepeatCountText(typed);
}

ManagerStatus MacroManagerSession::beginRecording(Recording rec) {
  if (!record()) return ManagerStatus::NoMacro;
  if (!canRecordInto(steps_)) return ManagerStatus::Full;
  recording_ = rec;
  recordingOn_ = true;
  return ManagerStatus::Done;
}

ManagerStatus MacroManagerSession::startRecording() {
  if (!record()) return ManagerStatus::NoMacro;
  const Recording rec = ::startRecording(steps_, recordDelays_);
  writeBack();
  changedStep_ = -1;
  return beginRecording(rec);
}

ManagerStatus MacroManagerSession::startRecordingBefore(StepLineRef selected) {
  return beginRecording(::startRecordingBefore(steps_, selected.step, recordDelays_));
}

ManagerStatus MacroManagerSession::startRecordingAfter(StepLineRef selected) {
  return beginRecording(::startRecordingAfter(steps_, selected.step, recordDelays_));
}

RecordOutcome MacroManagerSession::onHookKey(const HookEvent& event, const KeyboardLayout& layout) {
  // Events still queued after the stop belong to no recording.
  if (!recordingOn_) return RecordOutcome::Dropped;
  const int at = recording_.insertAt == kAppend ? steps_.count : recording_.insertAt;
  const RecordOutcome outcome = recordEvent(recording_, steps_, event, layout);
  if (outcome != RecordOutcome::Dropped) {
    changedStep_ = at;
    changedDelay_ = false;
    writeBack();
  }
  if (outcome == RecordOutcome::Full) stopRecording();
  return outcome;
}

void MacroManagerSession::stopRecording() {
  recordingOn_ = false;
  recording_ = Recording{};
  writeBack();
}

ManagerStatus MacroManagerSession::runStepCommand(int command, StepLineRef selected) {
  if (!record()) return ManagerStatus::NoMacro;
  bool changed = false;
  int changedStep = selected.step;
  bool changedDelay = false;
  if (command == kCmdInsertDelay) {
    changed = insertDelay(steps_, selected);
    changedStep = selected.step - 1;
    changedDelay = true;
  } else if (command == kCmdDeleteStep) {
    changed = deleteAtLine(steps_, selected);
    changedStep = std::min(selected.step, steps_.count - 1);
  } else if (mouseInsertionOf(command)) {
    if (steps_.full()) return ManagerStatus::Full;
    changed = insertMouseButton(steps_, selected, command);
    if (!changed) return ManagerStatus::Full;
    if (!steps_.contains(changedStep)) changedStep = steps_.count - 1;
  }
  if (!changed) return ManagerStatus::Unchanged;
  changedStep_ = changedStep;
  changedDelay_ = changedDelay;
  writeBack();
  return ManagerStatus::Done;
}

ManagerStatus MacroManagerSession::commitDelayEdit(StepLineRef delayLine, std::string_view typed,
                                                   ClampedNumber* shown) {
  if (!record()) return ManagerStatus::NoMacro;
  if (!delayLine.delayLine || !steps_.contains(delayLine.step)) return ManagerStatus::Unchanged;
  const ClampedNumber delay = editDelay(steps_, delayLine, typed);
  if (shown) *shown = delay;
  changedStep_ = delayLine.step;
  changedDelay_ = true;
  writeBack();
  return ManagerStatus::Done;
}
