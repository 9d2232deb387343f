// The application watcher: the program in the foreground selects the
// profile that links its file name, and the monitor switches to it.
//
// It switches on the foreground change itself: an out-of-context event hook
// on the main thread hands every change to watchForeground(), and nothing
// runs while the foreground stays where it is. A slow look (every
// kAppWatchPeriodMs) stands in where the hook cannot be set, and while the
// program in front cannot be named yet: a Store application's frame whose
// hosted window has not arrived, a process that just started. Where the
// hook is set but the system raises no foreground events (Wine 8 raises
// none), a quick look at the foreground window alone stands in for them.

#include <windows.h>

#include <algorithm>
#include <string>

#include "AppMatch.h"
#include "MonitorMessages.h"
#include "MonitorWnd_win.h"

namespace {

// The one watching window: the hook's procedure has no context of its own.
CMonitorWnd* gWatcher = nullptr;

// Slow looks at one foreground window that cannot be named, before the
// watcher waits for the next change.
constexpr int kMaxRelooks = 5;

// The file name of a process's program, in the settings' code page; empty
// when it cannot be asked (it ended, or it is protected).
std::string programFileOf(DWORD processId) {
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t path[4 * MAX_PATH];
  DWORD length = ARRAYSIZE(path);
  if (!QueryFullProcessImageNameW(process.get(), 0, path, &length) || length == 0) return {};
  std::wstring_view full(path, length);
  const size_t slash = full.find_last_of(L"\\/");
  const std::wstring_view name = slash == std::wstring_view::npos ? full : full.substr(slash + 1);
  char text[2 * MAX_PATH] = {};
  const int size =
      WideCharToMultiByte(CP_ACP, 0, name.data(), int(name.size()), text, sizeof text - 1, "?", nullptr);
  return std::string(text, size > 0 ? size_t(size) : 0);
}

// The program whose window is in front. A Store application's window is
// a frame of the application host; the program is that of the hosted
// window inside it, which belongs to another process.
std::string programOfWindow(HWND window) {
  if (!window) return {};
  DWORD host = 0;
  GetWindowThreadProcessId(window, &host);
  if (!host) return {};
  std::string program = programFileOf(host);
  if (!apps::isFrameHost(program)) return program;
  struct Search {
    DWORD host, hosted;
  } search{host, 0};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(child, &owner);
        if (!owner || owner == s->host) return TRUE;
        s->hosted = owner;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.hosted ? programFileOf(search.hosted) : std::string();
}

bool hookRefused() {
  char mode[16] = {};
  return GetEnvironmentVariableA(kAppWatchVariable, mode, sizeof mode) && lstrcmpiA(mode, "poll") == 0;
}

}  // namespace

void CALLBACK CMonitorWnd::onForegroundEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG,
                                             DWORD, DWORD) {
  if (event == EVENT_SYSTEM_FOREGROUND && object == OBJID_WINDOW && gWatcher)
    gWatcher->watchForeground(window, true);
}

// While the report channel is open.
void CMonitorWnd::startAppWatch() {
  gWatcher = this;
  if (!foregroundHook_ && !hookRefused())
    foregroundHook_.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                          onForegroundEvent, 0, 0,
                                          WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
  // The first look at what is in front already, once the start or the
  // arrival that opened the channel is over and the keyboard counts as
  // connected.
  lookedAt_ = nullptr;
  named_ = false;
  foregroundProgram_.clear();
  watchPeriod_ = USER_TIMER_MINIMUM;
  SetTimer(hwnd_, TIMER_APP_WATCH, watchPeriod_, nullptr);
}

void CMonitorWnd::stopAppWatch() {
  KillTimer(hwnd_, TIMER_APP_WATCH);
  KillTimer(hwnd_, TIMER_APP_RELINK);
  KillTimer(hwnd_, TIMER_DESKTOP_PROFILE);
  desktopRule_.stop();
  watchPeriod_ = 0;
  foregroundHook_.reset();
  if (gWatcher == this) gWatcher = nullptr;
}

void CMonitorWnd::appWatchTick(UINT_PTR timer) {
  if (timer == TIMER_APP_WATCH) return watchForeground(GetForegroundWindow(), false);
  // The links changed (or may have): the program in front may select
  // another profile now, as a look of the two-second watcher would find.
  KillTimer(hwnd_, TIMER_APP_RELINK);
  if (connectionState_ != kConnected || foregroundProgram_.empty()) return;
  const int linked = apps::matchingProfile(*workingCopy_, apps::fileNameOf(foregroundProgram_));
  takeDesktopStep(desktopRule_.foreground(linked, workingCopy_->currentProfile, workingCopy_->desktopProfile,
                                          GetTickCount()),
                  linked >= 0 ? SwitchCause::Linked : SwitchCause::Desktop);
}

// After the working copy took an apply or a reload: a look at the links
// once the apply's own download has taken its snapshot.
void CMonitorWnd::linksMayHaveChanged() {
  if (gWatcher == this) SetTimer(hwnd_, TIMER_APP_RELINK, kRelinkLookDelayMs, nullptr);
}

