#include "TextMacroManagerRules.h"

namespace {
constexpr uint32_t kVirtualKeyEscape = 0x1B;
}  // namespace

TextMacroRecord* TextMacroManagerSession::record() {
  return current_ >= 0 ? &library_[size_t(current_)] : nullptr;
}
const TextMacroRecord* TextMacroManagerSession::record() const {
  return current_ >= 0 ? &library_[size_t(current_)] : nullptr;
}

void TextMacroManagerSession::select(int index) {
  capturing_.reset();
  current_ = index >= 0 && size_t(index) < library_.size() ? index : -1;
  if (const TextMacroRecord* r = record()) delayShown_ = r->delayMs;
}

std::string_view TextMacroManagerSession::text() const {
  const TextMacroRecord* r = record();
  return r ? textOf(*r) : std::string_view{};
}

std::string TextMacroManagerSession::keyButtonText(KeySlot slot, const KeyboardLayout& layout) const {
  if (capturing_ == slot) return std::string(kCapturingText);
  const TextMacroRecord* r = record();
  if (!r) return std::string(kNoKeyText);
  return ::keyButtonText(slot == KeySlot::Before ? r->keyBefore : r->keyAfter, layout);
}

TextMacroManagerSession::NameResult TextMacroManagerSession::commitNewLine(std::string_view typed) {
  if (!addTextMacro(library_, typed)) {
    const int nearest = selectionAfterRemoval(int(library_.size()), int(library_.size()));
    select(nearest);
    return {false, nearest};
  }
  trail_.appended();
  select(int(library_.size()) - 1);
  return {true, current_};
}

TextMacroManagerSession::NameResult TextMacroManagerSession::commitRename(int line, std::string_view typed) {
  if (line < 0 || size_t(line) >= library_.size()) return {false, current_};
  if (line != current_) select(line);
  return {renameTextMacro(library_, line, typed), line};
}

int TextMacroManagerSession::deleteCurrent() {
  if (current_ < 0) return -1;
  trail_.removed(current_);
  select(deleteTextMacro(library_, current_));
  return current_;
}

ClampedNumber TextMacroManagerSession::editsChanged(std::string_view delayTyped, std::string_view text) {
  const ClampedNumber delay = textDelayFromEdit(delayTyped);
  delayShown_ = delay.value;
  if (TextMacroRecord* r = record()) {
    r->delayMs = delay.value;
    storeText(*r, text);
  }
  return delay;
}

bool TextMacroManagerSession::startCapture(KeySlot slot) {
  if (!record() || capturing_) return false;
  capturing_ = slot;
  return true;
}

void TextMacroManagerSession::store(uint8_t code) {
  TextMacroRecord* r = record();
  if (r && capturing_) (*capturing_ == KeySlot::Before ? r->keyBefore : r->keyAfter) = code;
  capturing_.reset();
}

CaptureEnd TextMacroManagerSession::onHookKey(const HookEvent& event, const KeyboardLayout& layout) {
  if (!capturing_) return CaptureEnd::None;
  // The hook swallows every key, so Escape is the only way out by keyboard.
  if (!event.released && event.virtualKey == kVirtualKeyEscape) {
    capturing_.reset();
    return CaptureEnd::Abandoned;
  }
  const std::optional<uint8_t> code = capturedKey(event, layout);
  if (!code) return CaptureEnd::None;
  store(*code);
  return CaptureEnd::Stored;
}

CaptureEnd TextMacroManagerSession::onMouseButton(MouseButton button, ClickPlace place) {
  if (!capturing_) return CaptureEnd::None;
  if (button == MouseButton::Left && place == ClickPlace::Control) {
    capturing_.reset();
    return CaptureEnd::Abandoned;
  }
  store(mouseButtonCode(button));
  return CaptureEnd::Stored;
}

bool TextMacroManagerSession::clearKey(KeySlot slot) {
  TextMacroRecord* r = record();
  if (!r) return false;
  (slot == KeySlot::Before ? r->keyBefore : r->keyAfter) = 0;
  return true;
}
