// The main window's road to the monitor: the apply path with its busy state,
// the reset of all profiles, stored key assignments, and what the monitor
// tells the window.
#include "ChangeFlags.h"
#include "MainWindow_win.h"
#include "ResetWarnDialog_win.h"
#include "SkinButton_win.h"

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
  if (kind != kApplyReset) computeChangeFlags(*doc_.edit, *doc_.exchange);
  // A monitor that started after this window has made the block since.
  if (!block_.isOpen()) block_.open();
  block_.copyToBlock(*doc_.edit);  // on failure the monitor works on the block as it was
  HWND monitor = FindWindowA(nullptr, kMonitorWindowTitle);
  if (monitor) PostMessageA(monitor, UM_APPLY, kind, 0);
  saveAll(*doc_.edit, doc_.folder);
  clearChangeFlags(*doc_.edit);
  *doc_.exchange = *doc_.edit;
  // With a monitor the busy state lasts until its UM_APPLY_DONE.
  if (!monitor && kind != kApplyPreview) setBusy(false);
}

void MainWindow::edited() {
  if (doc_.active().previewOn == 1) apply(kApplyPreview);
}

void MainWindow::resetAll() {
  if (!ResetWarnDialog(0).ask(hwnd())) return;
  buildDefaultImage(*doc_.edit);
  for (int p = 0; p < kProfileCount; ++p) markProfileForFullDownload(*doc_.edit, p);
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

void MainWindow::takeBlock(bool clearFlags) {
  if (!block_.isOpen() && !block_.open()) return;
  if (!block_.copyFromBlock(*doc_.exchange)) return;
  sanitizeImage(*doc_.exchange);
  if (clearFlags) clearChangeFlags(*doc_.exchange);
  *doc_.edit = *doc_.exchange;
  refresh();
}

void MainWindow::reloadSettings() {
  firmwareText_ = firmwareVersionText(readFirmwareVersion(doc_.folder), FirmwareRange::Reload);
  InvalidateRect(hwnd(), &kFirmwareArea, FALSE);
  takeBlock(true);
  doc_.collectMacros();
  fromMonitor_ = true;
}

void MainWindow::takeProfile() {
  if (!block_.isOpen() && !block_.open()) return;
  if (!block_.copyFromBlock(*doc_.exchange)) return;
  sanitizeImage(*doc_.exchange);
  const int p = doc_.exchange->currentProfile;
  doc_.edit->currentProfile = p;
  if (p >= 0 && p < kProfileCount) {
    doc_.edit->profiles[p].fnStatus = doc_.exchange->profiles[p].fnStatus;
    doc_.edit->profiles[p].ltPulsation = doc_.exchange->profiles[p].ltPulsation;
  }
  refresh();
}
