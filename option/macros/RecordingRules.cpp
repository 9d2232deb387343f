#include "RecordingRules.h"

#include <algorithm>

HookEvent hookEventFromMessage(uint32_t virtualKey, uint32_t flags, uint32_t tickMs) {
  return HookEvent{virtualKey, (flags & kHookFlagExtended) != 0, (flags & kHookFlagReleased) != 0, tickMs};
}

uint32_t recordedVirtualKey(const HookEvent& event) {
  return event.virtualKey == kVkReturn && event.extended ? kVkKeypadEnter : event.virtualKey;
}

Recording startRecording(MacroSteps& steps, bool recordDelays) {
  steps = MacroSteps{};
  Recording rec;
  rec.recordDelays = recordDelays;
  return rec;
}

Recording startRecordingBefore(const MacroSteps& steps, int step, bool recordDelays) {
  Recording rec;
  rec.recordDelays = recordDelays;
  rec.insertAt = steps.contains(step) ? step : kAppend;
  return rec;
}

Recording startRecordingAfter(const MacroSteps& steps, int step, bool recordDelays) {
  Recording rec;
  rec.recordDelays = recordDelays;
  rec.insertAt = steps.contains(step) && step + 1 < steps.count ? step + 1 : kAppend;
  return rec;
}

bool canRecordInto(const MacroSteps& steps) { return !steps.full(); }

RecordOutcome recordEvent(Recording& rec, MacroSteps& steps, const HookEvent& event,
                          const KeyboardLayout& layout) {
  if (steps.full()) return RecordOutcome::Full;
  const uint32_t vk = recordedVirtualKey(event);
  // A held key repeats its press; only the first one counts.
  if (rec.hasPrevious && vk == rec.previousVirtualKey && event.released == rec.previousReleased)
    return RecordOutcome::Dropped;
  // Code 0 would play as nothing and could not be named; such keys are left out.
  const KeyLookup usage = usageFromVirtualKey(vk, layout);
  if (!usage.found || usage.value == 0 || usage.value > 0xFF) return RecordOutcome::Dropped;

  const int position = rec.insertAt == kAppend ? steps.count : rec.insertAt;
  if (rec.recordDelays && rec.hasPrevious && position > 0) {
    // Unsigned difference: the tick count wraps after 49.7 days.
    const uint32_t elapsed = event.tickMs - rec.previousTickMs;
    setStepDelay(steps, position - 1, uint16_t(std::min(elapsed, kMaxStepDelayMs)));
  }
  const uint8_t action = event.released ? kActionRelease : kActionPress;
  insertStep(steps, position, MacroStep::make(uint8_t(usage.value), action, 0));
  if (rec.insertAt != kAppend) ++rec.insertAt;

  rec.hasPrevious = true;
  rec.previousVirtualKey = vk;
  rec.previousReleased = event.released;
  rec.previousTickMs = event.tickMs;
  return steps.full() ? RecordOutcome::Full : RecordOutcome::Stored;
}

MacroSteps recordAll(MacroSteps steps, Recording rec, const std::vector<HookEvent>& events,
                     const KeyboardLayout& layout) {
  for (const HookEvent& e : events)
    if (recordEvent(rec, steps, e, layout) == RecordOutcome::Full) break;
  return steps;
}
