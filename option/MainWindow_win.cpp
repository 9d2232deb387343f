#include "MainWindow_win.h"

#include <algorithm>

#include "KeyAssignPage_win.h"
#include "KeyboardWords.h"
#include "Language.h"
#include "LightingPage_win.h"
#include "MacroBinding.h"
#include "MacroManager_win.h"
#include "OptionResources.h"
#include "ProfileNameRules.h"
#include "ProfilePage_win.h"
#include "ProgramFolder_win.h"
#include "SkinButton_win.h"
#include "SkinHelp_win.h"
#include "SkinMenu_win.h"
#include "SkinMessages.h"
#include "SkinPictures_win.h"
#include "TextMacroManager_win.h"
#include "UnappliedWarnDialog_win.h"
#include "WinKeyPage_win.h"

namespace {
constexpr int kIdBase = 100;
enum PagePosition { kWindowsKeyPage = 1, kLightingPage = 2, kKeyboardPage = 3 };

constexpr char kHelpText[] =
    "Here you set up your keyboard: what each\nkey does (click it on the picture), the\nlighting, "
    "the Windows key and five profiles.\nApply sends it all to the keyboard.";
constexpr char kPreviewHelpText[] =
    "With Preview ON every change goes to the\nkeyboard at once, without pressing Apply.";
// The key function legend of the skin, inside its panel.
constexpr RECT kLegendArea{812, 298, 1036, 532};
constexpr int kMacroMenuWidth = 163;

constexpr COLORREF kStatusColour = RGB(230, 80, 80);
constexpr COLORREF kDoneColour = RGB(235, 235, 235);
constexpr char kPendingText[] = "\x95  CHANGES NOT APPLIED";
constexpr int kDragTop = 40, kDragBottom = 590;  // the title bar and the bottom rule

// `area` and `height` at 100 %.
void drawText(HDC dc, const std::string& text, RECT area, int height, COLORREF colour, UINT format) {
  area = DpiScale(area);
  HFONT font =
      CreateFontA(DpiScale(height), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextA(dc, text.c_str(), int(text.size()), &area, format | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}
}  // namespace

MainWindow::MainWindow() = default;
MainWindow::~MainWindow() = default;

void MainWindow::run() {
  doc_.folder = programFolder();
  language_.load(doc_.folder);
  chooseScale();
  runModal({"skin_Config.ini", SkinRoot(), {{1, kControlCount}}, {}}, kOptionWindowTitle, nullptr);
}

HWND MainWindow::createControl(int, int key, const SkinPosition& position,
                               const SkinStatePictures& pictures) {
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures, key == kPreview);
  if (!button) return nullptr;
  if (key == kSixthSelector || key == kSixthProfilePage) {
    ShowWindow(button->hwnd(), SW_HIDE);
    EnableWindow(button->hwnd(), FALSE);
  }
  return button->hwnd();
}

void MainWindow::createPages() {
  auto at = [this](int key) {
    const SkinPosition p = readPosition("PAGEPOSITION", key);
    return POINT{p.rect.left, p.rect.top};
  };
  winKeyPage_ = std::make_unique<WinKeyPage>(*this);
  winKeyPage_->create(hwnd(), at(kWindowsKeyPage));
  keyboard_ = std::make_unique<KeyboardPicture>();
  keyboard_->create(hwnd(), at(kKeyboardPage));
  keyboard_->onKeyClicked = [this](int keyIndex) { openKeyPage(keyIndex); };
  // Ctrl as held at the click: the LED button has already painted itself then.
  keyboard_->onLedClicked = [this](int led) {
    if (lightingPage_) lightingPage_->ledClicked(led, (GetKeyState(VK_CONTROL) & 0x8000) != 0);
  };
  ShowWindow(keyboard_->hwnd(), SW_SHOWNA);
  showPage(ContentPage::WindowsKey);
}

void MainWindow::onInit() {
  HINSTANCE module = GetModuleHandleA(nullptr);
  auto icon = [&](int size) {
    return static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_OPTION), IMAGE_ICON, size, size, 0));
  };
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, LPARAM(icon(GetSystemMetrics(SM_CXICON))));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, LPARAM(icon(GetSystemMetrics(SM_CXSMICON))));
  SetSkinMainWindow(hwnd());
  SetWindowTextA(hwnd(), kOptionWindowTitle);
  setDialogKeys(0, kClose);  // Escape closes the window as its close button
  createPages();
  loadSettings();
  refresh();
}

