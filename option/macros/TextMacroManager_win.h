#pragma once
// The text macro manager: a modal skinned dialog over the text macro library,
// in which the user names text macros, writes their text and delay and picks
// the keys pressed before and after the text. All editing goes through
// TextMacroManagerSession; this class wires the controls to it.

#include <optional>

#include "KeyboardHook_win.h"
#include "OptionHost_win.h"
#include "SkinDialog_win.h"
#include "TextMacroManagerRules.h"

class SkinListBox;

// The window text of the dialog.
constexpr const char* kTextMacroManagerTitle = "Text Macro Manager";

class TextMacroManagerDialog : public SkinDialog {
 public:
  explicit TextMacroManagerDialog(OptionHost& host);
  // True when the user closed it with OK.
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
  void showTextMacro();
  void showKeys();
  void setEditText(int key, const std::string& text);
  void startCapture(KeySlot slot);
  void endCapture();
  bool takeMouseButton(const MSG& msg);
  void editsChanged();
  void onNameAdded(int line);
  void onNameEdited(int line);
  // A name still being typed is taken before anything else happens. True
  // when a new line being named went again (refused or left empty).
  bool finishNaming();
  void deleteTextMacro();

  OptionHost& host_;
  TextMacroManagerSession session_;
  KeyCaptureOwner recorder_;
  bool showing_ = false;  // the edits are being filled in, not typed into
  // What the press of the current click ended, for its command: the capture
  // of this key (a second click on its button ends it, no more), or the
  // naming of a new line that then went (Delete has nothing left to do).
  std::optional<KeySlot> captureEndedBy_;
  bool newLineDropped_ = false;
};

// Runs the manager over the host's library, modal to `owner` (see
// RunMacroManager). OK moves the keys along the renames, stores the library
// and hands it to every key; otherwise the edits are dropped. Then the
// keyboard picture is refreshed and, with preview on, the change applied.
// After OK: the renames of the run; nothing after Cancel.
std::optional<RenameMap> RunTextMacroManager(OptionHost& host, HWND owner);
