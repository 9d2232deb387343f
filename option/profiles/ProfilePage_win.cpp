#include "ProfilePage_win.h"

#include <cstring>

#include "BitmapEdit_win.h"
#include "BoundedText.h"
#include "ProfileNameRules.h"
#include "ProfileRefusedDialog_win.h"
#include "ProfileShareRules.h"
#include "ProfileTransfer_win.h"
#include "ProgramList_win.h"
#include "ResetWarnDialog_win.h"
#include "SkinButton_win.h"
#include "SkinListBox_win.h"
#include "SkinMenu_win.h"
#include "SkinMessages.h"
#include "SkinPictures_win.h"
#include "TextCodec_win.h"

namespace {
enum Control {
  kList = 1,
  kAdd,
  kRemove,
  kCopyBox,
  kCopyTarget,
  kReset,
  kOk,
  kCancel,
  kClose,
  kShowPath,      // page 1 only: the full path of the selected program
  kExport,        // the profile to a file
  kImport,        // a profile file in place of the profile, at OK
  kDesktop = 16,  // the profile to return to when no linked program is in front
  kName = 20,     // the profile's name
};
constexpr int kIdBase = 400;
constexpr int kListIdentifier = 8194;

enum HelpTag { kNoHelp = 0, kLinkHelp, kCopyHelp, kResetHelp, kShareHelp, kDesktopHelp };
const char* const kHelpTexts[] = {
    "",
    "Link programs to this profile: it\nbecomes active when one of them\ncomes to the front.",
    "Copy this profile's settings onto\nanother profile; that one keeps its\nown linked programs.",
    "Return this profile to its default\nsettings when you click OK.",
    "Save this profile to a file to share\nit, or load a profile file into it.",
    "Use this profile when no linked program is in front\n(2 s after a linked program leaves).",
};
constexpr RECT kHelpArea{22, 256, 210, 306};  // inside the dark well at the lower left

constexpr COLORREF kListBackground = 0x323232, kListSelection = RGB(150, 0, 0), kListText = 0x5959BE;
constexpr int kListLineHeight = 20;

std::string skinFile(int page) { return "buttons\\skin_profile" + std::to_string(page) + ".ini"; }

}  // namespace

bool ProfilePage::open(HWND owner) {
  const int controls = state_.page == 1 ? kShowPath : kClose;
  const std::string title = host_.text(kProfileNameTextFirst + state_.profile());
  // Each range is a first key and a count.
  return runModal({skinFile(state_.page),
                   SkinRoot(),
                   {{1, controls}, {kExport, kImport - kExport + 1}, {kDesktop, 1}, {kName, 1}},
                   {}},
                  title.c_str(), owner) == IDOK;
}

// A name may hold blanks: Space typed into the name field is a character.
bool ProfilePage::preTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_SPACE && msg.hwnd == control(kName)) return false;
  return SkinDialog::preTranslate(msg);
}

HWND ProfilePage::createControl(int, int key, const SkinPosition& position,
                                const SkinStatePictures& pictures) {
  if (key == kList) {
    SkinListBox* list =
        SkinListBox::CreateOnPage(hwnd(), kIdBase + key, position, kListIdentifier, kListBackground,
                                  kListSelection, kListText, kListLineHeight);
    return list ? list->hwnd() : nullptr;
  }
  if (key == kName) return createNameField(position);
  SkinButton* button =
      SkinButton::Create(hwnd(), kIdBase + key, position, pictures, key == kCopyBox || key == kDesktop);
  if (!button) return nullptr;
  switch (key) {
    case kAdd:
    case kRemove:
      button->setTag(kLinkHelp);
      break;
    case kCopyBox:
    case kCopyTarget:
      button->setTag(kCopyHelp);
      break;
    case kReset:
      button->setTag(kResetHelp);
      break;
    case kExport:
    case kImport:
      button->setTag(kShareHelp);
      break;
    case kDesktop:
      button->setTag(kDesktopHelp);
      break;
  }
  return button->hwnd();
}

