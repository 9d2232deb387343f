#include "MacroManager_win.h"

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
  kRecord,
  kRecordDelays,
  kRepeat,
  kRepeatCount,
  kSteps,
  kControlCount = kSteps,
};
constexpr int kIdBase = 500;
// Positions 1..6 rest while a recording runs.
constexpr int kLockedWhileRecording[] = {kOk, kCancel, kClose, kNew, kDelete, kNames};

bool isEditWindow(HWND window) {
  char name[16] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, "Edit") == 0;
}
}  // namespace

MacroManagerDialog::MacroManagerDialog(OptionHost& host, const KeyAssignment& editedKey)
    : host_(host), editedKey_(editedKey), session_(host.lists().macros) {}

bool MacroManagerDialog::open(HWND owner) {
  return runModal({kMacroManagerSkin, SkinRoot(), {{1, kControlCount}}, {}}, kMacroManagerTitle, owner) ==
         IDOK;
}

HWND MacroManagerDialog::createControl(int, int key, const SkinPosition& position,
                                       const SkinStatePictures& pictures) {
  switch (key) {
    case kNames: {
      SkinListBox* list = CreateMacroList(hwnd(), kIdBase + key, position, kMacroNameListId);
      if (!list) return nullptr;
      list->setNewLineText(std::string(kNewMacroLineText));
      list->setRename(true);
      list->setKeptLength(int(kMaxNameLength));
      return list->hwnd();
    }
    case kSteps: {
      SkinListBox* list = CreateMacroList(hwnd(), kIdBase + key, position, kStepListId);
      return list ? list->hwnd() : nullptr;
    }
    case kRepeatCount: {
      BitmapEdit* edit = BitmapEdit::Create(hwnd(), kRepeatEditId, position);
      if (!edit) return nullptr;
      edit->setColors(kMacroEditText, kMacroEditBackground);
      edit->setDecimalFilter(true);
      SetWindowLongPtrA(edit->hwnd(), GWL_STYLE, GetWindowLongPtrA(edit->hwnd(), GWL_STYLE) | ES_NUMBER);
      SendMessageA(edit->hwnd(), EM_LIMITTEXT, kRepeatEditLength, 0);
      return edit->hwnd();
    }
  }
  const bool toggle = key == kRecord || key == kRecordDelays || key == kRepeat;
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures, toggle);
  return button ? button->hwnd() : nullptr;
}

SkinListBox* MacroManagerDialog::names() const { return controlAs<SkinListBox>(kNames); }
SkinListBox* MacroManagerDialog::stepList() const { return controlAs<SkinListBox>(kSteps); }

void MacroManagerDialog::onInit() {
  setDialogKeys(kOk, kCancel);
  SetWindowTextA(hwnd(), kMacroManagerTitle);
  session_.open(editedKey_);
  if (SkinListBox* list = names()) {
    ReplaceLines(*list, namesOf(host_.lists().macros));
    SelectLine(*list, session_.current());
  }
  showMacro();
}

void MacroManagerDialog::showMacro() {
  showSteps();
  showRepeat();
}

void MacroManagerDialog::showRepeat() {
  const RepeatView repeat = session_.repeat();
  if (auto* button = controlAs<SkinButton>(kRepeat)) button->setChecked(repeat.on);
  if (HWND edit = control(kRepeatCount)) {
    const std::string shown = numberText(repeat.count);
    if (WindowText(edit) != shown) SetWindowTextA(edit, shown.c_str());
  }
}

