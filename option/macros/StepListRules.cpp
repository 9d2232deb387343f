#include "StepListRules.h"

namespace {
constexpr int kCaretLead = 2;
constexpr int kCaretMargin = 3;
}  // namespace

std::string stepText(MacroStep step, const KeyboardLayout& layout) {
  std::string text = keyName(step.code(), layout);
  if (isMouseButtonCode(step.code())) text += step.action() == kActionPress ? " Down" : " Up";
  return text;
}

std::string delayText(uint32_t delayMs) { return std::to_string(delayMs) + " ms"; }

uint32_t stepItemData(int step, StepPicture picture) { return uint32_t(step + 1) << 16 | picture; }

std::vector<StepLine> stepLines(const MacroSteps& steps, const KeyboardLayout& layout) {
  std::vector<StepLine> lines;
  for (int i = 0; i < steps.count; ++i) {
    const MacroStep s = steps.steps[i];
    StepPicture picture = s.action() == kActionPress ? kPicturePress : kPictureRelease;
    if (isMouseButtonCode(s.code())) picture = kPictureMouseButton;
    lines.push_back({stepText(s, layout), stepItemData(i, picture)});
    if (s.delayMs() != 0) lines.push_back({delayText(s.delayMs()), stepItemData(i, kPictureDelay)});
  }
  return lines;
}

StepLineRef stepLineRef(uint32_t itemData) {
  return StepLineRef{int(itemData >> 16) - 1, (itemData & 0xFFFF) == kPictureDelay};
}

int lineOfStep(const MacroSteps& steps, int step) {
  if (!steps.contains(step)) return -1;
  int line = 0;
  for (int i = 0; i < step; ++i) line += steps.steps[i].delayMs() != 0 ? 2 : 1;
  return line;
}

int lineOfDelay(const MacroSteps& steps, int step) {
  if (!steps.contains(step) || steps.steps[step].delayMs() == 0) return -1;
  return lineOfStep(steps, step) + 1;
}

int caretAfterRebuild(int changedLine, int lineCount) {
  if (lineCount <= 0) return -1;
  int caret = changedLine >= 0 && changedLine < lineCount ? changedLine : lineCount - 1;
  if (caret > kCaretMargin && lineCount - 1 - caret > kCaretMargin) caret += kCaretLead;
  return caret;
}
