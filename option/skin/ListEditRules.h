#pragma once
// What the in-place editor of the skinned list does when it closes.

#include <string_view>

enum class ListEditMode { Create = 0, Rename = 1 };

constexpr int kListNewLineLimit = 15;
constexpr int kListSelectedLineLimit = 20;

struct ListEditOutcome {
  bool removeLine = false;
  bool insertText = false;   // insert the edited text at the same index
  bool notifyAdded = false;  // post the "added" notification
  bool notifyEdited = false; // post the "edited" notification
};

// Enter, or the focus coming back to the list.
ListEditOutcome CommitListEdit(ListEditMode mode, std::string_view text);
// Escape.
ListEditOutcome CancelListEdit(ListEditMode mode);

// Left edge of the text of a line: right of the picture slot when the item
// data carries a picture id (1 only reserves the slot).
int ListTextLeft(int lineLeft, unsigned itemData, int slotWidth);
inline unsigned ListPictureId(unsigned itemData) { return itemData & 0xFFFF; }
