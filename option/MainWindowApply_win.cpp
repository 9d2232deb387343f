// The main window's road to the monitor: the apply path with its busy state,
// the reset of all profiles, stored key assignments, and what the monitor
// tells the window.
#include "ChangeFlags.h"
#include "KeyFunction.h"
#include "MainWindow_win.h"
#include "ResetWarnDialog_win.h"
#include "SkinButton_win.h"
#include "SkinPictures_win.h"
#include "UnappliedEdits.h"

namespace {
constexpr char kLockFailedText[] = "Apply failed: the settings are in use. Nothing was sent; Apply again.";
}  // namespace

void MainWindow::setBusy(bool busy) {
  busy_ = busy;
  if (HWND apply = control(kApply)) {
    EnableWindow(apply, !busy);
    InvalidateRect(apply, nullptr, FALSE);
    UpdateWindow(apply);
  }
  if (busy) {
    SetCapture(hwnd());
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
  } else {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (GetCapture() == hwnd()) ReleaseCapture();
  }
}

void MainWindow::apply(ApplyKind kind) {
  if (kind != kApplyPreview) setBusy(true);
  // A monitor that started after this window has made the block since.
  if (!block_.isOpen()) block_.open();
  // The block is what the monitor holds: the change flags are what the
  // edited image changes in it, and then it takes the edited image, under
  // one hold of the mutex. On failure the monitor works on the block as it
  // was; without a monitor no flag counts, as its next start sends all.
  const bool handed = block_.update([&](SettingsImage& shared) {
    if (kind != kApplyReset) computeChangeFlags(*doc_.edit, shared);
    shared = *doc_.edit;
  });
  // The monitor's block stayed locked past the time-out: nothing is sent,
  // saved or cleared, and the edits wait for the next Apply.
  if (!handed && block_.lockTimedOut()) {
    if (kind != kApplyPreview) setBusy(false);
    closeAfterApply_ = false;  // the close question's Apply: the window stays with its edits
    setStatus(kLockFailedText, true);
    return;
  }
  HWND monitor = FindWindowA(nullptr, kMonitorWindowTitle);
  // Only the answer with this apply's id ends its busy state.
  const uint32_t id = kind == kApplyPreview ? applyWait_.unwaited() : applyWait_.begin();
  if (monitor) PostMessageA(monitor, UM_APPLY, kind, LPARAM(id));
  // The libraries and lists first, then the keys that name their macros:
  // written together at each apply, never one without the other.
  const bool listsSaved = doc_.saveChangedLists();
  const bool saved = doc_.saveChangedProfiles() && listsSaved;
  clearChangeFlags(*doc_.edit);
  // What could not be written stays to be applied.
  if (saved) doc_.markApplied();
  showUnapplied();
  // With a monitor the busy state lasts until its UM_APPLY_DONE, or until
  // the time-out says that it did not come.
  if (kind == kApplyPreview) return;
  applySaved_ = saved;
  if (monitor)
    SetTimer(hwnd(), kConfirmTimer, kConfirmTimeoutMs, nullptr);
  else
    applyFinished(ApplyOutcome::SavedNoMonitor);
}

void MainWindow::applyFinished(ApplyOutcome outcome) {
  KillTimer(hwnd(), kConfirmTimer);
  applyWait_.end();
  if (!applySaved_ && !applyFailed(outcome)) outcome = ApplyOutcome::NotSaved;
  applySaved_ = true;
  setBusy(false);
  setStatus(applyStatusText(outcome), applyFailed(outcome));
  if (!closeAfterApply_) return;
  closeAfterApply_ = false;
  // A failed apply keeps the window, and the status line says why; closing
  // again then asks again if anything is still not applied.
  if (!applyFailed(outcome)) closeWindow();
}

bool MainWindow::unapplied() const {
  return unappliedEdits(*doc_.edit, *doc_.exchange, doc_.lists, doc_.appliedLists).any();
}

void MainWindow::showUnapplied() {
  const bool pending = unapplied();
  if (auto* button = controlAs<SkinButton>(kApply)) applyLook_.show(*button, pending);
  // A word on the last apply is old news once something changed again.
  if (pending && !statusFault_) setStatus({});
  if (pending == pendingShown_) return;
  pendingShown_ = pending;
  const RECT mark = DpiScale(kPendingArea);
  InvalidateRect(hwnd(), &mark, FALSE);
}

