#pragma once
// Recording a macro from the keyboard hook's events: which events become
// steps, where they go and which pauses are kept.
//
//   Recording rec = startRecording(steps, recordDelays);   // clears the steps
//   for each UM_HOOK_KEY: if (recordEvent(rec, steps, event, layout) == RecordOutcome::Full) stop;

#include <cstdint>
#include <vector>

#include "KeyCodes.h"
#include "MacroSteps.h"

// One event as the hook forwards it (wParam virtual key, lParam flag bits)
// with the tick count the receiver read when it arrived.
struct HookEvent {
  uint32_t virtualKey = 0;
  bool extended = false;
  bool released = false;
  uint32_t tickMs = 0;
};
constexpr uint32_t kHookFlagExtended = 0x01;
constexpr uint32_t kHookFlagReleased = 0x80;
HookEvent hookEventFromMessage(uint32_t virtualKey, uint32_t flags, uint32_t tickMs);

constexpr uint32_t kVkReturn = 0x0D;
constexpr uint32_t kVkKeypadEnter = 108;
// Enter of the keypad arrives as Enter with the extended flag.
uint32_t recordedVirtualKey(const HookEvent& event);

constexpr uint32_t kMaxStepDelayMs = 65535;

constexpr int kAppend = -1;

struct Recording {
  bool recordDelays = false;
  int insertAt = kAppend;  // before this step, or kAppend
  bool hasPrevious = false;
  uint32_t previousVirtualKey = 0;
  bool previousReleased = false;
  uint32_t previousTickMs = 0;
};

// The Record button: all steps go, recording appends.
Recording startRecording(MacroSteps& steps, bool recordDelays);
// The step menu's record entries keep the steps. Before a step, after it, or
// appending when `step` is outside the list.
Recording startRecordingBefore(const MacroSteps& steps, int step, bool recordDelays);
Recording startRecordingAfter(const MacroSteps& steps, int step, bool recordDelays);
// A full macro takes no recorded step.
bool canRecordInto(const MacroSteps& steps);

enum class RecordOutcome {
  Dropped,  // auto-repeat, or a key the keyboard has no code for
  Stored,
  Full,  // stored (or refused) and the macro is full: stop recording
};
RecordOutcome recordEvent(Recording& rec, MacroSteps& steps, const HookEvent& event,
                          const KeyboardLayout& layout);

// A whole recording at once: the events of one Record press on `steps`.
MacroSteps recordAll(MacroSteps steps, Recording rec, const std::vector<HookEvent>& events,
                     const KeyboardLayout& layout);
