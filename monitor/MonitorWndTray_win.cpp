// The tray icon and its menu, and the requests that come from Option.

// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "Language.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"

namespace {

void bringToFront(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  SetActiveWindow(window);
}

}  // namespace

void CMonitorWnd::addTrayIcon() {
  if (trayShown_) return;
  NOTIFYICONDATAA data = {};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = UM_TRAY_NOTIFY;
  // The program file's own icon at the small shell size, as the shell shows
  // the file; read from our resources, which every system does alike.
  data.hIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!data.hIcon) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(exe, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON)) data.hIcon = info.hIcon;
  }
  lstrcpynA(data.szTip, language_.text(IDS_TRAY_TIP).c_str(), sizeof(data.szTip));
  trayShown_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
  if (data.hIcon) DestroyIcon(data.hIcon);  // the shell keeps its own copy
}

void CMonitorWnd::removeTrayIcon() {
  if (!trayShown_) return;
  NOTIFYICONDATAA data = {};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &data);
  trayShown_ = false;
}

void CMonitorWnd::onSystrayNotify(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
      bringToFront(GetLastActivePopup(hwnd_));
      break;
    case WM_LBUTTONDBLCLK:
      OutputDebugStringA("OnSystrayNotify WM_LBUTTONDBLCLK");
      onCustomizer();
      break;
    case WM_RBUTTONDOWN:
      showTrayMenu();
      break;
    default:
      break;
  }
}

void CMonitorWnd::showTrayMenu() {
  // The menu only closes on an outside click when its owner is in front.
  SetForegroundWindow(GetLastActivePopup(hwnd_));
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  AppendMenuA(menu, MF_STRING, ID_TRAY_OPEN, language_.text(IDS_TRAY_OPEN).c_str());
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, ID_TRAY_EXIT, language_.text(IDS_TRAY_EXIT).c_str());
  SetMenuDefaultItem(menu, ID_TRAY_OPEN, FALSE);
  POINT cursor = {};
  GetCursorPos(&cursor);
  TrackPopupMenu(menu, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, hwnd_, nullptr);
  PostMessageA(hwnd_, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void CMonitorWnd::onCustomizer() {
  OutputDebugStringA("CMonitorWnd OnCustomizer\n");
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) {
    OutputDebugStringA("CMonitorWnd OnCustomizer hWnd!=NULL\n");
    bringToFront(option);
    return;
  }
  OutputDebugStringA("CMonitorWnd OnCustomizer hWnd==NULL\n");
  std::string program = folder_ + kOptionProgram;
  ShellExecuteA(nullptr, "open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CMonitorWnd::onApplyAllSetting(WPARAM applyKind) {
  onReload();
  if (connectionState_ == kConnected &&
      PostThreadMessageA(downloadThreadId_, TM_DOWNLOAD, kDownloadChanged, static_cast<LPARAM>(applyKind))) {
    return;  // downloadThread answers when it is done
  }
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) {
    PostMessageA(option, UM_APPLY_DONE, 0, 0);
    OutputDebugStringA("OnApplyAllSetting  Send Enable OK/Apply Button\n");
  } else {
    OutputDebugStringA("OnApplyAllSetting Don't find Merrow Option Dialog\n");
  }
}

void CMonitorWnd::onReload() {
  // Without a shared block the working copy stays as it is.
  if (!sharedBlock_.isOpen()) return;
  auto received = std::make_unique<SettingsImage>();
  // A block held past the time-out is taken at the next apply.
  if (!sharedBlock_.copyFromBlock(*received) || !lockSettings()) {
    OutputDebugStringA("CMonitorWnd OnReload failed: the settings are held\n");
    return;
  }
  sanitizeImage(*received);
  // downloadThread reads the working copy under the same mutex (locked above).
  kbd::keepPendingFlags(*workingCopy_, *received);
  *workingCopy_ = *received;
  ReleaseMutex(settingsMutex_.get());
  linksMayHaveChanged();
}
