#pragma once
// Every message number, timer, tray id and kernel-object or window name of the
// monitor and of what it exchanges with the configuration program.

// Window messages received by the monitor's hidden window.
enum MonitorMessage : unsigned {
  UM_TRAY_NOTIFY = 1036,  // from the tray icon: wParam icon id, lParam mouse message
  // From Option: wParam apply kind, lParam the apply's id, which its
  // UM_APPLY_DONE carries back.
  UM_APPLY = 1224,
  UM_RELOAD = 1226,          // wParam/lParam unused: re-read the shared block, send nothing; returns 0
  UM_RELOAD_ALT = 1227,      // the same as UM_RELOAD
  UM_IGNORED = 1274,         // wParam/lParam unused: accepted and ignored, returns 0
  UM_KEYBOARD_EVENT = 1325,  // from hiddriver.dll: wParam event code, lParam key number | extra byte << 8
  UM_DEVICE_CHANGE = 1326,   // from hiddriver.dll: wParam 1 arrived, 0 removed, other values ignored
  // Sent by "Monitor.exe --profile N": wParam the profile 0..4, lParam 0;
  // answers a SelectProfileAnswer.
  UM_SELECT_PROFILE = 1258,
};

enum SelectProfileAnswer : unsigned {
  kProfileSelected = 1,      // active now: downloaded, stored, Option told (or it already was)
  kProfileNotConnected = 2,  // no keyboard to send it to: nothing changed
  kProfileOutOfRange = 3,
  kProfileBusy = 4,  // the settings stayed locked past the time-out: nothing changed
};

// Window messages the monitor sends.
enum OptionMessage : unsigned {
  UM_RELOAD_SETTINGS = 1254,   // to Option, wParam 0, lParam 0: re-read firmware version and block
  UM_PROFILE_SWITCHED = 1255,  // to Option, wParam 0, lParam 0: re-read the shared block
  // To Option: the apply finished (or could not start). wParam the id that
  // UM_APPLY carried, lParam an ApplyAnswer.
  UM_APPLY_DONE = 1256,
  // To Option, when the keyboard comes or goes: wParam 1 connected (and
  // FWVersion in config.ini holds its firmware once it was read), 0 not
  // connected; lParam 0. The window stays and keeps its edits either way.
  UM_KEYBOARD_LINK = 1261,
  UM_OSD_SHOW = 1324,  // to the OSD window, wParam 50, lParam 0
};
constexpr unsigned kOsdShowParam = 50;

// UM_APPLY_DONE's lParam: where the apply went.
enum ApplyAnswer : unsigned {
  kApplySent = 1,    // the keyboard received it
  kApplyStored = 2,  // stored only: no keyboard; it is sent when the keyboard returns
};

// Thread messages of the two worker threads.
enum ThreadMessage : unsigned {
  TM_PLAY_TEXT_MACRO = 1648,  // to macroThread: wParam 0, lParam 0
  TM_DOWNLOAD = 1649,         // to downloadThread: wParam DownloadRequest, lParam the apply kind
};

enum DownloadRequest : unsigned {
  kDownloadChanged = 1,  // what the change flags ask for, then UM_APPLY_DONE (always); lParam the apply id
  kDownloadFirmwareCheck = 2,  // version read and warning; lParam kSendPendingAfterCheck or 0
  kDownloadAll = 3,            // everything, after a profile switch; Option gets no answer
};

// After the check at an arrival: what was applied while the keyboard was
// away, when something was.
constexpr unsigned kSendPendingAfterCheck = 1;

// Tray menu commands (WM_COMMAND wParam, lParam 0); ID_TRAY_OPEN also arrives
// from a second monitor started with "1".
enum TrayCommand : unsigned {
  ID_TRAY_OPEN = 6001,
  ID_TRAY_EXIT = 6002,
  ID_TRAY_PROFILE_FIRST = 6011,  // 6011..6015: make profile 1..5 active
};

constexpr unsigned kTrayIconId = 102;
constexpr unsigned kProgramIconId = 1;  // the first icon resource of the program file

enum MonitorTimer : unsigned {
  TIMER_APP_WATCH = 500,        // application watcher's slow look
  TIMER_APP_RELINK = 501,       // once, after the links may have changed
  TIMER_FW_CHECK = 502,         // fires once after a successful start
  TIMER_DESKTOP_PROFILE = 503,  // the desktop profile's delay
};
// The slow look at the foreground: always when the foreground hook cannot be
// set, else only while the program in front could not be named yet.
constexpr unsigned kAppWatchPeriodMs = 2000;
// The quick look at the foreground window alone, while the hook is set but
// the system has raised no foreground event yet.
constexpr unsigned kForegroundPollMs = 100;
// After an apply or a reload, the program in front is matched against the
// links again, once its download is under way.
constexpr unsigned kRelinkLookDelayMs = 200;
// "poll" in this variable leaves the hook unset: the watcher runs on its
// slow look alone (tests and the switching benchmark measure it).
constexpr const char* kAppWatchVariable = "QUILLON_APP_WATCH";
// A file named in this variable receives one line for each change of the
// tray icon ("NIM_ADD <tip>", "NIM_MODIFY <tip>", "NOTICE <text>",
// "NIM_DELETE"), in UTF-8: the tests read what the shell was given.
constexpr const char* kTrayTraceVariable = "QUILLON_TRAY_TRACE";
constexpr unsigned kFirmwareCheckDelayMs = 200;
constexpr unsigned kOpenPauseMs = 1000;                   // after setting the identity, before the open
constexpr unsigned kShutdownPauseMs = 1000;               // after downloadThread ended
constexpr unsigned kWorkerStackReserveBytes = 256 << 10;  // they get no messages from other programs

// Kernel objects, windows and files.
constexpr const char* kInstanceMutexName = "Varnel_Quillon_Monitor_Normal";
constexpr const char* kSettingsMutexObjectName = "Varnel_Quillon_Mutex_Object";
constexpr const char* kMonitorWindowTitle = "Varnel Quillon Monitor";
constexpr const char* kOptionWindowTitle = "Varnel Quillon Option";
constexpr const char* kOsdWindowTitle = "Varnel_Quillon_OSD";
constexpr const char* kMonitorWindowClass = "VarnelQuillonMonitor";
constexpr const char* kOptionProgram = "Option.exe";
constexpr const char* kHidDriverLibrary = "hiddriver.dll";
