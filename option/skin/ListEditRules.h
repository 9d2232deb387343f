#pragma once
// What the in-place editor of the skinned list does when it opens and closes,
// and the small sums of its drawing and scrolling.

#include <string_view>

enum class ListEditMode { Create = 0, Rename = 1 };

constexpr int kListNewLineLimit = 15;
constexpr int kListSelectedLineLimit = 20;
constexpr int kListNoLimit = 0;

// How the editor was opened: a line it appended, the selected line, or a
// double click on a line (rename flag set).
enum class ListEditOrigin { NewLine, SelectedLine, DoubleClick };

struct ListEditPlan {
  ListEditMode mode = ListEditMode::Create;
  bool createdLine = false;  // the line exists only for this edit
  int limit = kListNoLimit;  // characters; kListNoLimit sets none
  int left = 0, right = 0;   // editor edges in the list's client coordinates
};
ListEditPlan PlanListEdit(ListEditOrigin origin, bool renameFlag, int lineLeft, int lineRight,
                          unsigned itemData, int slotWidth);

struct ListEditOutcome {
  bool removeLine = false;
  bool insertText = false;    // insert the edited text at the same index
  bool notifyAdded = false;   // post the "added" notification
  bool notifyEdited = false;  // post the "edited" notification
};

// Enter, or the focus coming back to the list. Only a line made for the edit
// goes away when left empty; an existing line keeps its text.
ListEditOutcome CommitListEdit(ListEditMode mode, bool createdLine, std::string_view text);
// Escape: only a line made for the edit goes away.
ListEditOutcome CancelListEdit(bool createdLine);
// The line selected once the editor closed: the edited line, or, when a line
// made for the edit went again, the line that was selected before it (still
// the page's current one, as nothing was announced).
int ListSelectionAfterEdit(const ListEditOutcome& outcome, int editedLine, int selectedBefore);

// Left edge of the text of a line: right of the picture slot when the item
// data carries a picture id (1 only reserves the slot).
int ListTextLeft(int lineLeft, unsigned itemData, int slotWidth);
inline unsigned ListPictureId(unsigned itemData) { return itemData & 0xFFFF; }
// Id 1 reserves the slot without a picture.
inline bool ListDrawsPicture(unsigned itemData) { return ListPictureId(itemData) > 1; }

// Whole wheel notches in `pending + delta`, positive scrolling up; the rest of
// a partial notch stays in `pending` for the next wheel message.
int ListWheelLines(int& pending, int delta);
// The top line after scrolling `lines` up (negative: down), within the list.
int ListTopAfterWheel(int top, int lines, int count);
