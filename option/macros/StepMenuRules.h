#pragma once
// The step list's context menu: its entries and their enabling, and the step
// edits it starts (delays, deletion, mouse buttons).

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "MacroSteps.h"
#include "NumberText.h"
#include "StepListRules.h"

enum StepMenuCommand : int {
  kCmdRecordBefore = 1001,
  kCmdRecordAfter = 1002,
  kCmdInsertDelay = 1003,
  kCmdEditDelay = 1004,
  kCmdDeleteStep = 1005,
  kCmdMouseFirst = 1020,  // three per button: press, release, click
  kCmdMouseLast = 1034,
};

// Text ids of the language library.
enum StepMenuText : int {
  kTextRecordBefore = 1053,
  kTextRecordAfter = 1054,
  kTextInsertDelay = 1055,
  kTextEditDelay = 1056,
  kTextDeleteStep = 1057,
  kTextMouseButtons = 1058,
  kTextFirstButton = 1059,  // one per button, in menu order
  kTextPress = 1064,
  kTextRelease = 1065,
  kTextClick = 1066,
};

constexpr int kStepMenuMinWidth = 120;
constexpr int kMouseMenuMinWidth = 100;
constexpr int kButtonMenuMinWidth = 40;

// The mouse buttons in menu order.
constexpr uint8_t kMenuMouseButtons[] = {kMouseLeft, kMouseRight, kMouseMiddle, kMouseButton4, kMouseButton5};

enum class MouseInsertKind { Press, Release, Click };
struct MouseInsertion {
  uint8_t code;
  MouseInsertKind kind;
};
std::optional<MouseInsertion> mouseInsertionOf(int command);
int mouseCommand(uint8_t code, MouseInsertKind kind);  // 0 for no mouse button

struct StepMenuItem {
  int command = 0;  // 0 for a submenu
  int textId = 0;
  bool enabled = true;
  std::vector<StepMenuItem> children;
};

// The menu does not open while recording.
bool stepMenuOpens(bool recording);
// Without a current macro every entry stays enabled, so that choosing one can
// show the warning; with one, entries that could do nothing are greyed.
std::vector<StepMenuItem> stepMenu(bool macroCurrent, const MacroSteps& steps, StepLineRef selected);

// Each returns whether the steps changed.
// On a step line after the first whose previous step does not wait: that
// previous step waits 1 ms, which brings up a delay line to edit.
bool insertDelay(MacroSteps& steps, StepLineRef selected);
// A delay line waits no more; a step line loses its step.
bool deleteAtLine(MacroSteps& steps, StepLineRef selected);
// Before the selected step, or appended; a click needs room for two steps.
bool insertMouseButton(MacroSteps& steps, StepLineRef selected, int command);

constexpr int kMinTypedDelayMs = 1;
constexpr int kMaxTypedDelayMs = 65535;
// The text typed over a delay line; clamped values are shown again.
ClampedNumber editDelay(MacroSteps& steps, StepLineRef delayLine, std::string_view typed);
