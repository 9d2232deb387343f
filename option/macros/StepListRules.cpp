#include "StepListRules.h"

#include <algorithm>

namespace {
// Lines kept in view below the caret.
constexpr int kCaretLead = 2;
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
  return changedLine >= 0 && changedLine < lineCount ? changedLine : lineCount - 1;
}

int topLineShowingCaret(int caret, int lineCount, int visibleLines, int top) {
  if (lineCount <= 0 || caret < 0) return 0;
  visibleLines = std::max(visibleLines, 1);
  const int lastTop = std::max(lineCount - visibleLines, 0);
  top = std::clamp(top, 0, lastTop);
  // The lines after the caret show when there is room for them beside it.
  const int lead = std::min({kCaretLead, lineCount - 1 - caret, visibleLines - 1});
  if (caret + lead >= top + visibleLines) top = caret + lead - visibleLines + 1;
  if (caret < top) top = caret;
  return std::clamp(top, 0, lastTop);
}