void MacroManagerDialog::showSteps() {
  SkinListBox* list = stepList();
  if (!list) return;
  SendMessageA(list->hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(list->hwnd(), LB_RESETCONTENT, 0, 0);
  const std::vector<StepLine> lines = stepLines(session_.steps(), systemKeyboardLayout());
  for (const StepLine& line : lines) list->addLine(line.text, line.itemData);
  const int caret = caretAfterRebuild(session_.changedLine(), int(lines.size()));
  SendMessageA(list->hwnd(), WM_SETREDRAW, TRUE, 0);
  SelectLine(*list, caret);
  RECT client{};
  GetClientRect(list->hwnd(), &client);
  const int lineHeight = int(SendMessageA(list->hwnd(), LB_GETITEMHEIGHT, 0, 0));
  const int visible = lineHeight > 0 ? int(client.bottom / lineHeight) : 1;
  const int top = int(SendMessageA(list->hwnd(), LB_GETTOPINDEX, 0, 0));
  SendMessageA(list->hwnd(), LB_SETTOPINDEX,
               WPARAM(topLineShowingCaret(caret, int(lines.size()), visible, top)), 0);
  InvalidateRect(list->hwnd(), nullptr, TRUE);
}

StepLineRef MacroManagerDialog::selectedStep() const {
  const SkinListBox* list = stepList();
  const int line = list ? SelectedLine(*list) : -1;
  return line < 0 ? StepLineRef{} : stepLineRef(list->lineData(line));
}

void MacroManagerDialog::onCommand(int id, int code, HWND) {
  // A click finished the name editor at its press already; a button's or the
  // step menu's command that came another way finishes it here.
  const int key = id - kIdBase;
  if ((key >= kOk && key <= kDelete) || (key >= kRecord && key <= kRepeat) ||
      (id >= kCmdRecordBefore && id <= kCmdMouseLast))
    finishNaming();
  if (id >= kCmdRecordBefore && id <= kCmdMouseLast) return runStepCommand(id);
  switch (id - kIdBase) {
    case kOk:
      finishRepeatCount();
      if (!refuseEmptyMacro()) end(IDOK);
      break;
    case kCancel:
    case kClose:
      end(IDCANCEL);
      break;
    case kNew:
      newMacro();
      break;
    case kDelete:
      if (!newLineDropped_) deleteMacro();
      break;
    case kNames:
      if (code == LBN_SELCHANGE && !session_.recording()) {
        session_.select(names() ? SelectedLine(*names()) : -1);
        showMacro();
      }
      break;
    case kRecord:
      clickRecord();
      break;
    case kRecordDelays:
      if (auto* button = controlAs<SkinButton>(kRecordDelays)) session_.setRecordDelays(button->checked());
      break;
    case kRepeat:
      if (auto* button = controlAs<SkinButton>(kRepeat)) session_.setRepeatOn(button->checked());
      break;
  }
}

void MacroManagerDialog::clickRecord() {
  if (session_.recording()) return endRecording();
  beginRecording(session_.startRecording());
  showSteps();
}

void MacroManagerDialog::beginRecording(ManagerStatus status) {
  if (status == ManagerStatus::Done && recorder_.Start(hwnd())) {
    setRecordingLook(true);
    return;
  }
  if (status == ManagerStatus::Done) session_.stopRecording();  // no hook: nothing can arrive
  setRecordingLook(false);
  if (status == ManagerStatus::NoMacro) WarnNoMacro(hwnd());
}

void MacroManagerDialog::endRecording() {
  recorder_.Stop();
  session_.stopRecording();
  setRecordingLook(false);
  showSteps();
}

void MacroManagerDialog::setRecordingLook(bool recording) {
  if (auto* button = controlAs<SkinButton>(kRecord)) button->setChecked(recording);
  for (int key : kLockedWhileRecording) EnableWindow(control(key), !recording);
  EnableWindow(control(kSteps), TRUE);
  if (!recording) return;
  SetFocus(hwnd());
  // A button that loses the focus stops hovering but keeps the mouse
  // captured; the next click anywhere would land on it.
  if (HWND captured = GetCapture(); captured && IsChild(hwnd(), captured)) ReleaseCapture();
}

void MacroManagerDialog::onHookKey(WPARAM virtualKey, LPARAM flags) {
  const HookEvent event = hookEventFromMessage(uint32_t(virtualKey), uint32_t(flags), GetTickCount());
  const RecordOutcome outcome = session_.onHookKey(event, systemKeyboardLayout());
  if (outcome == RecordOutcome::Dropped) return;
  showSteps();
  if (outcome == RecordOutcome::Full) endRecording();
}

void MacroManagerDialog::openStepMenu(bool fromKeyboard) {
  finishNaming();
  if (!session_.stepMenuOpens()) return;
  SkinMenu menu("Play", 16, FW_NORMAL);
  menu.setMinimumWidth(kStepMenuMinWidth);
  FillStepMenu(menu, stepMenu(session_.current() >= 0, session_.steps(), selectedStep()),
               [this](int id) { return host_.text(id); });
  POINT at;
  GetCursorPos(&at);
  if (SkinListBox* list = stepList(); fromKeyboard && list) {
    RECT line{};
    const int index = list->selected();
    if (index < 0 ||
        SendMessageA(list->hwnd(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&line)) == LB_ERR)
      GetClientRect(list->hwnd(), &line), line.bottom = line.top;
    at = {line.left + 8, line.bottom};
    ClientToScreen(list->hwnd(), &at);
  }
  menu.track(hwnd(), at.x, at.y);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void MacroManagerDialog::runStepCommand(int command) {
  if (session_.recording()) return;
  const StepLineRef selected = selectedStep();
  switch (command) {
    case kCmdRecordBefore:
      return beginRecording(session_.startRecordingBefore(selected));
    case kCmdRecordAfter:
      return beginRecording(session_.startRecordingAfter(selected));
    case kCmdEditDelay:
      if (session_.current() < 0) return WarnNoMacro(hwnd());
      if (!selected.delayLine || !stepList()) return;
      // Chosen with Enter, the key's release would reach the new editor
      // and commit it unchanged at once: open it on that release instead.
      if (GetKeyState(VK_RETURN) & 0x8000)
        editOnEnterRelease_ = true;
      else
        stepList()->editSelected();
      return;
  }
  const ManagerStatus status = session_.runStepCommand(command, selected);
  if (status == ManagerStatus::NoMacro) return WarnNoMacro(hwnd());
  if (status == ManagerStatus::Done) showSteps();
}

void MacroManagerDialog::newMacro() {
  if (SkinListBox* list = names()) list->startNewLine();
}

void MacroManagerDialog::deleteMacro() {
  SkinListBox* list = names();
  if (!list || session_.current() < 0) return;
  const std::string name = list->lineText(session_.current());
  if (!AskDeleteMacro(hwnd(), deleteQuestion(name, keysPlaying(*host_.document().edit, name, false)))) return;
  const int removed = session_.current();
  const int next = session_.deleteCurrent();
  SendMessageA(list->hwnd(), LB_DELETESTRING, WPARAM(removed), 0);
  SelectLine(*list, next);
  showMacro();
}

// A macro named in this run that plays nothing is not stored: OK shows it
// and says so, and the manager stays.
bool MacroManagerDialog::refuseEmptyMacro() {
  const int empty = session_.emptyNewMacro();
  SkinListBox* list = names();
  if (empty < 0 || !list) return false;
  SelectLine(*list, empty);
  session_.select(empty);
  showMacro();
  ShowBeside(balloon(), control(kOk),
             "\"" + list->lineText(empty) + "\" has no steps yet.\nRecord some, or delete it.");
  return true;
}

void MacroManagerDialog::onNameAdded(int line) {
  if (SkinListBox* list = names()) {
    CommitNewNameLine(*list, session_, host_.lists().macros, line);
    showMacro();
  }
}

void MacroManagerDialog::onNameEdited(int line) {
  SkinListBox* list = names();
  if (!list) return;
  // Accepted or not, the line shows what the record is called now.
  const int before = session_.current();
  CommitRenamedLine(*list, session_, host_.lists().macros, line);
  if (session_.current() != before) showMacro();
}

bool MacroManagerDialog::finishNaming() {
  return FinishNameEditor(
      names(), [this](int line) { onNameAdded(line); }, [this](int line) { onNameEdited(line); });
}

void MacroManagerDialog::finishDelayEdit() {
  SkinListBox* list = stepList();
  if (!list || !list->editing()) return;
  const SkinListBox::EditCommit done = list->finishEdit();
  if (done.added) onDelayEdited(done.index);
}

void MacroManagerDialog::onDelayEdited(int line) {
  SkinListBox* list = stepList();
  if (!list) return;
  const StepLineRef ref = stepLineRef(list->lineData(line));
  if (session_.commitDelayEdit(ref, list->lineText(line), nullptr) == ManagerStatus::Done) showSteps();
}

void MacroManagerDialog::repeatTyped() {
  HWND edit = control(kRepeatCount);
  if (!edit) return;
  const std::optional<ClampedNumber> count = session_.repeatCountTyped(WindowText(edit));
  if (count && count->clamped) {
    const std::string shown = numberText(count->value);
    SetWindowTextA(edit, shown.c_str());
    SendMessageA(edit, EM_SETSEL, shown.size(), shown.size());
  }
}

void MacroManagerDialog::finishRepeatCount() {
  HWND edit = control(kRepeatCount);
  if (!edit) return;
  const ClampedNumber count = session_.setRepeatCountText(WindowText(edit));
  if (count.clamped) SetWindowTextA(edit, numberText(count.value).c_str());
}

bool MacroManagerDialog::preTranslate(MSG& msg) {
  if (IsMouseButtonDown(msg.message)) {
    newLineDropped_ = false;
    if (LeavesEditorOf(names(), msg)) newLineDropped_ = finishNaming();
    if (LeavesEditorOf(stepList(), msg)) finishDelayEdit();
    // The toggle buttons take no focus: a click on one leaves the count
    // field focused, though the user has left it.
    HWND count = control(kRepeatCount);
    if (count && GetFocus() == count && msg.hwnd != count) finishRepeatCount();
  }
  if (editOnEnterRelease_ && msg.message == WM_KEYUP && msg.wParam == VK_RETURN) {
    editOnEnterRelease_ = false;
    if (stepList()) stepList()->editSelected();
    return true;
  }
  // Names may hold blanks: a space typed into an edit is a character, not a click.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_SPACE && isEditWindow(msg.hwnd)) return false;
  return SkinDialog::preTranslate(msg);
}

LRESULT MacroManagerDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case UM_HOOK_KEY:
      onHookKey(wParam, lParam);
      return 0;
    case MSG_LIST_RCLICK:
      if (int(lParam) == kStepListId) openStepMenu(wParam == 1);
      return 0;
    case MSG_LIST_ITEM_ADDED:
      if (int(lParam) == kMacroNameListId) onNameAdded(int(wParam));
      if (int(lParam) == kStepListId) onDelayEdited(int(wParam));
      return 0;
    case MSG_LIST_ITEM_EDITED:
      if (int(lParam) == kMacroNameListId) onNameEdited(int(wParam));
      return 0;
    case MSG_LIST_NAME_CUT:
      if (SkinListBox* list = names(); list && int(lParam) == kMacroNameListId)
        ShowBeside(balloon(), list->editorWindow(), NameCutNote(wParam));
      return 0;
  }
  if (message == BitmapEdit::KillFocusMessage()) {
    repeatTyped();  // after every change of the count field
    return 0;
  }
  if (message == MSG_EDIT_DONE) {
    finishRepeatCount();  // the field lost the focus, or Enter was released
    return 0;
  }
  return SkinDialog::onMessage(message, wParam, lParam);
}

void MacroManagerDialog::onDestroyed() { recorder_.Stop(); }

std::optional<RenameMap> RunMacroManager(OptionHost& host, HWND owner, const KeyAssignment& editedKey) {
  // Cancel puts the library back as it was now, with the edits of earlier
  // runs that are not applied yet.
  const auto atOpen = host.lists().macros;
  MacroManagerDialog dialog(host, editedKey);
  const bool ok = dialog.open(owner);
  const RenameMap renames = dialog.renames();
  OptionDocument& doc = host.document();
  closeMacroManager(ok ? ManagerClose::Ok : ManagerClose::Cancel, doc.lists.macros, atOpen, renames, *doc.edit);
  host.keyboardPictureChanged();
  host.edited();
  if (!ok) return std::nullopt;
  return renames;
}