void MainWindow::loadSettings() {
  SettingsImage& image = *doc_.edit;
  clearImage(image);
  firmwareText_ = firmwareVersionText(readFirmwareVersion(doc_.folder), FirmwareRange::StartUp);
  // A block whose copy fails (its mutex is missing, the wait failed) gives
  // nothing to work on: taken as the monitor's, its zeroes would be applied
  // as five blank profiles. The files hold the settings then too.
  const bool opened = block_.open();
  if (opened && block_.copyFromBlock(image)) {
    sanitizeImage(image);
    clearChangeFlags(image);
    fromMonitor_ = true;
  } else {
    // A block that exists but cannot be mapped is worth a word; a monitor
    // that is not running is not.
    if (!opened && !block_.foreign() &&
        UniqueHandle(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName)))
      MessageBoxA(hwnd(), kNoBlockMessage, kOptionWindowTitle, MB_OK | MB_ICONERROR);
    loadAll(image, doc_.folder);  // defaults for whatever is missing
  }
  doc_.lists.loadAll(doc_.folder);
  doc_.appliedLists = doc_.lists;  // what the files hold
  for (int p = 0; p < kProfileCount; ++p)
    if (!listShowsLinks(doc_.lists.profileApps[p], image.profiles[p]))
      showLinksInList(doc_.lists.profileApps[p], image.profiles[p]);
  // The stored count of macro keys may be missing or wrong; the key page's
  // limit and the saved files go by the keys.
  RecountMacroKeys(image);
  // Names of an older library that a key's copy cannot hold are cut to free
  // names (the keys follow), and macros that keys carry under names the
  // library lacks join it.
  bool renamedKeys = fitMacroNames(doc_.lists.macros, image);
  renamedKeys = fitTextMacroNames(doc_.lists.textMacros, image) || renamedKeys;
  collectMacrosFromProfiles(doc_.lists.macros, image);
  // These repair what was stored and are no edits of the user: written now,
  // the window starts with nothing to apply.
  doc_.saveChangedLists();
  if (renamedKeys) saveAll(image, doc_.folder);
  doc_.markApplied();
}

void MainWindow::refresh() {
  const int active = doc_.activeIndex();
  for (int p = 0; p < kProfileCount; ++p) {
    if (auto* selector = controlAs<SkinButton>(kFirstSelector + p)) {
      selector->setChecked(p == active);
      showProfileName(*selector, p);
    }
    EnableWindow(control(kFirstProfilePage + p), p == active);
  }
  if (auto* preview = controlAs<SkinButton>(kPreview)) preview->setChecked(doc_.active().previewOn == 1);
  refreshKeyboard();
  if (winKeyPage_) winKeyPage_->refresh();
  if (lightingPage_) lightingPage_->refresh();
  showPage(page_);
  showUnapplied();
}

// Each button shows its profile's name, cut to fit; the tooltip and the
// window text hold all of it.
void MainWindow::showProfileName(SkinButton& selector, int profile) {
  const std::string name = shownProfileName(doc_.edit->profiles[profile], profile);
  selector.setCaption(name, SkinButton::kCaptionBesideLed);
  selector.setTooltip(profileButtonHelp(name));
  SetWindowTextA(selector.hwnd(), name.c_str());
}

void MainWindow::showPage(ContentPage page) {
  page_ = page;
  const bool windowsKey = page == ContentPage::WindowsKey;
  if (!windowsKey && !lightingPage_) {
    // Made when first shown: its seven skinned windows are a third of the
    // start-up, and a user who came for the keys never looks at them.
    const SkinPosition p = readPosition("PAGEPOSITION", kLightingPage);
    lightingPage_ = std::make_unique<LightingPage>(*this);
    if (!lightingPage_->create(hwnd(), {p.rect.left, p.rect.top})) lightingPage_.reset();
  }
  if (winKeyPage_) ShowWindow(winKeyPage_->hwnd(), windowsKey ? SW_SHOW : SW_HIDE);
  if (lightingPage_) ShowWindow(lightingPage_->hwnd(), windowsKey ? SW_HIDE : SW_SHOW);
  if (auto* tab = controlAs<SkinButton>(kTabWindowsKey)) tab->setChecked(windowsKey);
  if (auto* tab = controlAs<SkinButton>(kTabLighting)) tab->setChecked(!windowsKey);
  refreshKeyboard();
}

