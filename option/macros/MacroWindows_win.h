#pragma once
// What the macro page and both managers draw alike: their list colours, the
// text of an edit, and the step menu as a skinned pop-up menu.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "BalloonTip_win.h"
#include "MacroNameRules.h"
#include "SkinListBox_win.h"
#include "SkinMenu_win.h"
#include "StepMenuRules.h"

constexpr COLORREF kMacroListBackground = 0x323232;
constexpr COLORREF kMacroListSelection = RGB(150, 0, 0);
constexpr COLORREF kMacroListText = 0x5959BE;
// The fields sit in the skin's wells: light text on their dark ground.
constexpr COLORREF kMacroEditText = RGB(232, 232, 232);
constexpr COLORREF kMacroEditBackground = RGB(9, 9, 9);

// A list of these pages: their colours, kept when it loses the focus.
SkinListBox* CreateMacroList(HWND parent, int id, const SkinPosition& position, int identifier);

std::string WindowText(HWND window);
// The balloon over `control`, its tail at the control's middle.
void ShowBeside(BalloonTip& balloon, HWND control, const std::string& text);
// What the name editor says when a name is longer than a name keeps.
std::string NameCutNote(WPARAM kept);
int SelectedLine(const SkinListBox& list);
void SelectLine(const SkinListBox& list, int line);  // -1 clears the selection
void ReplaceLines(SkinListBox& list, const std::vector<std::string>& lines);
void ReplaceLineText(SkinListBox& list, int line, const std::string& text);

// The step menu's entries as a skinned menu; `text` gives the language texts.
void FillStepMenu(SkinMenu& menu, const std::vector<StepMenuItem>& items,
                  const std::function<std::string(int)>& text);

// The name list of either manager after its in-place editor: a new line
// keeps the name the library took (or goes when refused), a renamed line
// shows what its record is called now. `session` is the manager's session.
template <typename Session, typename Library>
int CommitNewNameLine(SkinListBox& list, Session& session, const Library& library, int line) {
  const auto result = session.commitNewLine(list.lineText(line));
  if (result.accepted)
    ReplaceLineText(list, line, namesOf(library)[size_t(result.select)]);
  else
    SendMessageA(list.hwnd(), LB_DELETESTRING, WPARAM(line), 0);
  SelectLine(list, result.select);
  return result.select;
}

// Finishes the name list's open editor as Enter would, and hands what it did
// to the manager: `added(line)` for a new line, `edited(line)` for a renamed
// one. True when a new line went again (left empty, cancelled or refused).
template <typename Added, typename Edited>
bool FinishNameEditor(SkinListBox* list, Added added, Edited edited) {
  if (!list || !list->editing()) return false;
  const SkinListBox::EditCommit done = list->finishEdit();
  if (done.edited) edited(done.index);
  if (!done.added) return done.removed;
  const int lines = list->count();
  added(done.index);
  return list->count() < lines;  // refused: the line went again
}

template <typename Session, typename Library>
void CommitRenamedLine(SkinListBox& list, Session& session, const Library& library, int line) {
  session.commitRename(line, list.lineText(line));
  const int current = session.current();
  if (current < 0) return;
  ReplaceLineText(list, current, namesOf(library)[size_t(current)]);
  SelectLine(list, current);
}

// A mouse button going down: the user turns to something, and whatever is
// still being typed into a list's editor must be taken first.
bool IsMouseButtonDown(UINT message);
// The press `msg` lands outside the open editor of `list` (if it has one).
bool LeavesEditorOf(const SkinListBox* list, const MSG& msg);
