#include "TextMacroManager_win.h"

#include <windowsx.h>

#include "BitmapEdit_win.h"
#include "DeleteQuestion.h"
#include "KeyMessages.h"
#include "KeyboardLayout_win.h"
#include "MacroBinding.h"
#include "MacroIds.h"
#include "MacroWarning_win.h"
#include "MacroWindows_win.h"
#include "SkinButton_win.h"
#include "SkinMessages.h"

namespace {
enum Control {
  kOk = 1,
  kCancel,
  kClose,
  kNew,
  kDelete,
  kNames,
  kKeyBefore,
  kKeyAfter,
  kClearBefore,
  kClearAfter,
  kDelay,
  kText,
  kControlCount = kText,
};
constexpr int kIdBase = 600;

bool isButton(int key) { return (key >= kOk && key <= kDelete) || (key >= kKeyBefore && key <= kClearAfter); }

KeySlot slotOf(int key) {
  return key == kKeyBefore || key == kClearBefore ? KeySlot::Before : KeySlot::After;
}

bool isEditWindow(HWND window) {
  char name[16] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, "Edit") == 0;
}

// The mouse button a press message stands for, if it is one.
std::optional<MouseButton> pressedButton(const MSG& msg) {
  switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return MouseButton::Middle;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      return GET_XBUTTON_WPARAM(msg.wParam) == XBUTTON1 ? MouseButton::X1 : MouseButton::X2;
  }
  return std::nullopt;
}
}  // namespace

TextMacroManagerDialog::TextMacroManagerDialog(OptionHost& host)
    : host_(host), session_(host.lists().textMacros) {}

bool TextMacroManagerDialog::open(HWND owner) {
  return runModal({kTextMacroManagerSkin, SkinRoot(), {{1, kControlCount}}, {}}, kTextMacroManagerTitle,
                  owner) == IDOK;
}

HWND TextMacroManagerDialog::createControl(int, int key, const SkinPosition& position,
                                           const SkinStatePictures& pictures) {
  switch (key) {
    case kNames: {
      SkinListBox* list = CreateMacroList(hwnd(), kIdBase + key, position, kTextMacroNameListId);
      if (!list) return nullptr;
      list->setNewLineText(std::string(kNewTextMacroLineText));
      list->setRename(true);
      list->setKeptLength(int(kMaxNameLength));
      return list->hwnd();
    }
    case kDelay: {
      BitmapEdit* edit = BitmapEdit::Create(hwnd(), kTextDelayEditId, position);
      if (!edit) return nullptr;
      edit->setColors(kMacroEditText, kMacroEditBackground);
      edit->setDecimalFilter(true);
      SetWindowLongPtrA(edit->hwnd(), GWL_STYLE, GetWindowLongPtrA(edit->hwnd(), GWL_STYLE) | ES_NUMBER);
      return edit->hwnd();
    }
    case kText: {
      BitmapEdit* edit = BitmapEdit::CreateMultiLine(hwnd(), kTextEditId, position);
      if (!edit) return nullptr;
      edit->setColors(kMacroEditText, kMacroEditBackground);
      SendMessageA(edit->hwnd(), EM_LIMITTEXT, kMaxTextMacroLength, 0);
      return edit->hwnd();
    }
  }
  const bool toggle = key == kKeyBefore || key == kKeyAfter;
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures, toggle);
  return button ? button->hwnd() : nullptr;
}

SkinListBox* TextMacroManagerDialog::names() const { return controlAs<SkinListBox>(kNames); }

void TextMacroManagerDialog::onInit() {
  setDialogKeys(kOk, kCancel);
  SetWindowTextA(hwnd(), kTextMacroManagerTitle);
  session_.open();
  if (SkinListBox* list = names()) {
    ReplaceLines(*list, namesOf(host_.lists().textMacros));
    SelectLine(*list, session_.current());
  }
  showTextMacro();
}

void TextMacroManagerDialog::setEditText(int key, const std::string& text) {
  HWND edit = control(key);
  if (edit && WindowText(edit) != text) SetWindowTextA(edit, text.c_str());
}

void TextMacroManagerDialog::showTextMacro() {
  showing_ = true;
  setEditText(kDelay, session_.delayText());
  setEditText(kText, std::string(session_.text()));
  showing_ = false;
  showKeys();
}

void TextMacroManagerDialog::showKeys() {
  for (int key : {kKeyBefore, kKeyAfter}) {
    if (auto* button = controlAs<SkinButton>(key)) {
      const KeySlot slot = slotOf(key);
      button->setCaption(session_.keyButtonText(slot, systemKeyboardLayout()));
      button->setChecked(session_.capturing() == slot);
    }
  }
}

void TextMacroManagerDialog::onCommand(int id, int code, HWND) {
  // A click finished the name editor at its press already; a button's
  // command that came another way finishes it here.
  if (isButton(id - kIdBase)) finishNaming();
  switch (id - kIdBase) {
    case kOk:
      editsChanged();
      end(IDOK);
      break;
    case kCancel:
    case kClose:
      end(IDCANCEL);
      break;
    case kNew:
      if (SkinListBox* list = names()) list->startNewLine();
      break;
    case kDelete:
      if (!newLineDropped_) deleteTextMacro();
      break;
    case kNames:
      if (code == LBN_SELCHANGE) {
        recorder_.Stop();
        session_.select(names() ? SelectedLine(*names()) : -1);
        showTextMacro();
      }
      break;
    case kKeyBefore:
    case kKeyAfter:
      if (captureEndedBy_ == slotOf(id - kIdBase)) {
        captureEndedBy_.reset();
        showKeys();  // the button comes up again
      } else {
        startCapture(slotOf(id - kIdBase));
      }
      break;
    case kClearBefore:
    case kClearAfter:
      if (session_.clearKey(slotOf(id - kIdBase))) showKeys();
      break;
  }
}

