#pragma once
// The text macro manager's editing state over its library for one modal run:
// the current text macro, its fields as the edits change them, and the
// capture of the key before or after the text.

#include <optional>
#include <string>
#include <string_view>

#include "KeyCodes.h"
#include "LibraryRenames.h"
#include "ListFiles.h"
#include "MacroNameRules.h"
#include "RecordingRules.h"

enum class KeySlot { Before, After };

// How an event of a running key capture ends it.
enum class CaptureEnd {
  None,       // the capture goes on
  Stored,     // the key or mouse button is the record's now
  Abandoned,  // ended without storing anything
};
// Where a mouse button was pressed in the dialog: on one of its controls (a
// click the control acts on) or on the dialog's own surface.
enum class ClickPlace { Control, Surface };

class TextMacroManagerSession {
 public:
  explicit TextMacroManagerSession(TextMacroLibrary& library) : library_(library), trail_(namesOf(library)) {}

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
  // The renamed line's text macro becomes the current one.
  NameResult commitRename(int line, std::string_view typed);
  int deleteCurrent();
  // Old name -> new name of every text macro renamed in this run, for the keys.
  RenameMap renames() const { return trail_.renames(namesOf(library_)); }

  // After every change of either edit: both stored at once; a clamped delay
  // must be written back into its edit.
  ClampedNumber editsChanged(std::string_view delayTyped, std::string_view text);

  // Capture of one key; false when no text macro is current or one runs.
  bool startCapture(KeySlot slot);
  std::optional<KeySlot> capturing() const { return capturing_; }
  // Anything but None ends the capture (the recorder must stop). The first
  // key pressed is stored; Escape gives up instead.
  CaptureEnd onHookKey(const HookEvent& event, const KeyboardLayout& layout);
  // A mouse button pressed inside the dialog while capturing. Stored is taken
  // as the key and must reach no control; a left click on a control is the
  // user doing something else (Clear, OK, another line, this button again)
  // and gives the capture up, the click going on to that control.
  CaptureEnd onMouseButton(MouseButton button, ClickPlace place);
  void stopCapture() { capturing_.reset(); }
  bool clearKey(KeySlot slot);

 private:
  TextMacroRecord* record();
  const TextMacroRecord* record() const;
  void store(uint8_t code);

  TextMacroLibrary& library_;
  NameTrail trail_;
  int current_ = -1;
  int delayShown_ = 0;
  std::optional<KeySlot> capturing_;
};
