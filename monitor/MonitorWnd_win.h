#pragma once
// The monitor's hidden main window. It owns all state of the program: the
// working copy of the settings, the shared block, the keyboard link, the two
// worker threads and the tray icon.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Clipboard_win.h"
#include "DesktopProfile.h"
#include "DownloadEncoder.h"
#include "Handle_win.h"
#include "KeyboardLink_win.h"
#include "KeyboardProtocol.h"
#include "LanguageLibrary_win.h"
#include "MonitorMessages.h"
#include "ProfileFiles.h"
#include "SettingsImage.h"
#include "SharedBlock_win.h"
#include "TextMacroPlayer.h"

// Who made a profile active: the notice and the desktop profile go by it.
enum class SwitchCause {
  Hand,     // the tray menu, the command line
  Linked,   // the watcher, for a linked program in front
  Desktop,  // the watcher, back to the desktop profile
};

enum ConnectionState : int32_t {
  kNotConnected = 0,  // not connected since start
  kConnected = 1,
  kRemoved = 2,
};

class CMonitorWnd {
 public:
  explicit CMonitorWnd(bool openOptionAtStart);
  CMonitorWnd(const CMonitorWnd&) = delete;
  CMonitorWnd& operator=(const CMonitorWnd&) = delete;
  ~CMonitorWnd();

  // Loads the keyboard library and gives it the keyboard's identity. The
  // keyboard wants a pause between its identity and its open: the rest of
  // the start-up, the window's creation among it (the first window of a
  // session waits for the desktop), runs inside that pause rather than
  // before it, and the open comes no earlier than the pause after this.
  void bindKeyboard();
  // Creates the hidden pop-up window; false when its creation failed.
  bool create(HINSTANCE instance);
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Life cycle (MonitorWnd_win.cpp).
  bool onCreate();
  void initCommonControls();
  void onDestroy();
  void onTimer(UINT_PTR id);
  BOOL onCopyData(const COPYDATASTRUCT* data);
  void loadSettings();
  void writeDeviceState(int32_t state);

  // Tray and Option (MonitorWndTray_win.cpp).
  void addTrayIcon();
  void removeTrayIcon();
  void onSystrayNotify(LPARAM mouseMessage);
  void showTrayMenu();
  // The tip names the active profile; changed only when its text does.
  void updateTrayTip();
  std::wstring trayTip() const;
  void showSwitchNotice(int profile);
  void traceTray(const std::wstring& line) const;
  void onCustomizer();
  void onApplyAllSetting(WPARAM applyKind, LPARAM applyId);
  void onReload();
  // The settings mutex for this window thread, waited for no longer than
  // kSettingsLockTimeoutMs: whoever holds it cannot hang the monitor.
  bool lockSettings();

  // Worker threads (MonitorWndThreads_win.cpp).
  bool startThreads();
  // macroThread, made when the first text macro plays.
  bool startMacroThread();
  void stopDownloadThread();
  void stopMacroThread();
  static DWORD WINAPI downloadThreadMain(LPVOID param);
  static DWORD WINAPI macroThreadMain(LPVOID param);
  void downloadLoop();
  void macroLoop();
  // True when every report went out to a keyboard that stayed connected;
  // otherwise the change flags are given back for the next download.
  bool runDownload(bool full);
  // UM_APPLY_DONE to Option, from downloadThread: the apply's id and outcome.
  void answerApply(LPARAM applyId, ApplyAnswer outcome);
  // True when the keyboard has the expected firmware.
  bool runFirmwareCheck();
  // FWVersion after a successful version read, and Option told.
  void storeFirmware(kbd::FirmwareVersion version);
  void tellOptionLink(bool connected);
  // One TM_PLAY_TEXT_MACRO posted with the player's `epoch` (TextMacro_win.cpp).
  void playTextMacro(uint32_t epoch);
  // Ends the text macro under way and drops the ones queued (exit, removal).
  void endTextMacro();

  // Keyboard (MonitorWndDevice_win.cpp).
  bool openKeyboard();
  // Empty when the keyboard did not answer (pulled out meanwhile).
  std::optional<kbd::FirmwareVersion> readKeyboardVersion();
  void onDeviceChange(WPARAM change);
  void onArrival();
  void onRemoval();
  void onKeyboardEvent(WPARAM wParam, LPARAM lParam);
  void triggerTextMacro(int keyIndex, bool release);
  // Starts the launch key's program off this thread (Launch_win.cpp).
  void launchProgram(int keyIndex);

  // Application watcher and profile switches (AppWatcher_win.cpp).
  void startAppWatch();
  void stopAppWatch();
  void appWatchTick(UINT_PTR timer);
  void linksMayHaveChanged();
  void watchForeground(HWND window, bool event);
  void scheduleLook();
  // False, with nothing switched, when the settings mutex stayed held.
  bool switchProfile(int profile, SwitchCause cause);
  void takeDesktopStep(const apps::DesktopStep& step, SwitchCause cause);
  LRESULT onSelectProfile(WPARAM profile);
  static void CALLBACK onForegroundEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                         LONG child, DWORD thread, DWORD time);

  HWND hwnd_ = nullptr;
  bool openOptionAtStart_;
  UINT taskbarCreatedMessage_ = 0;
  bool trayShown_ = false;

  std::string folder_;
  std::string configIni_;
  UniqueModule commonControls_;
  LanguageLibrary language_;
  KeyboardLink keyboard_;
  std::chrono::steady_clock::time_point identitySet_;

  std::unique_ptr<SettingsImage> workingCopy_;
  unsigned char osdSettings_[kOsdSettingsSize] = {};
  kbd::SlotTable keySlots_{};
  UniqueHandle settingsMutex_;
  SharedBlock sharedBlock_;

  std::atomic<int32_t> connectionState_{kNotConnected};
  kbd::FirmwareVersion expectedFirmware_{};
  kbd::FirmwareVersion firmware_{};

  UniqueHandle downloadThread_;
  DWORD downloadThreadId_ = 0;
  // When downloadThread last finished a request (GetTickCount64), for the
  // keyboard's pause before it is closed.
  std::atomic<uint64_t> lastRequestEnded_{0};
  UniqueHandle macroThread_;
  DWORD macroThreadId_ = 0;
  // Shared with macroThread: written by one side, polled by the other.
  std::atomic<int32_t> macroPlaying_{0};
  bool macroThreadStuck_ = false;  // it did not end at shutdown
  // Trigger on the main thread, playback on macroThread.
  player::TextMacroPlayer textPlayer_;
  // The text a playback offers on the clipboard, rendered by this window.
  PastedText pastedText_;

  UniqueWinEventHook foregroundHook_;
  bool foregroundEvents_ = false;  // the hook has reported a foreground change
  HWND lookedAt_ = nullptr;        // the foreground window the watcher last named
  bool named_ = false;             // and whether its program could be named
  std::string foregroundProgram_;  // its program's file name
  DWORD lookedAtTime_ = 0;
  int relooks_ = 0;       // looks at it since, while it could not be named
  UINT watchPeriod_ = 0;  // of TIMER_APP_WATCH, 0 while it does not run
  apps::DesktopProfileRule desktopRule_;

  std::wstring shownTip_;  // what the tray icon's tip says
  std::string trayTrace_;  // kTrayTraceVariable's file, when set
};
