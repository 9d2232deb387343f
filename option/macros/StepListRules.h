#pragma once
// The lines of the macro manager's step list: one line per step, a delay
// line behind every step that waits, and the item data that leads a line
// back to its step.

#include <cstdint>
#include <string>
#include <vector>

#include "KeyCodes.h"
#include "MacroSteps.h"

// Bitmap resources of the program drawn in front of the lines.
enum StepPicture : uint16_t {
  kPictureDelay = 135,
  kPictureRelease = 137,
  kPicturePress = 138,
  kPictureMouseButton = 146,
};

struct StepLine {
  std::string text;
  uint32_t itemData = 0;  // (step + 1) << 16 | picture id
};

// "A", "L Button Down", ...; the delay line's "%d ms".
std::string stepText(MacroStep step, const KeyboardLayout& layout);
std::string delayText(uint32_t delayMs);
uint32_t stepItemData(int step, StepPicture picture);

std::vector<StepLine> stepLines(const MacroSteps& steps, const KeyboardLayout& layout);

// What a line of the list stands for; step -1 for no line at all.
struct StepLineRef {
  int step = -1;
  bool delayLine = false;
};
StepLineRef stepLineRef(uint32_t itemData);
// The line of a step, or of its delay line; -1 when there is none.
int lineOfStep(const MacroSteps& steps, int step);
int lineOfDelay(const MacroSteps& steps, int step);

// Where the caret goes after a rebuild: the changed line, else the last; -1
// for an empty list. It stays on the changed line, so that the step menu's
// next entry acts on the step the user just edited.
int caretAfterRebuild(int changedLine, int lineCount);
// The list's top line after a rebuild: the caret shows, and so do up to two
// lines after it, scrolling no further than needed. `visibleLines` is how
// many lines the list shows at once, `top` its top line before.
int topLineShowingCaret(int caret, int lineCount, int visibleLines, int top);