void MainWindow::refreshKeyboard() {
  if (keyboard_) keyboard_->refresh(doc_.active(), keyboardPictureMode(page_, doc_.active()));
  // The legend and the hint say what the picture shows.
  const RECT legend = DpiScale(kLegendArea), strip = DpiScale(kHelpStrip);
  InvalidateRect(hwnd(), &legend, FALSE);
  InvalidateRect(hwnd(), &strip, FALSE);
}

void MainWindow::selectProfile(int profile) {
  doc_.edit->currentProfile = profile;
  refresh();
}

void MainWindow::onCommand(int id, int, HWND) {
  switch (id) {
    case ID_MACRO_MANAGER: {
      // Each refreshes the keyboard picture and preview-applies when it closes.
      // From here the manager edits the library for no key in particular: the
      // entry of the last key page would pick its macro's line.
      const KeyAssignment noKey{};
      RunMacroManager(*this, hwnd(), noKey);
      return;
    }
    case ID_TEXT_MACRO_MANAGER:
      RunTextMacroManager(*this, hwnd());
      return;
  }
  const int key = id - kIdBase;
  if (key >= kFirstSelector && key < kFirstSelector + kProfileCount)
    return selectProfile(key - kFirstSelector);
  if (key >= kFirstProfilePage && key < kFirstProfilePage + kProfileCount)
    return openProfilePage(key - kFirstProfilePage + 1);
  switch (key) {
    case kTabWindowsKey:
      showPage(ContentPage::WindowsKey);
      break;
    case kTabLighting:
      showPage(ContentPage::Lighting);
      break;
    case kMacroMenu:
      openMacroMenu();
      break;
    case kHelp:
      balloon().show(kHelpText, -15, 15);
      break;
    case kPreview:
      if (auto* preview = controlAs<SkinButton>(kPreview))
        doc_.active().previewOn = preview->checked() ? 1 : 0;
      edited();  // turned on, it sends what the window shows at once
      break;
    case kPreviewHelp:
      balloon().show(kPreviewHelpText, -15, 15);
      break;
    case kReset:
      resetAll();
      break;
    case kApply:
      apply(kApplyButton);
      break;
    case kMinimise:
      ShowWindow(hwnd(), SW_MINIMIZE);
      break;
    case kClose:
      closeWindow();
      break;
  }
}

void MainWindow::openKeyPage(int keyIndex) {
  editProfile_ = doc_.activeIndex();
  editEntry_ = doc_.active().keys[keyIndex];
  editEntry_.keyIndex = uint8_t(keyIndex);
  // On OK the page posts UM_KEY_ASSIGNED; storeAssignedKey() takes the entry
  // into the profile the key was clicked in, even when the monitor has
  // switched the window to another profile meanwhile.
  KeyAssignPage(*this, editEntry_, doc_.edit->profiles[editProfile_]).open(hwnd());
}

void MainWindow::openMacroMenu() {
  HWND button = control(kMacroMenu);
  if (!button) return;
  SkinMenu menu;
  menu.setMinimumWidth(kMacroMenuWidth);
  menu.append(ID_MACRO_MANAGER, text(IDS_MACRO_MANAGER));
  menu.append(ID_TEXT_MACRO_MANAGER, text(IDS_TEXT_MACRO_MANAGER));
  RECT r;
  GetWindowRect(button, &r);
  menu.track(hwnd(), r.left, r.bottom);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}

// The page edits a copy of its list; Cancel drops it. After OK the list is
// the profile's links in the edited image, and both reach the files and the
// monitor together, at the next apply: the list on a page and the programs
// that switch never disagree.
void MainWindow::openProfilePage(int page) {
  ProfilePage profilePage(*this, page);
  if (!profilePage.open(hwnd())) return;
  const ProfilePageOutcome outcome =
      applyProfilePage(*doc_.edit, doc_.lists.profileApps, profilePage.state(), profilePage.programs());
  showUnapplied();
  if (outcome.refresh) refresh();
  if (outcome.applyAfterReset) apply(kApplyReset);
  if (outcome.edited) edited();
}

