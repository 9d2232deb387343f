// The firmware check on downloadThread: a keyboard without the expected
// firmware gets the update offer, and the monitor closes either way.

// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <optional>
#include <string>

#include "MonitorWnd_win.h"

bool CMonitorWnd::runFirmwareCheck() {
  // A keyboard pulled out during the read gave no answer: that is no reason
  // to offer an update and close; its next arrival checks again.
  const std::optional<kbd::FirmwareVersion> version = readKeyboardVersion();
  if (!version) return false;
  firmware_ = *version;
  storeFirmware(firmware_);
  if (firmware_ == expectedFirmware_) return true;
  const int answer = MessageBoxA(hwnd_, "Please update F / W, otherwise the driver will not work properly.",
                                 "Update F / W", MB_OKCANCEL | MB_ICONEXCLAMATION);
  if (answer == IDOK) {
    const std::string updater = folder_ + "Update.exe";
    ShellExecuteA(nullptr, "open", updater.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  PostMessageA(hwnd_, WM_CLOSE, 0, 0);
  return false;
}

// The configuration window shows what the keyboard answered, not what was
// installed: FWVersion is major * 100 + minor.
void CMonitorWnd::storeFirmware(kbd::FirmwareVersion version) {
  writeFirmwareVersion(configIni_, kbd::firmwareNumber(version));
  tellOptionLink(true);
}
