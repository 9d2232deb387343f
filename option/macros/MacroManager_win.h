#pragma once
// The macro manager: a modal skinned dialog over the macro library, in which
// the user names macros, records their steps from the keyboard and edits them
// with the step list's menu. All editing goes through MacroManagerSession;
// this class turns clicks, hook events and list notifications into its calls
// and redraws from it.

#include <optional>
#include <string>

#include "KeyboardHook_win.h"
#include "MacroManagerRules.h"
#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class SkinListBox;

class MacroManagerDialog : public SkinDialog {
 public:
  MacroManagerDialog(OptionHost& host, const KeyAssignment& editedKey);
  // True when the user closed it with OK. The library holds the edits of this
  // run either way; RunMacroManager decides what becomes of them.
  bool open(HWND owner);
  RenameMap renames() const { return session_.renames(); }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onInit() override;
  void onCommand(int id, int code, HWND control) override;
  bool preTranslate(MSG& msg) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onDestroyed() override;

 private:
  SkinListBox* names() const;
  SkinListBox* stepList() const;
  void showMacro();
  void showSteps();
  void showRepeat();
  StepLineRef selectedStep() const;
  void clickRecord();
  void beginRecording(ManagerStatus status);
  void endRecording();
  void setRecordingLook(bool recording);
  void onHookKey(WPARAM virtualKey, LPARAM flags);
  // At the mouse, or (from the keyboard) under the selected step.
  void openStepMenu(bool fromKeyboard = false);
  void runStepCommand(int command);
  void newMacro();
  void deleteMacro();
  bool refuseEmptyMacro();
  void onNameAdded(int line);
  void onNameEdited(int line);
  void onDelayEdited(int line);
  // Whatever is still being typed is taken before anything else happens.
  // True when a new line being named went again (refused or left empty).
  bool finishNaming();
  void finishDelayEdit();
  void repeatTyped();
  void finishRepeatCount();

  OptionHost& host_;
  KeyAssignment editedKey_;
  MacroManagerSession session_;
  KeyCaptureOwner recorder_;
  bool editOnEnterRelease_ = false;
  // The press of the current click dropped a new line being named: Delete
  // has nothing more to do then.
  bool newLineDropped_ = false;
};

// Runs the manager over the host's library, modal to `owner` (the window it
// was opened from: the main window or the key assignment page). OK moves the
// keys along the renames, stores the library and hands it to every key;
// otherwise the edits are dropped. Then the keyboard picture is refreshed and,
// with preview on, the change applied. After OK: the renames of the run, for
// a copy of a key that the image does not hold; nothing after Cancel.
std::optional<RenameMap> RunMacroManager(OptionHost& host, HWND owner, const KeyAssignment& editedKey);
