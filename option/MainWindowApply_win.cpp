// The main window's road to the monitor: the apply path with its busy state,
// the reset of all profiles, stored key assignments, and what the monitor
// tells the window.
#include "ChangeFlags.h"
#include "MainWindow_win.h"
#include "ResetWarnDialog_win.h"
#include "SkinButton_win.h"

namespace {
constexpr char kUnconfirmedText[] = "The keyboard did not confirm the settings: Apply again to send them.";
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
    setStatus(kLockFailedText);
    return;
  }
  HWND monitor = FindWindowA(nullptr, kMonitorWindowTitle);
  if (monitor) PostMessageA(monitor, UM_APPLY, kind, 0);
  saveAll(*doc_.edit, doc_.folder);
  doc_.saveProfileLists();
  clearChangeFlags(*doc_.edit);
  // With a monitor the busy state lasts until its UM_APPLY_DONE, or until
  // the time-out says that it did not come.
  if (kind == kApplyPreview) return;
  if (monitor)
    SetTimer(hwnd(), kConfirmTimer, kConfirmTimeoutMs, nullptr);
  else
    setBusy(false);
}

void MainWindow::applyConfirmed() {
  KillTimer(hwnd(), kConfirmTimer);
  setStatus({});
  setBusy(false);
}

void MainWindow::applyUnconfirmed() {
  KillTimer(hwnd(), kConfirmTimer);
  if (!busy_) return;
  setBusy(false);
  setStatus(kUnconfirmedText);
}

void MainWindow::setStatus(const std::string& status) {
  if (status == status_) return;
  status_ = status;
  InvalidateRect(hwnd(), &kHelpStrip, FALSE);
}

void MainWindow::edited() {
  if (doc_.active().previewOn == 1) apply(kApplyPreview);
}

void MainWindow::resetAll() {
  if (!ResetWarnDialog(0).ask(hwnd())) return;
  buildDefaultImage(*doc_.edit);
  for (int p = 0; p < kProfileCount; ++p) {
    markProfileForFullDownload(*doc_.edit, p);
    clearList(doc_.lists.profileApps[p]);  // the default profiles link nothing
  }
  doc_.profileListsChanged = true;
  refresh();
  apply(kApplyReset);
}

void MainWindow::storeAssignedKey() {
  const int k = editEntry_.keyIndex;
  if (k >= kKeyCount) return;
  const int p = editProfile_;
  ProfileRecord& profile = doc_.edit->profiles[p];
  profile.keys[k] = editEntry_;
  refreshKeyboard();
  saveList(doc_.lists.launchApps, doc_.folder, kLaunchAppListFile);
  doc_.edit->keyDirty[p][k] = 1;
  // Counted before the preview apply saves the profile, not after.
  profile.totalMacro = countMacroKeys(profile);
  if (profile.previewOn == 1) apply(kApplyPreview);
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
  refresh();
}

void MainWindow::reloadSettings() {
  firmwareText_ = firmwareVersionText(readFirmwareVersion(doc_.folder), FirmwareRange::Reload);
  InvalidateRect(hwnd(), &kFirmwareArea, FALSE);
  takeBlock();
  doc_.collectMacros();
  fromMonitor_ = true;
}

void MainWindow::takeProfile() {
  if (!block_.isOpen() && !block_.open()) return;
  SettingsImage& edit = *doc_.edit;
  block_.update([&](const SettingsImage& shared) {
    const int p = shared.currentProfile >= 0 && shared.currentProfile < kProfileCount ? shared.currentProfile : 0;
    edit.currentProfile = p;
    edit.profiles[p].fnStatus = shared.profiles[p].fnStatus;
    edit.profiles[p].ltPulsation = shared.profiles[p].ltPulsation;
  });
  refresh();
}
