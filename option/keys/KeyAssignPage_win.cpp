#include "KeyAssignPage_win.h"

#include <cstdio>

#include "BitmapEdit_win.h"
#include "KeyCodes.h"
#include "KeyboardHook_win.h"
#include "KeyboardKeyPage_win.h"
#include "KeyboardLayout_win.h"
#include "LaunchAppPage_win.h"
#include "OptionMessages.h"
#include "SkinButton_win.h"
#include "SkinMenu_win.h"
#include "SkinPictures_win.h"

namespace {
enum Control {
  kCategory = 1,
  kPlayMode = 2,
  kPlayCount = 3,
  kRepeatDelay = 4,
  kTriggerPress = 5,
  kTriggerRelease = 6,
  kOk = 7,
  kCancel = 8,
  kSubPageArea = 9,
  kCountHelp = 10,
  kAssignHelp = 11,
  kControlCount = 11,
};
constexpr int kIdBase = 200;  // buttons: base + BUTTONPOS key

constexpr char kPageTitle[] = "Key Assignment";
constexpr char kCountHelpText[] =
    "With Play N Times the key plays its macro\nthis many times, with the pause in ms\nbetween the times.";
constexpr char kAssignHelpText[] =
    "Give the selected key another function:\na key combination, a media key, a macro,\na program to "
    "launch or a shortcut; or\ndisable it.";
constexpr int kCountHelpOffsetY = 10;
constexpr int kAssignHelpOffsetY = 18;
constexpr int kHelpOffsetX = -15;

// The skin's wells: light text on their dark ground (grey when disabled).
constexpr COLORREF kEditText = RGB(232, 232, 232), kEditBackground = RGB(9, 9, 9);

// The edited key's name, in the dark well beside the category selector.
constexpr RECT kKeyNameArea{145, 45, 209, 85};
constexpr char kKeyNameFace[] = "Play";
constexpr int kKeyNameHeight = 18;
constexpr COLORREF kKeyNameColour = 0x0000FF;

constexpr char kMenuFace[] = "Play";
constexpr int kMenuHeight = 16;
constexpr int kCategoryMenuWidth = 167;
constexpr int kCategoryMenuIndent = 3;
constexpr int kPlayModeMenuWidth = 143;
constexpr int kPlayModeMenuIndent = 2;
constexpr int kPlayModeMenuRise = 2;

size_t indexOf(KeySubPage page) { return size_t(page); }
}  // namespace

KeyAssignPage::~KeyAssignPage() { stopCapture(); }

bool KeyAssignPage::open(HWND owner) {
  const int k = entry_.keyIndex < kKeyCount ? entry_.keyIndex : 0;
  keyName_ = keyName(defaultUsageOf[k], systemKeyboardLayout());
  const SkinSource source{"buttons\\skin_set_button.ini", SkinRoot(), {{1, kControlCount}}, {}};
  // Programs added to or deleted from the launch list go with the page's
  // other edits: Cancel puts the list back as the page found it (the file
  // may not hold it yet: the list is written at Apply).
  OptionDocument& doc = host_.document();
  AppList atOpen = doc.lists.launchApps;
  if (runModal(source, kPageTitle, owner) == IDOK) return true;
  doc.lists.launchApps = std::move(atOpen);
  return false;
}

