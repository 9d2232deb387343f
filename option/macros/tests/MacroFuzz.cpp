#include "MacroFuzz.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "FakeKeyboardLayout.h"
#include "MacroManagerRules.h"
#include "StepListRules.h"
#include "StepMenuRules.h"

#define FUZZ_CHECK(cond)                                                                \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

namespace {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t u8() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | u8();
    return v;
  }
  std::string text(size_t max) {
    const size_t n = u8() % (max + 1);
    std::string s;
    for (size_t i = 0; i < n && !empty(); ++i) s.push_back(char(u8()));
    return s;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Virtual keys that exercise the interesting cases most of the time.
uint32_t someVirtualKey(Bytes& in) {
  static constexpr uint32_t kKeys[] = {'A', 'B', 0x0D, 0xA0, 0xA2, 0x70, 0xDD, 0xFF, 0x00, 0x6C};
  const uint8_t pick = in.u8();
  return pick < 200 ? kKeys[pick % std::size(kKeys)] : in.u8();
}

void checkSteps(const MacroSteps& s, const KeyboardLayout& layout, int changedLine = -1) {
  FUZZ_CHECK(s.count >= 0 && s.count <= kMaxMacroSteps);
  for (int i = s.count; i < kMaxMacroSteps; ++i) FUZZ_CHECK(s.steps[i].word == 0);
  const std::vector<StepLine> lines = stepLines(s, layout);
  int delays = 0;
  for (int i = 0; i < s.count; ++i) delays += s.steps[i].delayMs() != 0;
  FUZZ_CHECK(int(lines.size()) == s.count + delays);
  for (size_t i = 0; i < lines.size(); ++i) {
    const StepLineRef ref = stepLineRef(lines[i].itemData);
    FUZZ_CHECK(s.contains(ref.step));
    FUZZ_CHECK((ref.delayLine ? lineOfDelay(s, ref.step) : lineOfStep(s, ref.step)) == int(i));
  }
  const int caret = caretAfterRebuild(changedLine, int(lines.size()));
  FUZZ_CHECK(lines.empty() ? caret == -1 : caret >= 0 && caret < int(lines.size()));
  if (changedLine >= 0 && changedLine < int(lines.size())) FUZZ_CHECK(caret == changedLine);
  for (int visible : {1, 3, 12}) {
    const int top = topLineShowingCaret(caret, int(lines.size()), visible, changedLine);
    FUZZ_CHECK(top >= 0 && (lines.empty() || (caret >= top && caret < top + visible)));
  }
}

void checkRecorded(const MacroSteps& s) {
  for (int i = 0; i < s.count; ++i) {
    FUZZ_CHECK(s.steps[i].code() != 0);
    FUZZ_CHECK(s.steps[i].action() == kActionPress || s.steps[i].action() == kActionRelease);
  }
}

template <typename Library>
void checkNames(const Library& library) {
  const std::vector<std::string> names = namesOf(library);
  for (size_t i = 0; i < names.size(); ++i) {
    FUZZ_CHECK(!names[i].empty() && names[i].size() <= kMaxNameLength);
    FUZZ_CHECK(trimBlanks(names[i]) == names[i]);
    for (size_t j = i + 1; j < names.size(); ++j) FUZZ_CHECK(!sameName(names[i], names[j]));
  }
}

MacroSteps someSteps(Bytes& in) {
  MacroSteps s;
  const int n = in.u8() % (kMaxMacroSteps + 1);
  for (int i = 0; i < n; ++i) {
    const uint8_t code = uint8_t(in.u8() | 1);  // never 0
    insertStep(s, kAppend,
               MacroStep::make(code, uint8_t(1 + in.u8() % 2), uint16_t(in.u8() % 4 ? 0 : in.u32())));
  }
  return s;
}

StepLineRef someLine(Bytes& in, const MacroSteps& s) {
  return StepLineRef{int(in.u8() % (s.count + 2)) - 1, (in.u8() & 1) != 0};
}

}  // namespace

void fuzzRecording(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  const FakeUsLayout layout;
  MacroSteps steps = someSteps(in);
  const MacroSteps before = steps;
  const uint8_t mode = in.u8() % 3;
  const bool delays = in.u8() & 1;
  const int at = int(in.u8() % (steps.count + 1));
  Recording rec = mode == 0   ? startRecording(steps, delays)
                  : mode == 1 ? startRecordingBefore(steps, at, delays)
                              : startRecordingAfter(steps, at, delays);
  const int kept = steps.count;
  uint32_t tick = in.u32();
  int stored = 0;
  while (!in.empty()) {
    tick += in.u8() < 16 ? in.u32() : in.u8();
    const HookEvent e = hookEventFromMessage(someVirtualKey(in), in.u8(), tick);
    const RecordOutcome out = recordEvent(rec, steps, e, layout);
    if (out != RecordOutcome::Dropped && steps.count > kept + stored) ++stored;
    FUZZ_CHECK(steps.count == kept + stored);
    if (out == RecordOutcome::Full) FUZZ_CHECK(steps.full());
    if (!delays) {
      // Without delays the old steps keep theirs and new ones wait nothing.
      for (int i = 0; i < steps.count; ++i)
        if (mode == 0) FUZZ_CHECK(steps.steps[i].delayMs() == 0);
    }
  }
  checkSteps(steps, layout);
  checkRecorded(steps);
  if (mode != 0 && stored == 0)
    FUZZ_CHECK(std::equal(before.steps, before.steps + kMaxMacroSteps, steps.steps));
}

