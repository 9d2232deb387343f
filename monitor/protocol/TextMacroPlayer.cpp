#include "TextMacroPlayer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace player {
namespace {

std::string format(const char* pattern, int value) {
  char line[64];
  std::snprintf(line, sizeof line, pattern, value);
  return line;
}

}  // namespace

TextMacroFields copyFields(const KeyAssignment& key) {
  TextMacroFields f;
  f.playMode = key.playMode;
  f.triggerMode = key.triggerMode;
  f.playCount = key.playCount;
  f.repeatDelayMs = key.repeatDelayMs;
  f.text.assign(key.textMacroText, strnlen(key.textMacroText, sizeof key.textMacroText));
  f.textDelayMs = key.textDelayMs;
  f.keyBefore = key.keyBefore;
  f.keyAfter = key.keyAfter;
  return f;
}

TriggerActions decideTrigger(const TextMacroFields& f, int releaseFlag, bool playing) {
  TriggerActions a;
  const bool matches = releaseFlag == f.triggerMode;
  switch (f.playMode) {
    case kPlayOnce:
      a.passCount = 1;
      if (playing) {
        a.setStop = true;
      } else if (matches) {
        a.clearStop = a.post = true;
        a.traces.push_back("output0 success!\n");
      }
      break;
    case kPlayNTimes:
      // A playback already running is not stopped; it continues with the new count.
      if (matches) {
        a.passCount = f.playCount;
        a.traces.push_back(format("g_iFlag=%d\n", releaseFlag));
        a.traces.push_back(format("g_iFlag=%d\n", f.triggerMode));
        a.clearStop = a.post = true;
        a.traces.push_back("output1 success!\n");
      }
      break;
    case kPlayWhilePressed:
      if (releaseFlag == 0) {
        a.clearStop = a.post = true;
        a.traces.push_back("output2 success!\n");
      } else {
        a.setStop = true;
      }
      break;
    case kPlayToggle:
      if (matches) {
        if (playing) {
          a.setStop = true;
        } else {
          a.clearStop = a.post = true;
          a.traces.push_back("output3 success!\n");
        }
      }
      break;
    default:
      break;
  }
  return a;
}

std::optional<std::array<MouseEvent, 2>> mouseEventsFor(uint8_t code) {
  using A = MouseAction;
  switch (code) {
    case kMouseLeft:
      return std::array{MouseEvent{A::LeftDown, 0}, MouseEvent{A::LeftUp, 0}};
    case kMouseRight:
      return std::array{MouseEvent{A::RightDown, 0}, MouseEvent{A::RightUp, 0}};
    case kMouseMiddle:
      return std::array{MouseEvent{A::MiddleDown, 0}, MouseEvent{A::MiddleUp, 0}};
    case kMouseButton5:
      return std::array{MouseEvent{A::XDown, 2}, MouseEvent{A::XUp, 2}};
    case kMouseButton4:
      return std::array{MouseEvent{A::XDown, 1}, MouseEvent{A::XUp, 1}};
    default:
      return std::nullopt;
  }
}

uint32_t virtualKeyForCode(uint8_t code, const KeyboardLayout& layout) {
  const KeyLookup vk = virtualKeyFromUsage(code, layout);
  if (!vk.found) return 0;
  switch (vk.value) {
    case 0xA0:
    case 0xA1:
      return kVkShift;
    case 0xA2:
    case 0xA3:
      return kVkControl;
    case 0xA4:
    case 0xA5:
      return kVkMenu;
    default:
      return vk.value;
  }
}

TriggerActions TextMacroPlayer::trigger(const KeyAssignment& key, int releaseFlag) {
  if (key.functionCode != kFunctionTextMacro) return {};
  TextMacroFields f = copyFields(key);
  const TriggerActions a = decideTrigger(f, releaseFlag, playing_.load());
  {
    std::lock_guard lock(mutex_);
    fields_ = std::move(f);
    lastReleaseFlag_ = releaseFlag;
    if (a.passCount) passCount_ = *a.passCount;
  }
  if (a.setStop) stop_.store(true);
  if (a.clearStop) stop_.store(false);
  return a;
}

void TextMacroPlayer::cancel() {
  epoch_.fetch_add(1);
  stop_.store(true);
}

bool TextMacroPlayer::waitFor(MacroOutput& out, int64_t ms, uint32_t epoch) {
  const uint64_t start = out.nowMs();
  for (;;) {
    if (cancelled(epoch)) return false;
    const int64_t left = ms - int64_t(out.nowMs() - start);
    if (left <= 0) return true;
    out.wait(int(std::min<int64_t>(left, kWaitSliceMs)));
  }
}

// The text is on the clipboard only for the paste: the user's own contents
// come back once the window in front has read it (or did not within the
// time-out). Without the text on the clipboard nothing is pasted: Control+V
// would type whatever the user copied last into that window.
bool TextMacroPlayer::pasteText(const std::string& text, MacroOutput& out, uint32_t epoch) {
  if (text.empty() || !out.placeText(text)) return false;
  out.paste();
  const uint64_t start = out.nowMs();
  while (!out.textTaken() && !cancelled(epoch) && out.nowMs() - start < uint64_t(kPasteReadTimeoutMs))
    out.wait(kWaitSliceMs);
  if (out.textTaken()) waitFor(out, kPasteSettleMs, epoch);
  out.restoreClipboard();
  return true;
}

void TextMacroPlayer::play(MacroOutput& out, uint32_t epoch) {
  if (cancelled(epoch)) return;
  playing_.store(true);
  for (;;) {
    TextMacroFields f;
    {
      std::lock_guard lock(mutex_);
      f = fields_;
    }
    if (f.keyBefore != 0) out.typeKey(f.keyBefore);
    if (!waitFor(out, f.textDelayMs, epoch)) break;
    if (pasteText(f.text, out, epoch)) {
      out.trace(kTracePaste);
    } else if (!waitFor(out, kPasteHoldMs, epoch)) {
      break;  // a pass without a paste still takes the paste's time: no busy loop
    }
    if (cancelled(epoch)) break;
    if (f.keyAfter != 0) out.typeKey(f.keyAfter);

    if (stop_.load()) break;
    if (f.playMode == kPlayNTimes) {
      int32_t left, flag;
      {
        std::lock_guard lock(mutex_);
        // A damaged count may start at the lowest int; it only ever ends the playback.
        if (passCount_ > INT32_MIN) --passCount_;
        left = passCount_;
        flag = lastReleaseFlag_;
      }
      out.trace(format("g_iLoppTimes=%d\n", left));
      out.trace(format("g_iFlag=%d\n", flag));
      out.trace(format("g_iTriggerMode=%d\n", f.triggerMode));
      if (left < 1) break;
    } else if (f.playMode != kPlayWhilePressed && f.playMode != kPlayToggle) {
      break;
    }
    if (!waitFor(out, f.repeatDelayMs, epoch)) break;
  }
  playing_.store(false);
}

}  // namespace player
