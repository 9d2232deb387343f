#pragma once
// The macro manager's editing state over the library for one modal run: the
// current macro and its working copy of steps (written back after every
// edit), recording, the step menu's edits and the repeat option. The window
// turns each click or message into one call and redraws from the getters.

#include <optional>
#include <string_view>

#include "KeyCodes.h"
#include "LibraryRenames.h"
#include "ListFiles.h"
#include "MacroNameRules.h"
#include "MacroSteps.h"
#include "RecordingRules.h"
#include "StepListRules.h"

enum class ManagerStatus {
  Done,
  Unchanged,  // the edit had nothing to act on
  NoMacro,    // show the "no macro" warning, nothing else
  Full,       // 40 steps: nothing recorded
};

class MacroManagerSession {
 public:
  explicit MacroManagerSession(MacroLibrary& library) : library_(library), trail_(namesOf(library)) {}

  // Selects the edited key's macro, or the first one.
  void open(const KeyAssignment& editedKey);
  // Loads macro `index`; -1 (or any index outside the library) for none.
  // Ends a running recording (the window stops the recorder).
  void select(int index);
  int current() const { return current_; }
  const MacroSteps& steps() const { return steps_; }
  RepeatView repeat() const { return repeat_; }
  // The line the step list's caret goes to after this change.
  int changedLine() const;

  // Name list. Each returns the line to select, whose macro is then the
  // current one; the window removes a refused new line or shows the old name
  // again on a refused rename.
  struct NameResult {
    bool accepted = false;
    int select = -1;
  };
  NameResult commitNewLine(std::string_view typed);
  NameResult commitRename(int line, std::string_view typed);
  // After the warning dialog's OK.
  int deleteCurrent();
  // Old name -> new name of every macro renamed in this run, for the keys.
  RenameMap renames() const { return trail_.renames(namesOf(library_)); }

  void setRepeatOn(bool on);
  // When the count field is left, and on OK: an empty field reads as 0.
  ClampedNumber setRepeatCountText(std::string_view typed);
  // While the user types: an emptied field is left alone, so that a new
  // number can be typed into it; nothing is stored then.
  std::optional<ClampedNumber> repeatCountTyped(std::string_view typed);

  void setRecordDelays(bool on) { recordDelays_ = on; }
  bool recordDelays() const { return recordDelays_; }
  bool recording() const { return recordingOn_; }
  // The Record button; the step menu's record entries insert around `selected`.
  ManagerStatus startRecording();
  ManagerStatus startRecordingBefore(StepLineRef selected);
  ManagerStatus startRecordingAfter(StepLineRef selected);
  // Full: the 40th step is in, recording has stopped, the recorder must go.
  RecordOutcome onHookKey(const HookEvent& event, const KeyboardLayout& layout);
  void stopRecording();

  // The first macro named in this run that has no steps yet: it would play
  // nothing, so OK does not store it. -1 when there is none.
  int emptyNewMacro() const;

  bool stepMenuOpens() const { return !recordingOn_; }
  // Commands 1003, 1005 and 1020..1034; the record entries and 1004 open
  // something first and have their own calls.
  ManagerStatus runStepCommand(int command, StepLineRef selected);
  // The delay editor of 1004 committed `typed` over `delayLine`.
  ManagerStatus commitDelayEdit(StepLineRef delayLine, std::string_view typed, ClampedNumber* shown);

 private:
  MacroRecord* record();
  void writeBack();
  ManagerStatus beginRecording(Recording rec);

  MacroLibrary& library_;
  NameTrail trail_;
  int current_ = -1;
  MacroSteps steps_;
  RepeatView repeat_;
  bool recordDelays_ = false;  // off whenever the dialog opens
  bool recordingOn_ = false;
  Recording recording_;
  int changedStep_ = -1;
  bool changedDelay_ = false;
};
