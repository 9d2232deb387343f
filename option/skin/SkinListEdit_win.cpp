// The in-place editor of SkinListBox: an edit window over one line. Enter
// (on release) commits, Escape (on release) cancels; the focus coming back
// to the list commits as Enter does.
#include "SkinFocus_win.h"
#include "SkinListBox_win.h"
#include "SkinMessages.h"

class ListLineEditor : public SkinControl {
 public:
  static ListLineEditor* Create(SkinListBox* list, const RECT& rect) {
    HWND window = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  list->hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return nullptr;
    auto* editor = new ListLineEditor;
    editor->list_ = list;
    SetPropA(window, kTakesKeysProperty, reinterpret_cast<HANDLE>(kTakesEnter | kTakesEscape));
    if (!editor->attach(window)) {
      delete editor;
      DestroyWindow(window);
      return nullptr;
    }
    return editor;
  }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_GETDLGCODE:
        return defaultProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
      case WM_KEYDOWN:
      case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;  // no beep, no dialog close
        break;
      case WM_KEYUP:
        // Both close the editor and so destroy this object: return at once.
        if (wParam == VK_RETURN) {
          list_->commitEdit();
          return 0;
        }
        if (wParam == VK_ESCAPE) {
          list_->cancelEdit();
          return 0;
        }
        break;
    }
    return defaultProc(message, wParam, lParam);
  }

 private:
  SkinListBox* list_ = nullptr;
};

HWND SkinListBox::editorWindow() const { return editor_ ? editor_->hwnd() : nullptr; }

bool SkinListBox::startNewLine() {
  if (editor_) return false;
  const int before = selected();
  int index = addLine(newLineText_, 0);
  if (index < 0) return false;
  SendMessageA(hwnd(), LB_SETCURSEL, WPARAM(index), 0);  // scrolls it into view
  if (openEditor(index, ListEditOrigin::NewLine)) {
    selectionBeforeEdit_ = before;
    return true;
  }
  SendMessageA(hwnd(), LB_DELETESTRING, WPARAM(index), 0);
  SendMessageA(hwnd(), LB_SETCURSEL, WPARAM(before), 0);
  return false;
}

bool SkinListBox::editSelected() {
  if (editor_) return false;
  LRESULT index = SendMessageA(hwnd(), LB_GETCURSEL, 0, 0);
  if (index < 0) return false;
  return openEditor(int(index), ListEditOrigin::SelectedLine);
}

bool SkinListBox::openEditor(int index, ListEditOrigin origin) {
  RECT line;
  if (SendMessageA(hwnd(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&line)) == LB_ERR)
    return false;
  plan_ = PlanListEdit(origin, rename_, line.left, line.right, lineData(index), slotWidth_);
  RECT at{plan_.left, line.top, plan_.right, line.bottom};
  ListLineEditor* editor = ListLineEditor::Create(this, at);
  if (!editor) return false;
  editor_ = editor;
  editIndex_ = index;
  HWND edit = editor->hwnd();
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (plan_.limit != kListNoLimit) SendMessageA(edit, EM_LIMITTEXT, WPARAM(plan_.limit), 0);
  SetWindowTextA(edit, lineText(index).c_str());
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SetFocus(edit);
  return true;
}

HWND SkinListBox::closeEditor() {
  // Forget the editor first: the focus moving back must not commit again.
  HWND edit = editorWindow();
  editor_ = nullptr;
  editIndex_ = -1;
  return edit;
}

void SkinListBox::commitEdit() {
  const EditCommit done = finishEdit();
  HWND parent = GetParent(hwnd());
  if (parent && done.added) PostMessageA(parent, MSG_LIST_ITEM_ADDED, WPARAM(done.index), identifier_);
  if (parent && done.edited) PostMessageA(parent, MSG_LIST_ITEM_EDITED, WPARAM(done.index), identifier_);
}

SkinListBox::EditCommit SkinListBox::finishEdit() {
  if (!editor_) return {};
  HWND edit = editor_->hwnd();
  int length = GetWindowTextLengthA(edit);
  std::string text(size_t(length) + 1, '\0');
  GetWindowTextA(edit, text.data(), length + 1);
  text.resize(size_t(length));
  int index = editIndex_;
  ListEditPlan plan = plan_;
  unsigned data = lineData(index);
  closeEditor();

  ListEditOutcome outcome = CommitListEdit(plan.mode, plan.createdLine, text);
  if (outcome.removeLine) SendMessageA(hwnd(), LB_DELETESTRING, WPARAM(index), 0);
  if (outcome.insertText) insertLine(index, text, data);
  SendMessageA(hwnd(), LB_SETCURSEL, WPARAM(ListSelectionAfterEdit(outcome, index, selectionBeforeEdit_)), 0);
  bool hadFocus = GetFocus() == edit;
  DestroyWindow(edit);
  if (hadFocus) SetFocus(hwnd());
  return {index, outcome.notifyAdded, outcome.notifyEdited, outcome.removeLine && !outcome.insertText};
}

void SkinListBox::cancelEdit() {
  if (!editor_) return;
  int index = editIndex_;
  bool created = plan_.createdLine;
  HWND edit = closeEditor();
  const ListEditOutcome outcome = CancelListEdit(created);
  if (outcome.removeLine) {
    SendMessageA(hwnd(), LB_DELETESTRING, WPARAM(index), 0);
    SendMessageA(hwnd(), LB_SETCURSEL, WPARAM(ListSelectionAfterEdit(outcome, index, selectionBeforeEdit_)),
                 0);
  }
  bool hadFocus = GetFocus() == edit;
  DestroyWindow(edit);
  if (hadFocus) SetFocus(hwnd());
}