void fuzzStepEdits(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  const FakeUsLayout layout;
  MacroSteps s = someSteps(in);
  while (!in.empty()) {
    const StepLineRef line = someLine(in, s);
    const uint8_t op = in.u8() % 4;
    const int before = s.count;
    if (op == 0) {
      const bool changed = insertDelay(s, line);
      FUZZ_CHECK(s.count == before);
      if (changed) FUZZ_CHECK(s.steps[line.step - 1].delayMs() == 1);
    } else if (op == 1) {
      const bool changed = deleteAtLine(s, line);
      FUZZ_CHECK(s.count == before - (changed && !line.delayLine ? 1 : 0));
    } else if (op == 2) {
      const int command = kCmdMouseFirst + in.u8() % (kCmdMouseLast - kCmdMouseFirst + 3) - 1;
      const bool changed = insertMouseButton(s, line, command);
      const auto m = mouseInsertionOf(command);
      if (!m) FUZZ_CHECK(!changed);
      if (changed) FUZZ_CHECK(s.count == before + (m->kind == MouseInsertKind::Click ? 2 : 1));
    } else {
      const ClampedNumber d = editDelay(s, line, in.text(24));
      FUZZ_CHECK(d.value >= kMinTypedDelayMs && d.value <= kMaxTypedDelayMs);
    }
    checkSteps(s, layout, int(in.u8()) - 1);
    // Every menu built from any state has its fixed shape.
    FUZZ_CHECK(stepMenu(true, s, line).size() == 6);
  }
}

void fuzzNames(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  MacroLibrary macros;
  TextMacroLibrary texts;
  while (!in.empty()) {
    const uint8_t op = in.u8();
    const int index = int(in.u8() % 8) - 1;
    const std::string typed = in.text(40);
    switch (op % 6) {
      case 0:
        addMacro(macros, typed);
        break;
      case 1:
        renameMacro(macros, index, typed);
        break;
      case 2: {
        const int next = deleteMacro(macros, index);
        FUZZ_CHECK(next >= -1 && next < int(macros.size()));
        break;
      }
      case 3:
        addTextMacro(texts, typed);
        break;
      case 4:
        renameTextMacro(texts, index, typed);
        break;
      default:
        deleteTextMacro(texts, index);
        break;
    }
    checkNames(macros);
    checkNames(texts);
  }
}

void fuzzMacroManager(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  const FakeUsLayout layout;
  MacroLibrary library;
  MacroManagerSession session(library);
  uint32_t tick = 0;
  while (!in.empty()) {
    const uint8_t op = in.u8() % 11;
    const StepLineRef line = someLine(in, session.steps());
    switch (op) {
      case 0:
        session.commitNewLine(in.text(20));
        break;
      case 1:
        session.select(int(in.u8() % 6) - 1);
        break;
      case 2:
        session.startRecording();
        break;
      case 3:
        session.startRecordingBefore(line);
        break;
      case 4:
        tick += in.u8();
        session.onHookKey(hookEventFromMessage(someVirtualKey(in), in.u8(), tick), layout);
        break;
      case 5:
        session.stopRecording();
        break;
      case 6:
        session.runStepCommand(1000 + in.u8() % 40, line);
        break;
      case 7:
        session.commitDelayEdit(line, in.text(24), nullptr);
        break;
      case 8:
        session.setRepeatCountText(in.text(5));
        break;
      case 9:
        session.commitRename(int(in.u8() % 6) - 1, in.text(20));
        break;
      default:
        session.deleteCurrent();
        break;
    }
    FUZZ_CHECK(session.current() >= -1 && session.current() < int(library.size()));
    // A library that starts empty has nothing to rename.
    FUZZ_CHECK(session.renames().empty());
    checkSteps(session.steps(), layout, session.changedLine());
    checkRecorded(session.steps());
    if (session.current() >= 0) {
      const MacroRecord& r = library[size_t(session.current())];
      // The working copy is always written back.
      FUZZ_CHECK(r.stepCount == session.steps().count);
      FUZZ_CHECK(std::equal(r.steps, r.steps + kMaxMacroSteps, session.steps().steps));
      FUZZ_CHECK(r.repeatCount >= 0 && r.repeatCount <= kMaxRepeatCount);
    } else {
      FUZZ_CHECK(!session.recording());
    }
  }
}
