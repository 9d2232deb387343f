#include "MonitorWnd_win.h"

#include <commctrl.h>
#include <objbase.h>

#include <chrono>

#include "KeyboardIdentity.h"
#include "MonitorMessages.h"
#include "OsdPayload.h"
#include "ProgramFolder_win.h"
#include "SystemLibraries_win.h"

CMonitorWnd::CMonitorWnd(bool openOptionAtStart)
    : openOptionAtStart_(openOptionAtStart), workingCopy_(std::make_unique<SettingsImage>()) {}

CMonitorWnd::~CMonitorWnd() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool CMonitorWnd::create(HINSTANCE instance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kMonitorWindowClass;
  RegisterClassExA(&wc);
  // Hidden pop-up, never shown: only the tray icon is visible.
  return CreateWindowExA(0, kMonitorWindowClass, kMonitorWindowTitle, WS_POPUP, 100, 100, 100, 100, nullptr,
                         nullptr, instance, this) != nullptr;
}

LRESULT CALLBACK CMonitorWnd::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<CMonitorWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<CMonitorWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = self->onMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

LRESULT CMonitorWnd::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return onCreate() ? 0 : -1;
    case WM_DESTROY:
      onDestroy();
      PostQuitMessage(0);
      return 0;
    case WM_TIMER:
      onTimer(wParam);
      return 0;
    case WM_COPYDATA:
      return onCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_RENDERFORMAT:
      pastedText_.render(UINT(wParam));  // a paste reads a text macro's text
      return 0;
    case UM_APPLY:
      onApplyAllSetting(wParam, lParam);
      return 0;
    case UM_RELOAD:
    case UM_RELOAD_ALT:
      onReload();
      return 0;
    case UM_IGNORED:
      return 0;
    case UM_TRAY_NOTIFY:
      if (wParam == kTrayIconId) onSystrayNotify(lParam);
      return 0;
    case WM_COMMAND:
      if (const unsigned command = LOWORD(wParam);
          command >= ID_TRAY_PROFILE_FIRST && command < ID_TRAY_PROFILE_FIRST + unsigned(kProfileCount)) {
        onSelectProfile(command - ID_TRAY_PROFILE_FIRST);
      } else if (LOWORD(wParam) == ID_TRAY_OPEN) {
        onCustomizer();
      } else if (LOWORD(wParam) == ID_TRAY_EXIT) {
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
      }
      return 0;
    case UM_KEYBOARD_EVENT:
      onKeyboardEvent(wParam, lParam);
      return 0;
    case UM_DEVICE_CHANGE:
      onDeviceChange(wParam);
      return 0;
    case UM_SELECT_PROFILE:
      return onSelectProfile(wParam);
    default:
      // The shell restarted: its tray forgot our icon.
      if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
        if (trayShown_) {
          trayShown_ = false;
          addTrayIcon();
        }
        return 0;
      }
      return DefWindowProcA(hwnd_, message, wParam, lParam);
  }
}

// Loaded here rather than imported: a common-controls library loaded with
// the program registers its window classes before the program's first line,
// and the first classes of a session wait for the desktop to start (a quarter
// of a second under Wine), all before the keyboard's pause could begin.
void CMonitorWnd::initCommonControls() {
  commonControls_.reset(LoadSystemLibrary("comctl32.dll"));
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = commonControls_ ? reinterpret_cast<Init>(reinterpret_cast<void*>(
                                    GetProcAddress(commonControls_.get(), "InitCommonControlsEx")))
                              : nullptr;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  if (init) init(&controls);
}

void CMonitorWnd::bindKeyboard() {
  folder_ = programFolder();
  keyboard_.bind(folder_);  // a missing library leaves the keyboard absent
  keyboard_.setIdentity(kKeyboardVendorId, kKeyboardProductId);
  identitySet_ = std::chrono::steady_clock::now();
}

