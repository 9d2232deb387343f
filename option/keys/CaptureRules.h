#pragma once
// The key combination capture of the keyboard key page: which recorder events
// become keys of the combination, and how the combination is shown and played.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "KeyCodes.h"
#include "KeyPageRules.h"

// At most eight distinct modifiers and one other key.
constexpr int kMaxCombinationKeys = 9;

// One recorder event as posted to the receiver (see KeyMessages.h).
struct HookKeyEvent {
  uint32_t virtualKey;
  uint32_t flags;  // kHookKeyExtended, kHookKeyReleased
};

bool IsModifierUsage(uint8_t usage);
// The usage of a recorder event's key; Enter with the extended flag is the
// keypad's Enter. 0 when the key has no usage.
uint8_t UsageOfHookKey(const HookKeyEvent& event, const KeyboardLayout& layout);

enum class CaptureStep {
  Ignored,   // release, repeat, unknown key, or no capture running
  Taken,     // a modifier: the capture goes on
  Finished,  // the first other key: stop the recorder
};

class CombinationCapture {
 public:
  // The toggle went down: clears the key bytes of the combination's steps.
  void Start(EditEntry& entry);
  // The toggle went up, or the page stops the recorder.
  void Stop() { running_ = false; }
  // One UM_HOOK_KEY event. Events still queued after the capture finished
  // arrive here too and are ignored.
  CaptureStep OnHookKey(EditEntry& entry, const HookKeyEvent& event, const KeyboardLayout& layout);
  bool running() const { return running_; }
  int count() const { return count_; }

 private:
  bool running_ = false;
  int count_ = 0;
};

// The keys a sequence of events captures, in order.
std::vector<uint8_t> CaptureCombination(std::span<const HookKeyEvent> events, const KeyboardLayout& layout);
// The captured keys of an entry (key bytes of its first steps up to the first
// empty one).
std::vector<uint8_t> CombinationKeys(const EditEntry& entry);
// Their names joined by "+".
std::string CombinationText(const EditEntry& entry, const KeyboardLayout& layout);
// The keyboard key page's text on refresh: the entry's keys when it holds a
// combination, stored or captured earlier in this run of the page (other
// categories' steps are no keys of a combination).
std::string CombinationTextOnRefresh(const EditEntry& entry, const KeyboardLayout& layout);

// What the keyboard plays for a combination: every key pressed in order,
// then every key released in the same order.
struct ComboEvent {
  uint8_t code;
  bool press;
  bool operator==(const ComboEvent&) const = default;
};
std::vector<ComboEvent> CombinationPlayback(const EditEntry& entry);