void MainWindow::closeWindow() {
  // An apply in flight ends first; the window closes when it is through.
  if (busy_) {
    closeAfterApply_ = true;
    return;
  }
  if (GetCapture() == hwnd()) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    ReleaseCapture();
  }
  if (!unapplied()) return end(IDCANCEL);
  switch (UnappliedWarnDialog().ask(hwnd())) {
    case CloseChoice::Apply:
      closeAfterApply_ = true;
      apply(kApplyButton);
      return;
    case CloseChoice::Discard:
      // Nothing of the session reaches a file: the libraries and lists are
      // written at Apply only, with the keys.
      return end(IDCANCEL);
    case CloseChoice::Stay:
      return;
  }
}

bool MainWindow::dragsAt(POINT client) const {
  return !busy_ && (client.y < DpiScale(kDragTop) || client.y > DpiScale(kDragBottom));
}

void MainWindow::showHelp() {
  const std::string& now = QuickHelpText();
  if (now == helpText_) return;
  helpText_ = now;
  const RECT strip = DpiScale(kHelpStrip);
  InvalidateRect(hwnd(), &strip, FALSE);
}

void MainWindow::paintOver(HDC dc) {
  drawText(dc, firmwareText_, kFirmwareArea, 14, RGB(230, 230, 230), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  drawText(dc, kSoftwareVersionText, kSoftwareArea, 14, RGB(230, 230, 230),
           DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (pendingShown_) drawText(dc, kPendingText, kPendingArea, 13, kStatusColour, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  const bool help = !helpText_.empty(), status = !help && !status_.empty();
  const KeyboardPictureMode mode = keyboardPictureMode(page_, doc_.active());
  const std::string line = help ? helpText_ : status ? status_ : keyboardHint(mode);
  const COLORREF colour =
      help ? RGB(200, 200, 200) : status ? (statusFault_ ? kStatusColour : kDoneColour) : RGB(110, 110, 110);
  drawText(dc, line, kHelpStrip, 14, colour, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  paintLegend(dc, keyboardLegend(mode));
}

// Where the keys show lights, not functions, the skin's legend of function
// colours would mislead: the panel says what the colours are instead.
void MainWindow::paintLegend(HDC dc, const KeyboardLegend& legend) {
  if (legend.skinLegend) return;
  HBRUSH panel = CreateSolidBrush(RGB(26, 26, 26));
  const RECT area = DpiScale(kLegendArea);
  FillRect(dc, &area, panel);
  DeleteObject(panel);
  HFONT font = CreateFontA(-DpiScale(13), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(232, 232, 232));
  TextOutA(dc, DpiScale(826), DpiScale(306), legend.title.c_str(), int(legend.title.size()));
  SelectObject(dc, old);
  DeleteObject(font);
  int y = 336;
  for (const std::string& text : legend.lines) {
    drawText(dc, text, RECT{826, y, 1030, y + 18}, 14, RGB(170, 170, 170), DT_LEFT | DT_SINGLELINE);
    y += 20;
  }
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case UM_KEY_ASSIGNED:
      storeAssignedKey();
      return 0;
    case MSG_SHOW_HELP:
      showHelp();
      return 0;
    case UM_PROFILE_SWITCHED:
      takeBlock();
      return 0;
    case UM_APPLY_DONE:
      // A late answer to an apply that timed out, or a preview's answer,
      // does not end the wait of the apply under way.
      if (applyWait_.answers(wParam)) applyFinished(monitorApplyOutcome(unsigned(lParam)));
      return 0;
    case UM_KEYBOARD_LINK:
      keyboardLinkChanged(wParam != 0);
      return 0;
    case WM_TIMER:
      if (wParam != kConfirmTimer) break;
      KillTimer(hwnd(), kConfirmTimer);
      if (busy_) applyFinished(ApplyOutcome::NotConfirmed);
      return 0;
    case UM_RELOAD_SETTINGS:
      reloadSettings();
      return 0;
    case UM_TAKE_PROFILE:
      takeProfile();
      return 0;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (data && data->dwData == kImportProfileDataId) return importFromCommandLine(data);
      break;
    }
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_MOUSEWHEEL:
      return defaultProc(message, wParam, lParam);
    case WM_DPICHANGED:
      onDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}

void MainWindow::onDestroyed() {
  rememberPlace();
  block_.close();
  keyboard_.reset();
  lightingPage_.reset();
  winKeyPage_.reset();
  language_.unload();
}