bool CMonitorWnd::onCreate() {
  initCommonControls();
  taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
  char trace[MAX_PATH] = {};
  if (GetEnvironmentVariableA(kTrayTraceVariable, trace, sizeof trace) < sizeof trace) trayTrace_ = trace;

  if (folder_.empty()) bindKeyboard();
  language_.load(folder_);
  configIni_ = configIniPath(folder_);

  expectedFirmware_ = kbd::kExpectedFirmware;

  loadSettings();
  readOsdSettings(osdSettings_, folder_);

  // Only one monitor gets this far (the instance mutex), so an existing
  // settings mutex of our own is held by a configuration program that
  // outlived the monitor before us: we take it and the block over and serve
  // them. One that another account made is not ours to guard the settings.
  bool takeOver = false;
  settingsMutex_ = createSettingsMutex(takeOver);
  if (!settingsMutex_) {
    OutputDebugStringA("CMonitorWnd settings mutex not the user's own: not started\n");
    return false;
  }

  clearChangeFlags(*workingCopy_);
  keySlots_ = kbd::defaultKeySlotTable;

  if (sharedBlock_.create() && sharedBlock_.copyToBlock(*workingCopy_) && takeOver) {
    // The block now holds our working copy, which every download sends; the
    // configuration program must edit that, not the image it kept.
    if (HWND option = FindWindowA(nullptr, kOptionWindowTitle))
      PostMessageA(option, UM_RELOAD_SETTINGS, 0, 0);
  }

  if (!startThreads()) return false;

  SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);

  // The pause since the identity (bindKeyboard), which the start-up above ran in.
  const auto pause = std::chrono::milliseconds(kOpenPauseMs);
  for (auto waited = std::chrono::steady_clock::now() - identitySet_; waited < pause;
       waited = std::chrono::steady_clock::now() - identitySet_)
    Sleep(DWORD(std::chrono::ceil<std::chrono::milliseconds>(pause - waited).count()));

  if (!openKeyboard()) {
    connectionState_ = kNotConnected;
  } else {
    const std::optional<kbd::FirmwareVersion> version = readKeyboardVersion();
    firmware_ = version.value_or(kbd::FirmwareVersion{});
    if (version) storeFirmware(*version);
    SetTimer(hwnd_, TIMER_FW_CHECK, kFirmwareCheckDelayMs, nullptr);
    // Another firmware counts as connected too: the check that the timer
    // requests then shows the update warning at once, as after a plug-in.
    addTrayIcon();
    if (openOptionAtStart_) onCustomizer();
    connectionState_ = kConnected;
  }
  writeDeviceState(connectionState_);
  return true;
}

void CMonitorWnd::onDestroy() {
  // Nothing more is typed from here on.
  endTextMacro();
  stopAppWatch();
  KillTimer(hwnd_, TIMER_FW_CHECK);

  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) PostMessageA(option, WM_CLOSE, 0, 0);
  if (HWND osdWindow = FindWindowA(nullptr, kOsdWindowTitle)) PostMessageA(osdWindow, WM_CLOSE, 0, 0);

  if (downloadThread_) {
    stopDownloadThread();
    // The keyboard's pause after the last report it was sent; an exit long
    // after it need not wait again.
    const uint64_t since = GetTickCount64() - lastRequestEnded_;
    if (since < kShutdownPauseMs) Sleep(DWORD(kShutdownPauseMs - since));
  }

  keyboard_.closeAll();
  keyboard_.unbind();

  stopMacroThread();

  CoUninitialize();
  sharedBlock_.close();
  settingsMutex_.reset();

  removeTrayIcon();
  language_.unload();
  // A playback stuck in another program's clipboard still uses this window's
  // state: end here, before that state goes.
  if (macroThreadStuck_) ExitProcess(0);
}

void CMonitorWnd::onTimer(UINT_PTR id) {
  if (id == TIMER_APP_WATCH || id == TIMER_APP_RELINK) {
    appWatchTick(id);
  } else if (id == TIMER_DESKTOP_PROFILE) {
    KillTimer(hwnd_, TIMER_DESKTOP_PROFILE);
    takeDesktopStep(
        desktopRule_.due(workingCopy_->currentProfile, workingCopy_->desktopProfile, GetTickCount()),
        SwitchCause::Desktop);
  } else if (id == TIMER_FW_CHECK) {
    KillTimer(hwnd_, TIMER_FW_CHECK);
    PostThreadMessageA(downloadThreadId_, TM_DOWNLOAD, kDownloadFirmwareCheck, 0);
  }
}

BOOL CMonitorWnd::onCopyData(const COPYDATASTRUCT* data) {
  if (!data || data->dwData != osd::kOsdDataId) return TRUE;
  std::optional<std::string> text = osd::parseOsdPayload(data->lpData, data->cbData);
  if (!text) return TRUE;
  writeOsdMessage(configIni_, *text);
  HWND osdWindow = FindWindowA(nullptr, kOsdWindowTitle);
  if (osdWindow && connectionState_ == kConnected) PostMessageA(osdWindow, UM_OSD_SHOW, kOsdShowParam, 0);
  return TRUE;
}

void CMonitorWnd::loadSettings() {
  clearImage(*workingCopy_);
  // The settings files fill what they hold and give defaults for the rest.
  if (!loadAll(*workingCopy_, folder_)) buildDefaultImage(*workingCopy_);
}

bool CMonitorWnd::lockSettings() {
  const DWORD wait = WaitForSingleObject(settingsMutex_.get(), kSettingsLockTimeoutMs);
  return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

void CMonitorWnd::writeDeviceState(int32_t state) {
  // Through the settings layer, which serialises every write of config.ini
  // with the configuration program's saves.
  ::writeDeviceState(configIni_, state == kConnected ? 1 : 0);
}
