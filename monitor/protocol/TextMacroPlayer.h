#pragma once
// Text macro playback without the platform: the trigger rules of the four
// play modes, the passes of one playback, the clipboard hand-over, and the
// input that keys and mouse buttons turn into. The Win32 shell posts the
// thread message, emits the traces and synthesises the input.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "KeyCodes.h"
#include "SettingsImage.h"

namespace player {

constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkControl = 0x11;
constexpr uint32_t kVkMenu = 0x12;
constexpr uint32_t kVkV = 0x56;
constexpr int kPasteHoldMs = 30;  // between pressing and releasing Control+V
// Every pause of a playback is waited in slices this long, so that an end
// (the monitor's exit, the keyboard's removal) is seen at once.
constexpr int kWaitSliceMs = 20;
// How long the pasted text stays on the clipboard when nobody reads it (the
// window in front takes no text); a read gives the user's contents back at once.
constexpr int kPasteReadTimeoutMs = 1500;
// After the first read the text stays this much longer: a program may open
// the clipboard more than once for one paste (look, then read).
constexpr int kPasteSettleMs = 100;

constexpr char kTracePaste[] = "FakePast success\n";

// The fields of the triggering key that a playback uses.
struct TextMacroFields {
  int32_t playMode = kPlayOnce;
  int32_t triggerMode = 0;
  int32_t playCount = 1;
  uint16_t repeatDelayMs = 0;
  std::string text;
  int32_t textDelayMs = 0;
  uint8_t keyBefore = 0;
  uint8_t keyAfter = 0;
};
TextMacroFields copyFields(const KeyAssignment& key);

struct TriggerActions {
  bool post = false;       // post TM_PLAY_TEXT_MACRO to the macro thread
  bool setStop = false;
  bool clearStop = false;
  std::optional<int32_t> passCount;  // the new remaining pass count
  std::vector<std::string> traces;   // debugger output, in order
};

// The rule of the four play modes for a trigger with release flag `releaseFlag`
// (0 press, 1 release) while a playback is or is not running.
TriggerActions decideTrigger(const TextMacroFields& fields, int releaseFlag, bool playing);

enum class MouseAction : uint8_t { LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, XDown, XUp };
struct MouseEvent {
  MouseAction action;
  uint32_t data;  // button data of the extra buttons: 1 fourth, 2 fifth
  bool operator==(const MouseEvent&) const = default;
};
// The two mouse events that type a button code 240..244; nothing for other codes.
std::optional<std::array<MouseEvent, 2>> mouseEventsFor(uint8_t code);
// The virtual key for a keyboard usage, with left/right Shift, Control and
// Alt collapsed to their common keys; 0 when the usage has none.
uint32_t virtualKeyForCode(uint8_t code, const KeyboardLayout& layout);

// What a playback does to the system.
class MacroOutput {
 public:
  virtual ~MacroOutput() = default;
  virtual void typeKey(uint8_t code) = 0;  // never called with 0
  virtual void wait(int ms) = 0;           // at most kWaitSliceMs
  virtual uint64_t nowMs() = 0;            // a steady clock
  // Keeps what the clipboard holds and puts `text` there in its stead,
  // marked as kept out of clipboard history and cloud clipboard. False when
  // the clipboard could not be opened: nothing is kept or placed.
  virtual bool placeText(const std::string& text) = 0;
  // The window that the paste went to has read the text since placeText.
  virtual bool textTaken() = 0;
  // Gives back what placeText kept, unless someone else has put something
  // on the clipboard since.
  virtual void restoreClipboard() = 0;
  virtual void paste() = 0;  // Control+V as kVkControl, kVkV, kPasteHoldMs
  virtual void trace(const std::string& line) = 0;
};

// The player state shared by the main thread (trigger, cancel) and the macro
// thread (play). Each pass works on a copy of the fields taken when it
// starts; a trigger replaces what the next pass uses.
class TextMacroPlayer {
 public:
  // Main thread, for a key with function code 58 (other keys: nothing).
  TriggerActions trigger(const KeyAssignment& key, int releaseFlag);
  // Main thread: the playback under way ends within a wait slice, without
  // typing more, and the playbacks queued behind it do not start.
  void cancel();
  // What a TM_PLAY_TEXT_MACRO posted now carries for play().
  uint32_t epoch() const { return epoch_.load(); }
  // Macro thread: one TM_PLAY_TEXT_MACRO, all its passes; nothing when a
  // cancel came after the message was posted with `epoch`.
  void play(MacroOutput& out, uint32_t epoch);

  bool playing() const { return playing_.load(); }
  bool stopRequested() const { return stop_.load(); }

 private:
  bool cancelled(uint32_t epoch) const { return epoch_.load() != epoch; }
  // Waits `ms` in slices; false when a cancel ended the wait.
  bool waitFor(MacroOutput& out, int64_t ms, uint32_t epoch);
  // Place, paste, wait for the read, give the clipboard back. False when
  // nothing was pasted.
  bool pasteText(const std::string& text, MacroOutput& out, uint32_t epoch);

  mutable std::mutex mutex_;
  TextMacroFields fields_;
  int32_t passCount_ = 0;
  int32_t lastReleaseFlag_ = 0;
  std::atomic<bool> playing_{false};
  std::atomic<bool> stop_{false};
  std::atomic<uint32_t> epoch_{0};
};

}  // namespace player
