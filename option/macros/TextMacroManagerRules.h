#pragma once
// The text macro manager's editing state over its library for one modal run:
// the current text macro, its fields as the edits change them, and the
// capture of the key before or after the text.

#include <optional>
#include <string>
#include <string_view>

#include "KeyCodes.h"
#include "ListFiles.h"
#include "MacroNameRules.h"
#include "RecordingRules.h"

enum class KeySlot { Before, After };

class TextMacroManagerSession {
 public:
  explicit TextMacroManagerSession(TextMacroLibrary& library) : library_(library) {}

  // The first text macro, or none.
  void open() { select(library_.empty() ? -1 : 0); }
  // Also ends a running capture.
  void select(int index);
  int current() const { return current_; }

  // What the controls show. Without a current text macro the text is empty
  // and the delay keeps its last value.
  std::string delayText() const { return numberText(delayShown_); }
  std::string_view text() const;
  std::string keyButtonText(KeySlot slot, const KeyboardLayout& layout) const;

  struct NameResult {
    bool accepted = false;
    int select = -1;
  };
  NameResult commitNewLine(std::string_view typed);
  NameResult commitRename(std::string_view typed);
  int deleteCurrent();

  // After every change of either edit: both stored at once; a clamped delay
  // must be written back into its edit.
  ClampedNumber editsChanged(std::string_view delayTyped, std::string_view text);

  // Capture of one key; false when no text macro is current or one runs.
  bool startCapture(KeySlot slot);
  std::optional<KeySlot> capturing() const { return capturing_; }
  // True when the event ended the capture (the recorder must stop).
  bool onHookKey(const HookEvent& event, const KeyboardLayout& layout);
  // A mouse button pressed inside the dialog while capturing; true when it
  // was taken (and must reach no control).
  bool onMouseButton(MouseButton button);
  void stopCapture() { capturing_.reset(); }
  bool clearKey(KeySlot slot);

 private:
  TextMacroRecord* record();
  const TextMacroRecord* record() const;
  void store(uint8_t code);

  TextMacroLibrary& library_;
  int current_ = -1;
  int delayShown_ = 0;
  std::optional<KeySlot> capturing_;
};