// The name field sits in the skin's well: light text on its dark ground.
HWND ProfilePage::createNameField(const SkinPosition& position) {
  BitmapEdit* edit = BitmapEdit::Create(hwnd(), kIdBase + kName, position);
  if (!edit) return nullptr;
  edit->setColors(RGB(232, 232, 232), RGB(9, 9, 9));
  SendMessageA(edit->hwnd(), EM_LIMITTEXT, kMaxProfileNameBytes, 0);
  return edit->hwnd();
}

void ProfilePage::showName(const std::string& name) {
  if (HWND field = control(kName)) SetWindowTextA(field, name.c_str());
}

void ProfilePage::takeName() {
  HWND field = control(kName);
  if (!field) return;
  const int length = GetWindowTextLengthA(field);
  std::string typed(size_t(length) + 1, '\0');
  typed.resize(size_t(GetWindowTextA(field, typed.data(), length + 1)));
  state_.name =
      profileNameFromField(typed, [](unsigned char lead) -> size_t { return IsDBCSLeadByte(lead) ? 2 : 1; });
  state_.named = true;
}

SkinListBox* ProfilePage::list() const { return controlAs<SkinListBox>(kList); }

void ProfilePage::onInit() {
  setDialogKeys(kOk, kCancel);
  if (SkinListBox* lines = list()) {
    for (const AppPathEntry& entry : apps()) lines->addLine(programDisplayName(entry.path), 0);
    SendMessageA(lines->hwnd(), LB_SETCURSEL, apps().empty() ? WPARAM(-1) : 0, 0);
  }
  showName(shownProfileName(host_.document().edit->profiles[state_.profile()], state_.profile()));
  showCopyTarget();
  if (auto* box = controlAs<SkinButton>(kCopyBox)) box->setChecked(state_.copyBoxOn);
  EnableWindow(control(kCopyTarget), state_.copyBoxOn);
  if (auto* box = controlAs<SkinButton>(kDesktop))
    box->setChecked(isDesktopProfile(*host_.document().edit, state_.page));
}

void ProfilePage::showCopyTarget() {
  if (auto* target = controlAs<SkinButton>(kCopyTarget))
    target->setCaption(host_.text(state_.copyTargetTextId()));
}

void ProfilePage::onCommand(int id, int, HWND) {
  if (id >= int(kCopyTargetFirstCommand) && id < int(kCopyTargetFirstCommand) + kProfileCount) {
    state_.chooseCopyTarget(unsigned(id));
    showCopyTarget();
    return;
  }
  switch (id - kIdBase) {
    case kAdd:
      addProgram();
      break;
    case kRemove:
      removeProgram();
      break;
    case kCopyBox:
      if (auto* box = controlAs<SkinButton>(kCopyBox)) state_.copyBoxOn = box->checked();
      EnableWindow(control(kCopyTarget), state_.copyBoxOn);
      break;
    case kCopyTarget:
      chooseCopyTarget();
      break;
    case kDesktop:
      if (auto* box = controlAs<SkinButton>(kDesktop)) state_.desktopChoice = box->checked() ? 1 : 0;
      break;
    case kReset:
      clickReset();
      break;
    case kOk:
      importChosen();
      takeName();
      end(IDOK);
      break;
    case kCancel:
    case kClose:
      end(IDCANCEL);
      break;
    case kShowPath:
      showSelectedPath();
      break;
    case kExport:
      exportProfile();
      break;
    case kImport:
      chooseImport();
      break;
  }
}

void ProfilePage::addProgram() {
  const std::string file = ChooseProgram(hwnd());
  if (file.empty()) return;
  addPath(apps(), file);
  if (SkinListBox* lines = list()) {
    const int line = lines->addLine(programDisplayName(file), 0);
    SendMessageA(lines->hwnd(), LB_SETCURSEL, WPARAM(line), 0);
  }
}

void ProfilePage::removeProgram() {
  if (SkinListBox* lines = list()) RemoveSelectedProgram(*lines, apps());
}

