#include "ListEditRules.h"

ListEditOutcome CommitListEdit(ListEditMode mode, std::string_view text) {
  ListEditOutcome out;
  bool hasText = !text.empty();
  // An emptied rename keeps the old line; an empty new line disappears.
  out.removeLine = mode == ListEditMode::Create || hasText;
  out.insertText = hasText;
  out.notifyAdded = hasText && mode == ListEditMode::Create;
  out.notifyEdited = hasText && mode == ListEditMode::Rename;
  return out;
}

ListEditOutcome CancelListEdit(ListEditMode mode) {
  ListEditOutcome out;
  out.removeLine = mode == ListEditMode::Create;
  return out;
}

int ListTextLeft(int lineLeft, unsigned itemData, int slotWidth) {
  return ListPictureId(itemData) != 0 ? lineLeft + slotWidth + 5 : lineLeft + 5;
}