void MainWindow::setStatus(const std::string& status, bool fault) {
  if (status == status_ && fault == statusFault_) return;
  status_ = status;
  statusFault_ = fault;
  const RECT strip = DpiScale(kHelpStrip);
  InvalidateRect(hwnd(), &strip, FALSE);
}

void MainWindow::edited() {
  if (doc_.active().previewOn == 1) apply(kApplyPreview);
  showUnapplied();
}

void MainWindow::resetAll() {
  if (!ResetWarnDialog(0).ask(hwnd())) return;
  buildDefaultImage(*doc_.edit);
  for (int p = 0; p < kProfileCount; ++p) {
    markProfileForFullDownload(*doc_.edit, p);
    clearList(doc_.lists.profileApps[p]);  // the default profiles link nothing
  }
  refresh();
  apply(kApplyReset);
}

void MainWindow::storeAssignedKey() {
  const int k = editEntry_.keyIndex;
  if (k >= kKeyCount) return;
  const int p = editProfile_;
  ProfileRecord& profile = doc_.edit->profiles[p];
  clearUnusedKeyFields(editEntry_);  // nothing of an earlier function stays behind the key
  profile.keys[k] = editEntry_;
  refreshKeyboard();
  doc_.edit->keyDirty[p][k] = 1;
  // Counted before the preview apply saves the profile, not after. The
  // launch page's programs are written with the key, at the next apply.
  profile.totalMacro = countMacroKeys(profile);
  if (profile.previewOn == 1) apply(kApplyPreview);
  showUnapplied();
}

// The monitor changed the block, which the next apply is compared with; the
// window shows the profile the monitor made active. Only the monitor changes
// the active profile; every edit not applied yet, in all five profiles, stays
// in the edited image.
void MainWindow::takeBlock() {
  if (!block_.isOpen() && !block_.open()) return;
  int active = -1;
  if (!block_.update([&](const SettingsImage& shared) { active = shared.currentProfile; })) return;
  doc_.edit->currentProfile = active >= 0 && active < kProfileCount ? active : 0;
  // The monitor's choice is applied already: no edit to ask about.
  doc_.exchange->currentProfile = doc_.edit->currentProfile;
  refresh();
}

void MainWindow::reloadSettings() {
  firmwareText_ = firmwareVersionText(readFirmwareVersion(doc_.folder), FirmwareRange::Reload);
  const RECT firmware = DpiScale(kFirmwareArea);
  InvalidateRect(hwnd(), &firmware, FALSE);
  takeBlock();
  doc_.collectMacros();
  fromMonitor_ = true;
}

// The window stays, with every edit and every open dialog, whether the
// keyboard is there or not: Apply saves the files and the monitor sends
// them when the keyboard returns. A keyboard that came reports its firmware.
void MainWindow::keyboardLinkChanged(bool connected) {
  if (connected) {
    firmwareText_ = firmwareVersionText(readFirmwareVersion(doc_.folder), FirmwareRange::Reload);
    const RECT firmware = DpiScale(kFirmwareArea);
    InvalidateRect(hwnd(), &firmware, FALSE);
    if (!keyboardAway_) return;
  }
  keyboardAway_ = !connected;
  // Said until the keyboard is back: an edit meanwhile does not clear it.
  setStatus(keyboardLinkText(connected), !connected);
}

void MainWindow::takeProfile() {
  if (!block_.isOpen() && !block_.open()) return;
  SettingsImage& edit = *doc_.edit;
  block_.update([&](const SettingsImage& shared) {
    const int p =
        shared.currentProfile >= 0 && shared.currentProfile < kProfileCount ? shared.currentProfile : 0;
    edit.currentProfile = p;
    edit.profiles[p].fnStatus = shared.profiles[p].fnStatus;
    edit.profiles[p].ltPulsation = shared.profiles[p].ltPulsation;
    ProfileRecord& applied = doc_.exchange->profiles[p];
    doc_.exchange->currentProfile = p;
    applied.fnStatus = shared.profiles[p].fnStatus;
    applied.ltPulsation = shared.profiles[p].ltPulsation;
  });
  refresh();
}