void ProfilePage::chooseCopyTarget() {
  HWND target = control(kCopyTarget);
  if (!target) return;
  SkinMenu menu("play", 16, FW_NORMAL);
  for (const CopyMenuEntry& entry : copyMenuEntries(state_.page))
    menu.append(entry.command, host_.text(entry.textId));
  RECT r;
  GetWindowRect(target, &r);
  menu.track(hwnd(), r.left, r.bottom);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void ProfilePage::clickReset() {
  if (state_.resetClickAsksFirst() && ResetWarnDialog(state_.page).ask(hwnd())) state_.arm();
  showResetArmed();
}

// Armed, the button stays down: the next click disarms it, and the user
// must be able to see which click that is.
void ProfilePage::showResetArmed() {
  if (auto* reset = controlAs<SkinButton>(kReset)) reset->setChecked(state_.resetArmed);
}

void ProfilePage::showSelectedPath() {
  SkinListBox* lines = list();
  const int selected = lines ? int(SendMessageA(lines->hwnd(), LB_GETCURSEL, 0, 0)) : -1;
  if (const AppPathEntry* entry = getEntry(apps(), selected)) balloon().show(entry->path, -15, 15);
}

// The profile as the user edits it, applied or not: what the page shows is
// what the file holds.
void ProfilePage::exportProfile() {
  const ProfileRecord& profile = host_.document().edit->profiles[state_.profile()];
  const std::wstring file = ChooseProfileFileToSave(hwnd(), profileFileName(profile));
  if (file.empty()) return;
  std::string error;
  if (!WriteProfileFileAt(file, profile, host_.lists().macros, error)) {
    MessageBoxW(hwnd(), wideFromUtf8(error).c_str(), L"Profile not exported", MB_OK | MB_ICONWARNING);
    return;
  }
  const size_t slash = file.find_last_of(L"\\/");
  setStatus("Saved as " + utf8FromWide(file.substr(slash == std::wstring::npos ? 0 : slash + 1)) + ".");
}

// The file is read and checked now, so that the user hears at once what is
// wrong with it, and sees what it brings; it replaces the profile only when
// the page closes with OK.
void ProfilePage::chooseImport() {
  const std::wstring file = ChooseProfileFileToOpen(hwnd());
  if (file.empty()) return;
  auto shared = std::make_unique<SharedProfile>();
  std::string error;
  if (!ReadProfileFileAt(file, *shared, error)) {
    ProfileRefusedDialog(refusalText(error)).show(hwnd());
    return;
  }
  import_ = std::move(shared);
  const ProfileRecord& incoming = *import_->profile;
  OptionDocument& doc = host_.document();
  const ImportSummary preview =
      previewImport(*import_, doc.edit->profiles[state_.profile()], doc.lists.macros, doc.lists.textMacros);
  std::string text = importPreview(incoming, preview), utf8;
  if (systemTextCodec().toUtf8(text, systemTextCodec().codePage(), utf8)) text = utf8;
  setStatus(text);
  showName(profileNameFromField(boundedText(incoming.profileName)));
}

void ProfilePage::importChosen() {
  if (!import_) return;
  ImportSummary summary;
  importIntoDocument(host_.document(), state_.profile(), *import_, summary);
  state_.imported = true;
  import_.reset();
}

void ProfilePage::setStatus(const std::string& status) {
  status_ = status;
  InvalidateRect(hwnd(), &kHelpArea, FALSE);
}

LRESULT ProfilePage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MSG_CONTROL_HOVER) {
    const int tag = int(lParam);
    const std::string text = wParam && tag > kNoHelp && tag <= kDesktopHelp ? kHelpTexts[tag] : "";
    if (text != help_) {
      help_ = text;
      InvalidateRect(hwnd(), &kHelpArea, FALSE);
    }
    return 0;
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}

void ProfilePage::paintOver(HDC dc) {
  const bool help = !help_.empty();
  if (!help && status_.empty()) return;
  HFONT font = CreateFontA(DpiScale(12), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, help ? RGB(200, 200, 200) : RGB(230, 230, 120));
  RECT area = kHelpArea;
  const std::wstring text = wideFromUtf8(help ? help_ : status_);
  DrawTextW(dc, text.c_str(), int(text.size()), &area, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  DeleteObject(font);
}
