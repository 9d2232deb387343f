// The tray icon and its menu, and the requests that come from Option.

// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstring>
#include <string>

#include "Language.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"
#include "TrayText.h"

namespace {

void bringToFront(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  SetActiveWindow(window);
}

// Profile names and language texts are in the system's code page.
std::wstring wide(const std::string& text) {
  if (text.empty()) return {};
  std::wstring out(text.size(), L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), int(out.size()));
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

std::wstring profileName(const SettingsImage& image, int profile) {
  const ProfileRecord& record = image.profiles[profile];
  return wide(std::string(record.profileName, strnlen(record.profileName, sizeof record.profileName)));
}

template <size_t N>
void copyInto(wchar_t (&field)[N], const std::wstring& text) {
  lstrcpynW(field, text.c_str(), int(N));
}

// Whether the user is in a full-screen game, a presentation or quiet hours;
// 0 where the shell cannot say.
int userNotificationState() {
  using Query = HRESULT(WINAPI*)(int*);
  HMODULE shell = GetModuleHandleA("shell32.dll");
  auto query = shell ? reinterpret_cast<Query>(
                           reinterpret_cast<void*>(GetProcAddress(shell, "SHQueryUserNotificationState")))
                     : nullptr;
  int state = 0;
  if (!query || FAILED(query(&state))) return 0;
  return state;
}

NOTIFYICONDATAW iconData(HWND window) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = window;
  data.uID = kTrayIconId;
  return data;
}

}  // namespace

void CMonitorWnd::addTrayIcon() {
  if (trayShown_) return;
  NOTIFYICONDATAW data = iconData(hwnd_);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = UM_TRAY_NOTIFY;
  // The program file's own icon at the small shell size, as the shell shows
  // the file; read from our resources, which every system does alike.
  data.hIcon =
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!data.hIcon) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(exe, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON)) data.hIcon = info.hIcon;
  }
  shownTip_ = trayTip();
  copyInto(data.szTip, shownTip_);
  trayShown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  if (data.hIcon) DestroyIcon(data.hIcon);  // the shell keeps its own copy
  if (trayShown_) traceTray(L"NIM_ADD " + shownTip_);
}

void CMonitorWnd::removeTrayIcon() {
  if (!trayShown_) return;
  NOTIFYICONDATAW data = iconData(hwnd_);
  Shell_NotifyIconW(NIM_DELETE, &data);
  trayShown_ = false;
  traceTray(L"NIM_DELETE");
}

// The Part's tip text and the active profile's name.
std::wstring CMonitorWnd::trayTip() const {
  const int p = workingCopy_->currentProfile;
  const std::wstring name = p >= 0 && p < kProfileCount ? profileName(*workingCopy_, p) : std::wstring();
  return tray::tipWithProfile(wide(language_.text(IDS_TRAY_TIP)), name,
                              sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t));
}

// At every switch, whoever made it, and after every apply (a profile may
// have been renamed).
void CMonitorWnd::updateTrayTip() {
  if (!trayShown_) return;
  const std::wstring tip = trayTip();
  if (tip == shownTip_) return;
  NOTIFYICONDATAW data = iconData(hwnd_);
  data.uFlags = NIF_TIP;
  copyInto(data.szTip, tip);
  if (!Shell_NotifyIconW(NIM_MODIFY, &data)) return;
  shownTip_ = tip;
  traceTray(L"NIM_MODIFY " + tip);
}

// A switch the user did not make: a short, quiet word from the tray, unless
// SwitchNotice turns it off or the user is in a full-screen game.
void CMonitorWnd::showSwitchNotice(int profile) {
  if (!trayShown_ || profile < 0 || profile >= kProfileCount) return;
  if (!tray::noticeAllowed(readSwitchNotice(folder_), userNotificationState())) return;
  const std::wstring text = tray::switchNotice(profileName(*workingCopy_, profile), profile);
  NOTIFYICONDATAW data = iconData(hwnd_);
  data.uFlags = NIF_INFO;
  copyInto(data.szInfo, text);
  copyInto(data.szInfoTitle, wide(language_.text(IDS_TRAY_TIP)));
  data.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
  if (Shell_NotifyIconW(NIM_MODIFY, &data)) traceTray(L"NOTICE " + text);
}

void CMonitorWnd::traceTray(const std::wstring& line) const {
  if (trayTrace_.empty()) return;
  std::string utf8(line.size() * 4 + 2, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, line.data(), int(line.size()), utf8.data(), int(utf8.size()),
                                    nullptr, nullptr);
  utf8.resize(n > 0 ? size_t(n) : 0);
  utf8 += "\r\n";
  UniqueFileHandle file(CreateFileA(trayTrace_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), utf8.data(), DWORD(utf8.size()), &written, nullptr);
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
  // The five profiles by name, the active one marked; a click is the path
  // of "Monitor.exe --profile N".
  for (int p = 0; p < kProfileCount; ++p)
    AppendMenuW(menu, MF_STRING, ID_TRAY_PROFILE_FIRST + p,
                tray::menuEntry(profileName(*workingCopy_, p), p).c_str());
  const int active = workingCopy_->currentProfile;
  if (active >= 0 && active < kProfileCount)
    CheckMenuRadioItem(menu, ID_TRAY_PROFILE_FIRST, ID_TRAY_PROFILE_FIRST + kProfileCount - 1,
                       ID_TRAY_PROFILE_FIRST + active, MF_BYCOMMAND);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
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

void CMonitorWnd::onApplyAllSetting(WPARAM applyKind, LPARAM applyId) {
  onReload();
  if (connectionState_ == kConnected &&
      PostThreadMessageA(downloadThreadId_, TM_DOWNLOAD, kDownloadChanged, applyId)) {
    return;  // downloadThread answers when it is done
  }
  // Stored: its change flags wait in the working copy for the keyboard.
  (void)applyKind;
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) {
    PostMessageA(option, UM_APPLY_DONE, WPARAM(applyId), kApplyStored);
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
  // A profile made active in Option is chosen by hand: it stays.
  if (received->currentProfile != workingCopy_->currentProfile) desktopRule_.chosenByHand();
  // downloadThread reads the working copy under the same mutex (locked above).
  kbd::keepPendingFlags(*workingCopy_, *received);
  *workingCopy_ = *received;
  ReleaseMutex(settingsMutex_.get());
  updateTrayTip();
  linksMayHaveChanged();
}