void TextMacroManagerDialog::startCapture(KeySlot slot) {
  if (session_.startCapture(slot) && !recorder_.Start(hwnd())) session_.stopCapture();
  showKeys();  // also unchecks a button whose capture did not start
}

void TextMacroManagerDialog::endCapture() {
  recorder_.Stop();
  showKeys();
}

bool TextMacroManagerDialog::takeMouseButton(const MSG& msg) {
  const std::optional<KeySlot> slot = session_.capturing();
  if (!slot || !msg.hwnd || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  const std::optional<MouseButton> button = pressedButton(msg);
  if (!button) return false;
  const ClickPlace place = msg.hwnd == hwnd() ? ClickPlace::Surface : ClickPlace::Control;
  switch (session_.onMouseButton(*button, place)) {
    case CaptureEnd::Stored:
      endCapture();
      return true;  // the press was the key: no control sees it
    case CaptureEnd::Abandoned:
      captureEndedBy_ = slot;
      endCapture();
      return false;  // the click goes on to what the user clicked
    case CaptureEnd::None:
      break;
  }
  return false;
}

void TextMacroManagerDialog::editsChanged() {
  if (showing_) return;
  HWND delay = control(kDelay);
  HWND text = control(kText);
  if (!delay || !text) return;
  const ClampedNumber shown = session_.editsChanged(WindowText(delay), WindowText(text));
  if (shown.clamped) {
    const std::string value = numberText(shown.value);
    SetWindowTextA(delay, value.c_str());
    SendMessageA(delay, EM_SETSEL, value.size(), value.size());
  }
}

void TextMacroManagerDialog::onNameAdded(int line) {
  if (SkinListBox* list = names()) {
    CommitNewNameLine(*list, session_, host_.lists().textMacros, line);
    showTextMacro();
  }
}

void TextMacroManagerDialog::onNameEdited(int line) {
  SkinListBox* list = names();
  if (!list) return;
  // Accepted or not, the line shows what the record is called now.
  const int before = session_.current();
  CommitRenamedLine(*list, session_, host_.lists().textMacros, line);
  if (session_.current() != before) showTextMacro();
}

bool TextMacroManagerDialog::finishNaming() {
  return FinishNameEditor(
      names(), [this](int line) { onNameAdded(line); }, [this](int line) { onNameEdited(line); });
}

void TextMacroManagerDialog::deleteTextMacro() {
  SkinListBox* list = names();
  if (!list || session_.current() < 0) return;
  const std::string name = list->lineText(session_.current());
  if (!AskDeleteMacro(hwnd(), deleteQuestion(name, keysPlaying(*host_.document().edit, name, true)))) return;
  recorder_.Stop();
  const int removed = session_.current();
  const int next = session_.deleteCurrent();
  SendMessageA(list->hwnd(), LB_DELETESTRING, WPARAM(removed), 0);
  SelectLine(*list, next);
  showTextMacro();
}

bool TextMacroManagerDialog::preTranslate(MSG& msg) {
  if (IsMouseButtonDown(msg.message)) {
    captureEndedBy_.reset();
    newLineDropped_ = false;
    if (takeMouseButton(msg)) return true;
    if (LeavesEditorOf(names(), msg)) newLineDropped_ = finishNaming();
  }
  // The text is written here: Enter starts a line, Space is a blank; names
  // may hold blanks too. Elsewhere neither key clicks anything.
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_SPACE || msg.wParam == VK_RETURN)) {
    if (msg.hwnd == control(kText)) return false;
    if (msg.wParam == VK_SPACE && isEditWindow(msg.hwnd)) return false;
  }
  return SkinDialog::preTranslate(msg);
}

LRESULT TextMacroManagerDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case UM_HOOK_KEY: {
      const HookEvent event = hookEventFromMessage(uint32_t(wParam), uint32_t(lParam), GetTickCount());
      if (session_.onHookKey(event, systemKeyboardLayout()) != CaptureEnd::None) endCapture();
      return 0;
    }
    case MSG_LIST_ITEM_ADDED:
      if (int(lParam) == kTextMacroNameListId) onNameAdded(int(wParam));
      return 0;
    case MSG_LIST_ITEM_EDITED:
      if (int(lParam) == kTextMacroNameListId) onNameEdited(int(wParam));
      return 0;
    case MSG_LIST_NAME_CUT:
      if (SkinListBox* list = names(); list && int(lParam) == kTextMacroNameListId)
        ShowBeside(balloon(), list->editorWindow(), NameCutNote(wParam));
      return 0;
  }
  if (message == BitmapEdit::KillFocusMessage()) {
    editsChanged();
    return 0;
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}

void TextMacroManagerDialog::onDestroyed() { recorder_.Stop(); }

std::optional<RenameMap> RunTextMacroManager(OptionHost& host, HWND owner) {
  // Cancel puts the library back as it was now, with the edits of earlier
  // runs that are not applied yet.
  const auto atOpen = host.lists().textMacros;
  TextMacroManagerDialog dialog(host);
  const bool ok = dialog.open(owner);
  const RenameMap renames = dialog.renames();
  OptionDocument& doc = host.document();
  closeTextMacroManager(ok ? ManagerClose::Ok : ManagerClose::Cancel, doc.lists.textMacros, atOpen, renames, *doc.edit);
  host.keyboardPictureChanged();
  host.edited();
  if (!ok) return std::nullopt;
  return renames;
}
