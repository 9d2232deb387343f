// The keyboard: start-up open, version read, arrival, removal and the events
// that the keyboard reports.

// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "KeyEvent.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"

bool CMonitorWnd::openKeyboard() {
  if (!keyboard_.open(hwnd_, UM_KEYBOARD_EVENT, UM_DEVICE_CHANGE)) return false;
  startAppWatch();
  return true;
}

std::optional<kbd::FirmwareVersion> CMonitorWnd::readKeyboardVersion() {
  kbd::Command command = kbd::makeVersionCommand();
  if (!keyboard_.setFeature(command.data(), static_cast<int>(command.size()))) return std::nullopt;
  Sleep(kbd::kVersionReadPauseMs);
  kbd::Command answer = kbd::makeVersionCommand();
  if (!keyboard_.getFeature(answer.data(), static_cast<int>(answer.size()))) return std::nullopt;
  return kbd::parseFirmwareVersion(answer);
}

void CMonitorWnd::onDeviceChange(WPARAM change) {
  if (change == 1) {
    onArrival();
  } else if (change == 0) {
    onRemoval();
  }
}

void CMonitorWnd::onArrival() {
  if (connectionState_ == kConnected) return;
  connectionState_ = kConnected;
  keyboard_.reopenDevices();
  // The keyboard keeps what it stored; what was applied while it was away
  // follows the firmware check.
  PostThreadMessageA(downloadThreadId_, TM_DOWNLOAD, kDownloadFirmwareCheck, kSendPendingAfterCheck);
  addTrayIcon();
  writeDeviceState(kConnected);
  tellOptionLink(true);
  startAppWatch();
}

void CMonitorWnd::onRemoval() {
  if (connectionState_ == kRemoved) return;
  connectionState_ = kRemoved;
  endTextMacro();  // its key cannot be released any more
  keyboard_.closeDevices();
  removeTrayIcon();
  stopAppWatch();
  writeDeviceState(kRemoved);
  // The window stays with its edits and dialogs: a hiccup of the cable, a
  // switch box or sleep must not throw away what the user has not applied.
  tellOptionLink(false);
}

void CMonitorWnd::onKeyboardEvent(WPARAM wParam, LPARAM lParam) {
  const KeyAction action = keyActionFor(decodeKeyEvent(wParam, lParam), *workingCopy_);
  switch (action.kind) {
    case KeyActionKind::Launch:
      launchProgram(action.keyIndex);
      break;
    case KeyActionKind::TextMacro:
      triggerTextMacro(action.keyIndex, action.released);
      break;
    case KeyActionKind::None:
      break;
  }
}

// triggerTextMacro: TextMacro_win.cpp. appWatchTick: AppWatcher_win.cpp.
