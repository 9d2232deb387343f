// The text-macro player over any sequence of presses and releases of keys
// with any fields: a trigger never both stops and clears the stop, posts only
// with the stop cleared, and a playback types no empty key, waits only in
// short slices, gives back every clipboard it took, pastes once per pass and
// ends once its passes are done, a stop arrives or it is cancelled.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

#include "FuzzSupport.h"
#include "TextMacroPlayer.h"

namespace {

// A pass budget stands in for the user who stops a long playback: past it,
// the output presses a play-once key, as the main thread would. A budget of
// waited time stands in for the monitor's exit, which cancels.
class Output : public player::MacroOutput {
 public:
  Output(player::TextMacroPlayer& player, const KeyAssignment& stopKey, int budget)
      : player_(player), stopKey_(stopKey), budget_(budget) {}
  ~Output() override { FUZZ_CHECK(!placed_); }
  void typeKey(uint8_t code) override { FUZZ_CHECK(code != 0); }
  void wait(int ms) override {
    FUZZ_CHECK(ms > 0 && ms <= player::kWaitSliceMs);
    FUZZ_CHECK(!cancelled_);  // a cancel is seen before the next slice
    clock_ += uint64_t(ms);
    if (++slices_ == kSliceBudget) {
      player_.cancel();
      cancelled_ = true;
    }
  }
  uint64_t nowMs() override { return clock_; }
  bool placeText(const std::string& text) override {
    FUZZ_CHECK(!text.empty() && !placed_);
    ++opens_;
    placed_ = (opens_ & 3) != 0;
    return placed_;
  }
  bool textTaken() override { return (opens_ & 1) != 0; }
  void restoreClipboard() override {
    FUZZ_CHECK(placed_);
    placed_ = false;
  }
  void paste() override {
    FUZZ_CHECK(placed_);
    ++pastes;
    if (pastes == budget_) player_.trigger(stopKey_, 0);
    FUZZ_CHECK(pastes <= budget_ + 1);
  }
  void trace(const std::string& line) override { FUZZ_CHECK(!line.empty() && line.back() == '\n'); }
  int pastes = 0;

 private:
  player::TextMacroPlayer& player_;
  const KeyAssignment& stopKey_;
  int budget_;
  static constexpr int kSliceBudget = 2000;
  uint64_t clock_ = 0;
  int slices_ = 0;
  bool cancelled_ = false;
  uint32_t opens_ = 0;
  bool placed_ = false;
};

void fillKey(FuzzedDataProvider& in, KeyAssignment& key) {
  std::memset(&key, 0, sizeof key);
  key.functionCode = in.ConsumeBool() ? kFunctionTextMacro : in.ConsumeIntegral<uint8_t>();
  key.playMode = in.ConsumeIntegral<int32_t>();
  key.triggerMode = in.ConsumeIntegral<int32_t>();
  key.playCount = in.ConsumeIntegral<int32_t>();
  key.repeatDelayMs = in.ConsumeIntegral<uint16_t>();
  key.textDelayMs = in.ConsumeIntegral<int32_t>();
  key.keyBefore = in.ConsumeIntegral<uint8_t>();
  key.keyAfter = in.ConsumeIntegral<uint8_t>();
  const std::string text = in.ConsumeRandomLengthString(sizeof key.textMacroText - 1);
  std::memcpy(key.textMacroText, text.data(), text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  player::TextMacroPlayer player;
  KeyAssignment stopKey{};
  stopKey.functionCode = kFunctionTextMacro;
  stopKey.playMode = kPlayOnce;
  while (in.remaining_bytes() > 0) {
    KeyAssignment key;
    fillKey(in, key);
    const int releaseFlag = in.ConsumeIntegralInRange(0, 1);
    const player::TriggerActions a = player.trigger(key, releaseFlag);
    FUZZ_CHECK(!(a.setStop && a.clearStop));
    FUZZ_CHECK(!a.post || a.clearStop);
    if (key.functionCode != kFunctionTextMacro) FUZZ_CHECK(!a.post && !a.setStop && !a.passCount);
    if (a.post) {
      Output out(player, stopKey, in.ConsumeIntegralInRange(1, 50));
      player.play(out, player.epoch());
      FUZZ_CHECK(!player.playing());
    }
  }
  return 0;
}
