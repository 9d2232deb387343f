#include "MainWindow_win.h"

#include <algorithm>

#include "KeyAssignPage_win.h"
#include "Language.h"
#include "LightingPage_win.h"
#include "MacroManager_win.h"
#include "OptionResources.h"
#include "ProfilePage_win.h"
#include "ProgramFolder_win.h"
#include "SkinButton_win.h"
#include "SkinHelp_win.h"
#include "SkinMenu_win.h"
#include "SkinMessages.h"
#include "TextMacroManager_win.h"
#include "WinKeyPage_win.h"

namespace {
constexpr int kIdBase = 100;
enum PagePosition { kWindowsKeyPage = 1, kLightingPage = 2, kKeyboardPage = 3 };

constexpr char kHelpText[] = "Select the sub-menus and set your\npersonal configuration of keyboard.";
constexpr char kPreviewHelpText[] =
    "Turn Preview ON to see the changes\nyou make on-the-fly before you save it.";
constexpr char kHelpHint[] =
    "Click a key to assign its function  \xB7  Ctrl+click paints keys in custom lighting";
constexpr int kMacroMenuWidth = 163;

constexpr COLORREF kStatusColour = RGB(230, 80, 80);
constexpr int kDragTop = 40, kDragBottom = 590;  // the title bar and the bottom rule

void drawText(HDC dc, const std::string& text, RECT area, int height, COLORREF colour, UINT format) {
  HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play");
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
  for (int p = 0; p < kProfileCount; ++p)
    if (!listShowsLinks(doc_.lists.profileApps[p], image.profiles[p])) {
      showLinksInList(doc_.lists.profileApps[p], image.profiles[p]);
      doc_.profileListsChanged = true;
    }
  // The stored count of macro keys may be missing or wrong; the key page's
  // limit and the saved files go by the keys.
  RecountMacroKeys(image);
  doc_.collectMacros();
}

void MainWindow::refresh() {
  const int active = doc_.activeIndex();
  for (int p = 0; p < kProfileCount; ++p) {
    if (auto* selector = controlAs<SkinButton>(kFirstSelector + p)) selector->setChecked(p == active);
    EnableWindow(control(kFirstProfilePage + p), p == active);
  }
  if (auto* preview = controlAs<SkinButton>(kPreview)) preview->setChecked(doc_.active().previewOn == 1);
  refreshKeyboard();
  if (winKeyPage_) winKeyPage_->refresh();
  if (lightingPage_) lightingPage_->refresh();
  showPage(page_);
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
  doc_.profileListsChanged = true;
  if (outcome.refresh) refresh();
  if (outcome.applyAfterReset) apply(kApplyReset);
  if (outcome.edited) edited();
}

void MainWindow::closeWindow() {
  if (GetCapture() == hwnd()) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    ReleaseCapture();
  }
  end(IDCANCEL);
}

bool MainWindow::dragsAt(POINT client) const {
  return !busy_ && (client.y < kDragTop || client.y > kDragBottom);
}

void MainWindow::placeWindow(HWND) {
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  const SIZE size = skin().size;
  SetWindowPos(hwnd(), nullptr, area.left + std::max(0L, (area.right - area.left - size.cx) / 2),
               area.top + std::max(0L, (area.bottom - area.top - size.cy) / 2), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::showHelp() {
  const std::string& now = QuickHelpText();
  if (now == helpText_) return;
  helpText_ = now;
  InvalidateRect(hwnd(), &kHelpStrip, FALSE);
}

void MainWindow::paintOver(HDC dc) {
  drawText(dc, firmwareText_, kFirmwareArea, 14, RGB(230, 230, 230), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  drawText(dc, kSoftwareVersionText, kSoftwareArea, 14, RGB(230, 230, 230),
           DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  const bool help = !helpText_.empty(), status = !help && !status_.empty();
  const std::string& line = help ? helpText_ : status ? status_ : std::string(kHelpHint);
  const COLORREF colour = help ? RGB(200, 200, 200) : status ? kStatusColour : RGB(110, 110, 110);
  drawText(dc, line, kHelpStrip, 14, colour, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
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
      applyConfirmed();
      return 0;
    case WM_TIMER:
      if (wParam != kConfirmTimer) break;
      applyUnconfirmed();
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
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}

void MainWindow::onDestroyed() {
  block_.close();
  keyboard_.reset();
  lightingPage_.reset();
  winKeyPage_.reset();
  language_.unload();
}
