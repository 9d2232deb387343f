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
  // No settings are sent at arrival: the keyboard keeps what it stored.
  PostThreadMessageA(downloadThreadId_, TM_DOWNLOAD, kDownloadFirmwareCheck, 0);
  addTrayIcon();
  writeDeviceState(kConnected);
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
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) PostMessageA(option, WM_CLOSE, 0, 0);
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
