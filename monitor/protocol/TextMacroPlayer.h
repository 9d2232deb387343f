#pragma once
// Text macro playback without the platform: the trigger rules of the four
// play modes, the passes of one playback, the clipboard rule, and the input
// that keys and mouse buttons turn into. The Win32 shell posts the thread
// message, emits the traces and synthesises the input.

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

constexpr char kSampleClipboardText[] = "This is a sample for the clipboard!";
constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkControl = 0x11;
constexpr uint32_t kVkMenu = 0x12;
constexpr uint32_t kVkV = 0x56;
constexpr int kPasteHoldMs = 30;  // between pressing and releasing Control+V

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
  virtual void wait(int ms) = 0;
  // False when the clipboard could not be opened.
  virtual bool setClipboard(const std::string& text) = 0;
  virtual uint32_t clipboardSequence() = 0;
  virtual void paste() = 0;  // Control+V as kVkControl, kVkV, kPasteHoldMs
  virtual void trace(const std::string& line) = 0;
};

// The player state shared by the main thread (trigger) and the macro thread
// (play). Each pass works on a copy of the fields taken when it starts; a
// trigger replaces what the next pass uses.
class TextMacroPlayer {
 public:
  // Main thread, for a key with function code 58 (other keys: nothing).
  TriggerActions trigger(const KeyAssignment& key, int releaseFlag);
  // Macro thread: one TM_PLAY_TEXT_MACRO, all its passes.
  void play(MacroOutput& out);

  bool playing() const { return playing_.load(); }
  bool stopRequested() const { return stop_.load(); }

 private:
  void placeText(const std::string& text, MacroOutput& out);

  mutable std::mutex mutex_;
  TextMacroFields fields_;
  int32_t passCount_ = 0;
  int32_t lastReleaseFlag_ = 0;
  std::atomic<bool> playing_{false};
  std::atomic<bool> stop_{false};

  // Macro thread only.
  std::string lastText_ = kSampleClipboardText;
  // False until the player has placed a text itself: the clipboard holds
  // whatever the user copied, never the sample.
  bool clipboardHoldsLast_ = false;
  std::optional<uint32_t> placedSequence_;
};

}  // namespace player
