#include "ListEditRules.h"

#include <algorithm>

namespace {
constexpr int kWheelNotch = 120;
}

ListEditPlan PlanListEdit(ListEditOrigin origin, bool renameFlag, int lineLeft, int lineRight,
                          unsigned itemData, int slotWidth) {
  ListEditPlan plan;
  plan.left = lineLeft;
  plan.right = lineRight;
  switch (origin) {
    case ListEditOrigin::NewLine:
      plan.mode = ListEditMode::Create;
      plan.createdLine = true;
      plan.limit = kListNewLineLimit;
      plan.left = lineLeft + 1;
      plan.right = lineRight - 2;
      break;
    case ListEditOrigin::SelectedLine:
      plan.mode = renameFlag ? ListEditMode::Rename : ListEditMode::Create;
      plan.limit = kListSelectedLineLimit;
      if (ListPictureId(itemData) != 0) plan.left = lineLeft + slotWidth + 5;
      break;
    case ListEditOrigin::DoubleClick:
      plan.mode = ListEditMode::Rename;
      break;
  }
  plan.right = std::max(plan.right, plan.left);
  return plan;
}

ListEditOutcome CommitListEdit(ListEditMode mode, bool createdLine, std::string_view text) {
  ListEditOutcome out;
  bool hasText = !text.empty();
  out.removeLine = hasText || (createdLine && mode == ListEditMode::Create);
  out.insertText = hasText;
  out.notifyAdded = hasText && mode == ListEditMode::Create;
  out.notifyEdited = hasText && mode == ListEditMode::Rename;
  return out;
}

ListEditOutcome CancelListEdit(bool createdLine) {
  ListEditOutcome out;
  out.removeLine = createdLine;
  return out;
}

int ListSelectionAfterEdit(const ListEditOutcome& outcome, int editedLine, int selectedBefore) {
  return outcome.removeLine && !outcome.insertText ? selectedBefore : editedLine;
}

int ListTextLeft(int lineLeft, unsigned itemData, int slotWidth) {
  return ListPictureId(itemData) != 0 ? lineLeft + slotWidth + 5 : lineLeft + 5;
}

int ListWheelLines(int& pending, int delta) {
  // Clamp first: a hostile delta must not overflow the sum.
  long long sum = (long long)pending + delta;
  sum = std::clamp<long long>(sum, -1000000, 1000000);
  int lines = int(sum / kWheelNotch);
  pending = int(sum - (long long)lines * kWheelNotch);
  return lines;
}

int ListTopAfterWheel(int top, int lines, int count) {
  if (count <= 0) return 0;
  long long next = (long long)top - lines;
  return int(std::clamp<long long>(next, 0, count - 1));
}