HWND KeyAssignPage::createControl(int, int key, const SkinPosition& position,
                                  const SkinStatePictures& pictures) {
  if (key == kSubPageArea) return nullptr;
  if (key == kPlayCount || key == kRepeatDelay) {
    const bool count = key == kPlayCount;
    BitmapEdit* edit = BitmapEdit::Create(hwnd(), count ? kPlayCountEditId : kRepeatDelayEditId, position);
    if (!edit) return nullptr;
    edit->setColors(kEditText, kEditBackground);
    edit->setDecimalFilter(true);
    SendMessageA(edit->hwnd(), EM_SETLIMITTEXT, count ? kPlayCountMaxChars : kRepeatDelayMaxChars, 0);
    return edit->hwnd();
  }
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void KeyAssignPage::onInit() {
  setDialogKeys(kOk, kCancel);
  refresh();
}

// Sub-pages are made the first time their category shows: each is a skinned
// window with pictures to decode, and a key is mostly given one category.
AssignSubPage* KeyAssignPage::subPage(KeySubPage which) {
  const size_t i = indexOf(which);
  if (which == KeySubPage::Macro || made_[i]) return subPages_[i].get();
  made_[i] = true;
  switch (which) {
    case KeySubPage::Default:
      subPages_[i] = std::make_unique<DefaultKeyPage>(host_, entry_);
      break;
    case KeySubPage::KeyboardKey:
      subPages_[i] = std::make_unique<KeyboardKeyPage>(host_, entry_);
      break;
    case KeySubPage::Media:
      subPages_[i] = MakeMediaPage(host_, entry_);
      break;
    case KeySubPage::Launch:
      subPages_[i] = std::make_unique<LaunchAppPage>(host_, entry_);
      break;
    case KeySubPage::Shortcut:
      subPages_[i] = MakeShortcutPage(host_, entry_);
      break;
    case KeySubPage::Macro:
      break;
  }
  AssignSubPage* page = subPages_[i].get();
  if (page && !page->create(hwnd(), subPageOrigin())) {
    subPages_[i].reset();
    return nullptr;
  }
  if (page) {
    ShowWindow(page->hwnd(), SW_HIDE);
    page->refresh();
  }
  return page;
}

MacroPage* KeyAssignPage::macroPage() {
  if (!macroMade_) {
    macroMade_ = true;
    macroPage_ = std::make_unique<MacroPage>(host_, profile_);
    if (!macroPage_->create(hwnd(), subPageOrigin(), entry_)) macroPage_.reset();
  }
  return macroPage_.get();
}

POINT KeyAssignPage::subPageOrigin() const {
  const SkinPosition* area = position(kSubPageArea);
  return area ? POINT{area->rect.left, area->rect.top} : POINT{};
}

void KeyAssignPage::refresh() {
  showCategory();
  char number[16];
  std::snprintf(number, sizeof number, "%d", int(entry_.playCount));
  SetWindowTextA(control(kPlayCount), number);
  std::snprintf(number, sizeof number, "%d", int(entry_.repeatDelayMs));
  SetWindowTextA(control(kRepeatDelay), number);
  showTrigger();
  for (auto& page : subPages_)
    if (page) page->refresh();
  applyEnabling(ApplyEnablingRules(entry_));
  showPlayMode();
}

void KeyAssignPage::showCategory() {
  const CategoryView view = ViewOfCategory(entry_.category);
  AssignSubPage* next = subPage(view.page);
  if (shown_ && shown_ != next) ShowWindow(shown_->hwnd(), SW_HIDE);
  if (next) ShowWindow(next->hwnd(), SW_SHOW);
  shown_ = next;
  const bool macro = view.page == KeySubPage::Macro;
  if (MacroPage* page = macro ? macroPage() : macroPage_.get()) {
    if (macro) page->refresh();
    page->show(macro);
  }
  if (auto* selector = controlAs<SkinButton>(kCategory)) selector->setCaption(host_.text(view.labelId));
}

void KeyAssignPage::applyEnabling(const KeyControlStates& states) {
  EnableWindow(control(kPlayMode), states.playModeSelector);
  EnableWindow(control(kPlayCount), states.playCount);
  EnableWindow(control(kRepeatDelay), states.repeatDelay);
  EnableWindow(control(kTriggerPress), states.trigger);
  EnableWindow(control(kTriggerRelease), states.trigger);
}

void KeyAssignPage::showPlayMode() {
  if (auto* selector = controlAs<SkinButton>(kPlayMode)) selector->setCaption(PlayModeText(entry_.playMode));
}

void KeyAssignPage::showTrigger() {
  const int highlighted = HighlightedTriggerPosition(entry_);
  if (auto* press = controlAs<SkinButton>(kTriggerPress)) press->setChecked(highlighted == kTriggerPress);
  if (auto* release = controlAs<SkinButton>(kTriggerRelease))
    release->setChecked(highlighted == kTriggerRelease);
}

void KeyAssignPage::stopCapture() {
  // The hook must never outlive the choice that made it pointless.
  StopKeyCapture();
  for (auto& page : subPages_)
    if (page) page->abandonCapture();
}

void KeyAssignPage::onCommand(int id, int, HWND) {
  stopCapture();
  if (id >= int(kCategoryCommandFirst) && id <= int(kCategoryCommandLast)) {
    ChooseCategory(entry_, unsigned(id));
    refresh();
    return;
  }
  if (id >= int(kPlayModeCommandFirst) && id <= int(kPlayModeCommandLast)) {
    applyEnabling(ChoosePlayMode(entry_, unsigned(id)));
    showPlayMode();
    return;
  }
  switch (id - kIdBase) {
    case kCategory:
      openCategoryMenu();
      break;
    case kPlayMode:
      openPlayModeMenu();
      break;
    case kTriggerPress:
    case kTriggerRelease:
      ChooseTrigger(entry_, id - kIdBase);
      showTrigger();
      break;
    case kOk:
      confirm();
      break;
    case kCancel:
      end(IDCANCEL);
      break;
    case kCountHelp:
      balloon().show(kCountHelpText, kHelpOffsetX, kCountHelpOffsetY);
      break;
    case kAssignHelp:
      balloon().show(kAssignHelpText, kHelpOffsetX, kAssignHelpOffsetY);
      break;
  }
}

void KeyAssignPage::openCategoryMenu() {
  HWND selector = control(kCategory);
  if (!selector) return;
  SkinMenu menu(kMenuFace, kMenuHeight);
  menu.setMinimumWidth(kCategoryMenuWidth);
  for (const KeyMenuEntry& line : CategoryMenu(MacroBufferFor(profile_, entry_.keyIndex)))
    menu.append(line.separator() ? kMenuSeparatorCommand : line.command,
                line.separator() ? std::string() : host_.text(line.textId));
  RECT r;
  GetWindowRect(selector, &r);
  menu.track(hwnd(), r.left + kCategoryMenuIndent, r.bottom);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void KeyAssignPage::openPlayModeMenu() {
  HWND selector = control(kPlayMode);
  if (!selector) return;
  SkinMenu menu(kMenuFace, kMenuHeight);
  menu.setMinimumWidth(kPlayModeMenuWidth);
  for (const KeyMenuEntry& line : PlayModeMenu()) menu.append(line.command, line.text);
  RECT r;
  GetWindowRect(selector, &r);
  menu.track(hwnd(), r.left + kPlayModeMenuIndent, r.bottom - kPlayModeMenuRise);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}

std::string KeyAssignPage::editText(int key) const {
  char text[16] = {};
  GetWindowTextA(control(key), text, sizeof text);
  return text;
}

void KeyAssignPage::checkPlayCount() {
  const CountEditResult result = CheckPlayCountWhileTyping(editText(kPlayCount));
  if (!result.store) return;
  entry_.playCount = result.value;
  if (!result.rewrite) return;
  char number[16];
  std::snprintf(number, sizeof number, "%d", result.value);
  HWND edit = control(kPlayCount);
  SetWindowTextA(edit, number);
  SendMessageA(edit, EM_SETSEL, WPARAM(-1), -1);
}

void KeyAssignPage::confirm() {
  // An incomplete choice is not taken silently: the page stays, says what is
  // missing beside OK, and Cancel keeps the key as it was.
  if (const char* reason = IncompleteEntryReason(entry_, profile_)) {
    RECT ok{};
    GetWindowRect(control(kOk), &ok);
    const POINT at{(ok.left + ok.right) / 2, ok.top};
    balloon().show(reason, 0, 0, &at);
    return;
  }
  ConfirmEntry(entry_, editText(kPlayCount), editText(kRepeatDelay), profile_);
  PostMessageA(host_.window(), UM_KEY_ASSIGNED, 0, 0);
  end(IDOK);
}

LRESULT KeyAssignPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == BitmapEdit::KillFocusMessage()) {
    checkPlayCount();
    return 0;
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}

void KeyAssignPage::onDestroyed() { stopCapture(); }

void KeyAssignPage::paintOver(HDC dc) {
  if (keyName_.empty()) return;
  UniqueFont font(CreateFontA(DpiScale(kKeyNameHeight), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                              0, kKeyNameFace));
  HGDIOBJ old = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kKeyNameColour);
  RECT area = kKeyNameArea;
  DrawTextA(dc, keyName_.c_str(), int(keyName_.size()), &area,
            DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
}
