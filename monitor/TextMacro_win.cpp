// Text macros: the trigger on the main thread and the playback on
// macroThread, which types through synthesised input and the clipboard.

#include <windows.h>

#include <cstring>
#include <string>

#include "KeyboardLayout_win.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"
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
  // leaves it without an owner and SetClipboardData then fails.
  explicit SystemMacroOutput(HWND owner) : owner_(owner) {}

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

  bool setClipboard(const std::string& text) override {
    if (!OpenClipboard(owner_)) return false;
    EmptyClipboard();
    bool placed = false;
    // Room for the text twice over and a wide zero, zero-filled: a reader
    // that takes it for wide text still finds its end inside the block.
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, 2 * text.size() + 2)) {
      if (void* target = GlobalLock(memory)) {
        std::memcpy(target, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_TEXT, memory) != nullptr;
      }
      if (!placed) GlobalFree(memory);  // the clipboard owns it only on success
    }
    CloseClipboard();
    return placed;
  }

  uint32_t clipboardSequence() override { return GetClipboardSequenceNumber(); }

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

  HWND owner_;
};

}  // namespace

void CMonitorWnd::triggerTextMacro(int keyIndex, bool release) {
  if (keyIndex < 0 || keyIndex >= kKeyCount) return;
  const int profile = workingCopy_->currentProfile;
  if (profile < 0 || profile >= kProfileCount) return;
  const player::TriggerActions actions =
      textPlayer_.trigger(workingCopy_->profiles[profile].keys[keyIndex], release ? 1 : 0);
  for (const std::string& line : actions.traces) OutputDebugStringA(line.c_str());
  if (actions.post && startMacroThread())
    PostThreadMessageA(macroThreadId_, TM_PLAY_TEXT_MACRO, 0, 0);
}

void CMonitorWnd::playTextMacro() {
  SystemMacroOutput output(hwnd_);
  textPlayer_.play(output);
}
