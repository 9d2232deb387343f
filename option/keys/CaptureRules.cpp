#include "CaptureRules.h"

#include "KeyMessages.h"

namespace {

constexpr uint32_t kVirtualKeyEnter = 0x0D;
constexpr uint32_t kVirtualKeyKeypadEnter = 108;  // the table's row of the keypad's Enter
constexpr uint8_t kFirstModifierUsage = 224;      // left Control
constexpr uint8_t kLastModifierUsage = 231;       // right GUI

}  // namespace

bool IsModifierUsage(uint8_t usage) { return usage >= kFirstModifierUsage && usage <= kLastModifierUsage; }

uint8_t UsageOfHookKey(const HookKeyEvent& event, const KeyboardLayout& layout) {
  uint32_t virtualKey = event.virtualKey;
  if (virtualKey == kVirtualKeyEnter && (event.flags & kHookKeyExtended)) virtualKey = kVirtualKeyKeypadEnter;
  const KeyLookup usage = usageFromVirtualKey(virtualKey, layout);
  return usage.found ? uint8_t(usage.value) : 0;
}

void CombinationCapture::Start(EditEntry& entry) {
  // Only the key bytes: the rest of each word is not the combination's.
  for (int i = 0; i < kMaxCombinationKeys; ++i) entry.steps[i].word &= ~uint32_t(0xFF);
  running_ = true;
  count_ = 0;
}

CaptureStep CombinationCapture::OnHookKey(EditEntry& entry, const HookKeyEvent& event,
                                          const KeyboardLayout& layout) {
  if (!running_ || (event.flags & kHookKeyReleased)) return CaptureStep::Ignored;
  const uint8_t usage = UsageOfHookKey(event, layout);
  // A key without a usage would end the combination with an empty key.
  if (usage == 0) return CaptureStep::Ignored;
  for (int i = 0; i < count_; ++i)
    if (entry.steps[i].code() == usage) return CaptureStep::Ignored;
  entry.functionCode = kFunctionCombination;
  entry.steps[count_].word = (entry.steps[count_].word & ~uint32_t(0xFF)) | usage;
  ++count_;
  entry.stepCount = uint16_t(count_);
  if (IsModifierUsage(usage) && count_ < kMaxCombinationKeys) return CaptureStep::Taken;
  running_ = false;
  return CaptureStep::Finished;
}

std::vector<uint8_t> CaptureCombination(std::span<const HookKeyEvent> events, const KeyboardLayout& layout) {
  EditEntry entry{};
  CombinationCapture capture;
  capture.Start(entry);
  for (const HookKeyEvent& event : events) capture.OnHookKey(entry, event, layout);
  return CombinationKeys(entry);
}

std::vector<uint8_t> CombinationKeys(const EditEntry& entry) {
  std::vector<uint8_t> keys;
  for (int i = 0; i < kMaxCombinationKeys && entry.steps[i].code() != 0; ++i)
    keys.push_back(entry.steps[i].code());
  return keys;
}

std::string CombinationText(const EditEntry& entry, const KeyboardLayout& layout) {
  std::string text;
  for (uint8_t key : CombinationKeys(entry)) {
    if (!text.empty()) text += '+';
    text += keyName(key, layout);
  }
  return text;
}

std::string CombinationTextOnRefresh(const EditEntry& entry, const KeyboardLayout& layout) {
  return entry.functionCode == kFunctionCombination ? CombinationText(entry, layout) : std::string();
}

std::vector<ComboEvent> CombinationPlayback(const EditEntry& entry) {
  const std::vector<uint8_t> keys = CombinationKeys(entry);
  std::vector<ComboEvent> events;
  for (uint8_t key : keys) events.push_back({key, true});
  for (uint8_t key : keys) events.push_back({key, false});
  return events;
}
