// What the configuration program makes of the keyboard hook's events: macro
// recording (any events, into any steps, at any place) and the key
// combination capture. Recordings never outgrow a macro and hold only
// presses and releases of keys the keyboard knows; a combination is at most
// eight distinct modifiers and one other key, played as presses then
// releases in the same order.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "../settings/tests/FakeKeyboardLayout.h"
#include "CaptureRules.h"
#include "FuzzSupport.h"
#include "ProfileFiles.h"
#include "RecordingRules.h"

namespace {

const FakeUsLayout layout;

void recording(FuzzedDataProvider& in) {
  MacroSteps steps;
  steps.count = in.ConsumeIntegralInRange(0, kMaxMacroSteps);
  for (int i = 0; i < steps.count; ++i) steps.steps[i].word = in.ConsumeIntegral<uint32_t>();
  const bool delays = in.ConsumeBool();
  const int at = in.ConsumeIntegral<int>();
  Recording rec;
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
      rec = startRecording(steps, delays);
      break;
    case 1:
      rec = startRecordingBefore(steps, at, delays);
      break;
    default:
      rec = startRecordingAfter(steps, at, delays);
      break;
  }
  const MacroSteps before = steps;
  std::vector<HookEvent> events;
  while (in.remaining_bytes() > 0 && events.size() < 200)
    events.push_back(hookEventFromMessage(in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>(),
                                          in.ConsumeIntegral<uint32_t>()));
  const MacroSteps after = recordAll(steps, rec, events, layout);
  FUZZ_CHECK(after.count >= before.count && after.count <= kMaxMacroSteps);
  // Recorded steps are the new ones; the old ones keep their order around them.
  int kept = 0;
  for (int i = 0; i < after.count && kept < before.count; ++i)
    if (after.steps[i] == before.steps[kept]) ++kept;
  FUZZ_CHECK(kept == before.count);
  if (after.count > before.count && !delays) {
    int zeroDelays = 0;
    for (int i = 0; i < after.count; ++i) zeroDelays += after.steps[i].delayMs() == 0;
    FUZZ_CHECK(zeroDelays >= after.count - before.count);
  }
}

void capture(FuzzedDataProvider& in) {
  std::vector<HookKeyEvent> events;
  while (in.remaining_bytes() > 0 && events.size() < 64)
    events.push_back({in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>()});
  const std::vector<uint8_t> keys = CaptureCombination(events, layout);
  FUZZ_CHECK(keys.size() <= size_t(kMaxCombinationKeys));
  FUZZ_CHECK(std::set<uint8_t>(keys.begin(), keys.end()).size() == keys.size());
  FUZZ_CHECK(std::count_if(keys.begin(), keys.end(), [](uint8_t k) { return !IsModifierUsage(k); }) <= 1);
  FUZZ_CHECK(std::find(keys.begin(), keys.end(), 0) == keys.end());

  EditEntry entry;
  std::memset(&entry, 0, sizeof entry);
  entry.category = kCategoryCombination;
  CombinationCapture live;
  live.Start(entry);
  for (const HookKeyEvent& e : events) live.OnHookKey(entry, e, layout);
  FUZZ_CHECK(CombinationKeys(entry) == keys);
  FUZZ_CHECK(live.count() == int(keys.size()));
  CombinationText(entry, layout);
  const std::vector<ComboEvent> played = CombinationPlayback(entry);
  FUZZ_CHECK(played.size() == 2 * keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    FUZZ_CHECK(played[i] == (ComboEvent{keys[i], true}));
    FUZZ_CHECK(played[keys.size() + i] == (ComboEvent{keys[i], false}));
  }
}

// Whatever a file or the shared block put into an entry.
void storedEntry(FuzzedDataProvider& in) {
  EditEntry entry;
  const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(sizeof entry);
  std::memset(&entry, 0, sizeof entry);
  if (!bytes.empty()) std::memcpy(&entry, bytes.data(), bytes.size());
  sanitizeKey(entry, 0);
  FUZZ_CHECK(CombinationKeys(entry).size() <= size_t(kMaxMacroSteps));
  CombinationText(entry, layout);
  CombinationTextOnRefresh(entry, layout);
  CombinationPlayback(entry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
      recording(in);
      break;
    case 1:
      capture(in);
      break;
    default:
      storedEntry(in);
      break;
  }
  return 0;
}
