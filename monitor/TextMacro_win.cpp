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

class SystemMacroOutput : public player::MacroOutput {
 public:
  void typeKey(uint8_t code) override {
    if (auto mouse = player::mouseEventsFor(code)) {
      for (const player::MouseEvent& event : *mouse) sendMouse(event);
      return;
    }
    const uint32_t vk = player::virtualKeyForCode(code, systemKeyboardLayout());
    if (vk == 0) return;
    keybd_event(static_cast<BYTE>(vk), 0, 0, 0);
    keybd_event(static_cast<BYTE>(vk), 0, KEYEVENTF_KEYUP, 0);
  }

  void wait(int ms) override {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
  }

  bool setClipboard(const std::string& text) override {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    bool placed = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
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
    keybd_event(player::kVkControl, 0, 0, 0);
    keybd_event(player::kVkV, 0, 0, 0);
    Sleep(player::kPasteHoldMs);
    keybd_event(player::kVkV, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(player::kVkControl, 0, KEYEVENTF_KEYUP, 0);
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
    mouse_event(flags, 0, 0, event.data, 0);
  }
};

}  // namespace

void CMonitorWnd::triggerTextMacro(int keyIndex, bool release) {
  if (keyIndex < 0 || keyIndex >= kKeyCount) return;
  const int profile = workingCopy_->currentProfile;
  if (profile < 0 || profile >= kProfileCount) return;
  const player::TriggerActions actions =
      textPlayer_.trigger(workingCopy_->profiles[profile].keys[keyIndex], release ? 1 : 0);
  for (const std::string& line : actions.traces) OutputDebugStringA(line.c_str());
  if (actions.post) PostThreadMessageA(macroThreadId_, TM_PLAY_TEXT_MACRO, 0, 0);
}

void CMonitorWnd::playTextMacro() {
  SystemMacroOutput output;
  textPlayer_.play(output);
}
