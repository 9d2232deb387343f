// Text macros: the trigger on the main thread and the playback on
// macroThread, which types through synthesised input and the clipboard.

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "Clipboard_win.h"
#include "KeyboardLayout_win.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"
#include "ProfileFiles.h"
#include "TextMacroPlayer.h"

namespace {

// Sends one key change with the scan code the system gives the virtual key.
void sendKey(uint32_t vk, DWORD flags) {
  const BYTE scan = static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  keybd_event(static_cast<BYTE>(vk), scan, flags, 0);
}

class SystemMacroOutput : public player::MacroOutput {
 public:
  // The clipboard is opened for `owner`: opened for no window, EmptyClipboard
  // leaves it without an owner and SetClipboardData then fails. The owner
  // also renders the text when the paste reads it.
  SystemMacroOutput(HWND owner, PastedText& pasted) : owner_(owner), pasted_(pasted) {}

  void typeKey(uint8_t code) override {
    if (auto mouse = player::mouseEventsFor(code)) {
      for (const player::MouseEvent& event : *mouse) sendMouse(event);
      return;
    }
    const uint32_t vk = player::virtualKeyForCode(code, systemKeyboardLayout());
    if (vk == 0) return;
    sendKey(vk, 0);
    sendKey(vk, KEYEVENTF_KEYUP);
  }

  void wait(int ms) override {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
  }
  uint64_t nowMs() override { return GetTickCount64(); }

  bool placeText(const std::string& text) override {
    if (!openClipboardFor(owner_, kPlaceOpenMs)) return false;
    saved_.take();
    const bool emptied = EmptyClipboard() != FALSE;
    if (emptied) pasted_.offer(text);
    CloseClipboard();
    if (!emptied) saved_.clear();
    return emptied;
  }

  bool textTaken() override { return pasted_.taken(); }

  void restoreClipboard() override {
    // Opened first: a reader holds the clipboard open while it reads, and
    // must still get the text.
    const bool opened = openClipboardFor(owner_, kRestoreOpenMs);
    pasted_.withdraw();
    if (!opened) {
      saved_.clear();
      OutputDebugStringA("TextMacro clipboard not given back: held by another program\n");
      return;
    }
    // Still ours: nobody copied something else since, which would be the
    // user's newer wish.
    if (GetClipboardOwner() == owner_ && EmptyClipboard()) saved_.put();
    CloseClipboard();
    saved_.clear();
  }

  void paste() override {
    sendKey(player::kVkControl, KEYEVENTF_EXTENDEDKEY);
    sendKey(player::kVkV, KEYEVENTF_EXTENDEDKEY);
    Sleep(player::kPasteHoldMs);
    sendKey(player::kVkV, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
    sendKey(player::kVkControl, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
  }

  void trace(const std::string& line) override { OutputDebugStringA(line.c_str()); }

 private:
  static void sendMouse(const player::MouseEvent& event) {
    DWORD flags = 0;
    switch (event.action) {
      case player::MouseAction::LeftDown: flags = MOUSEEVENTF_LEFTDOWN; break;
      case player::MouseAction::LeftUp: flags = MOUSEEVENTF_LEFTUP; break;
      case player::MouseAction::RightDown: flags = MOUSEEVENTF_RIGHTDOWN; break;
      case player::MouseAction::RightUp: flags = MOUSEEVENTF_RIGHTUP; break;
      case player::MouseAction::MiddleDown: flags = MOUSEEVENTF_MIDDLEDOWN; break;
      case player::MouseAction::MiddleUp: flags = MOUSEEVENTF_MIDDLEUP; break;
      case player::MouseAction::XDown: flags = MOUSEEVENTF_XDOWN; break;
      case player::MouseAction::XUp: flags = MOUSEEVENTF_XUP; break;
    }
    mouse_event(flags, 0, 0, event.data, GetMessageExtraInfo());
  }

  // A paste holds the clipboard only briefly; the user's contents must come back.
  static constexpr DWORD kPlaceOpenMs = 200;
  static constexpr DWORD kRestoreOpenMs = 1000;

  HWND owner_;
  PastedText& pasted_;
  SavedClipboard saved_;
};

}  // namespace

void CMonitorWnd::triggerTextMacro(int keyIndex, bool release) {
  if (keyIndex < 0 || keyIndex >= kKeyCount) return;
  const int profile = workingCopy_->currentProfile;
  if (profile < 0 || profile >= kProfileCount) return;
  // Played only in the ranges the key editor offers, whatever the working
  // copy was given.
  auto key = std::make_unique<KeyAssignment>(workingCopy_->profiles[profile].keys[keyIndex]);
  sanitizeKey(*key, keyIndex);
  const player::TriggerActions actions = textPlayer_.trigger(*key, release ? 1 : 0);
  for (const std::string& line : actions.traces) OutputDebugStringA(line.c_str());
  if (actions.post && startMacroThread())
    PostThreadMessageA(macroThreadId_, TM_PLAY_TEXT_MACRO, textPlayer_.epoch(), 0);
}

void CMonitorWnd::endTextMacro() { textPlayer_.cancel(); }

void CMonitorWnd::playTextMacro(uint32_t epoch) {
  SystemMacroOutput output(hwnd_, pastedText_);
  textPlayer_.play(output, epoch);
}