void CMonitorWnd::watchForeground(HWND window, bool event) {
  if (connectionState_ != kConnected) {
    KillTimer(hwnd_, TIMER_APP_WATCH);
    watchPeriod_ = 0;
    return;
  }
  foregroundEvents_ = foregroundEvents_ || event;
  // Our own window in front (the tray menu's owner) is no program of the user's.
  DWORD owner = 0;
  if (window && GetWindowThreadProcessId(window, &owner) && owner == GetCurrentProcessId())
    return scheduleLook();
  // The window in front is named once; again only while it could not be
  // named, a slow look apart, a few times.
  const DWORD now = GetTickCount();
  const bool again = window == lookedAt_;
  if (again && (named_ || relooks_ >= kMaxRelooks || now - lookedAtTime_ < kAppWatchPeriodMs)) {
    scheduleLook();
    return;
  }
  relooks_ = again ? relooks_ + 1 : 0;
  lookedAt_ = window;
  lookedAtTime_ = now;
  const std::string program = programOfWindow(window);
  named_ = !program.empty();
  foregroundProgram_ = program;
  scheduleLook();
  if (!named_) return;
  // A linked program switches at once; an unlinked one may start the
  // desktop profile's delay.
  const int linked = apps::matchingProfile(*workingCopy_, apps::fileNameOf(program));
  takeDesktopStep(
      desktopRule_.foreground(linked, workingCopy_->currentProfile, workingCopy_->desktopProfile, now),
      linked >= 0 ? SwitchCause::Linked : SwitchCause::Desktop);
}

void CMonitorWnd::takeDesktopStep(const apps::DesktopStep& step, SwitchCause cause) {
  if (step.switchTo >= 0) switchProfile(step.switchTo, cause);
  if (step.lookInMs >= 0)
    SetTimer(hwnd_, TIMER_DESKTOP_PROFILE, UINT(std::max(step.lookInMs, int(USER_TIMER_MINIMUM))), nullptr);
  else if (!desktopRule_.pending())
    KillTimer(hwnd_, TIMER_DESKTOP_PROFILE);
}

// Without the hook, the Part's slow look. With it, nothing while the
// foreground events come, but a slow look while the window in front cannot
// be named yet; and a quick look of the foreground window alone until the
// first event shows that the system raises them (Wine 8 raises none).
void CMonitorWnd::scheduleLook() {
  const bool unnamed = lookedAt_ && !named_ && relooks_ < kMaxRelooks;
  const UINT period = !foregroundHook_     ? kAppWatchPeriodMs
                      : !foregroundEvents_ ? kForegroundPollMs
                      : unnamed            ? kAppWatchPeriodMs
                                           : 0;
  if (period == watchPeriod_) return;
  watchPeriod_ = period;
  if (period)
    SetTimer(hwnd_, TIMER_APP_WATCH, period, nullptr);
  else
    KillTimer(hwnd_, TIMER_APP_WATCH);
}

bool CMonitorWnd::switchProfile(int profile, SwitchCause cause) {
  // The block changes only in what the switch owns. A whole working copy
  // written here would undo an apply that Option has written into the block
  // and announced, but that this window has not taken yet.
  auto block = std::unique_ptr<SettingsImage>(new SettingsImage);
  if (!lockSettings()) {
    char failed[80];
    wsprintfA(failed, "CMonitorWnd SwitchProfile %d failed: the settings are held\n", profile);
    OutputDebugStringA(failed);
    return false;
  }
  workingCopy_->currentProfile = profile;
  workingCopy_->profileSwitched = 1;
  if (sharedBlock_.isOpen() && sharedBlock_.copyFromBlock(*block)) {
    block->currentProfile = profile;
    block->profileSwitched = 1;
    sharedBlock_.copyToBlock(*block);
  }
  ReleaseMutex(settingsMutex_.get());
  block.reset();

  char trace[64];
  wsprintfA(trace, "CMonitorWnd SwitchProfile %d\n", profile);
  OutputDebugStringA(trace);
  PostThreadMessageA(downloadThreadId_, TM_DOWNLOAD, kDownloadAll, 0);
  writeCurrentProfile(configIni_, profile);
  if (HWND option = FindWindowA(nullptr, kOptionWindowTitle)) PostMessageA(option, UM_PROFILE_SWITCHED, 0, 0);
  updateTrayTip();
  if (cause != SwitchCause::Hand) showSwitchNotice(profile);
  return true;
}

LRESULT CMonitorWnd::onSelectProfile(WPARAM profile) {
  if (profile >= WPARAM(kProfileCount)) return kProfileOutOfRange;
  // Without a keyboard the switch could not be sent, and an arrival sends
  // nothing: the keyboard would run another profile than the one shown.
  if (connectionState_ != kConnected) return kProfileNotConnected;
  desktopRule_.chosenByHand();  // it stays until a linked program comes
  if (int(profile) != workingCopy_->currentProfile && !switchProfile(int(profile), SwitchCause::Hand))
    return kProfileBusy;
  return kProfileSelected;
}
