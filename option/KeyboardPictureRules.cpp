#include "KeyboardPictureRules.h"

namespace {

bool inside(const SkinRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void add(std::vector<PictureItem>& list, PictureItem item) {
  if (!item) return;
  for (const PictureItem& there : list)
    if (there == item) return;
  list.push_back(item);
}

}  // namespace

bool PictureLayout::ledPlaced(int led) const {
  return led >= 0 && led < kLedCount && leds[led].width() > 0 && leds[led].height() > 0;
}

bool PictureLayout::insideKey(int key, int x, int y) const {
  if (key < 0 || key >= kKeyCount || !inside(keys[key], x, y)) return false;
  if (key != kEnterKeyIndex || enterOutline.empty()) return true;
  const int ox = x - keys[key].left, oy = y - keys[key].top;
  for (const SkinRect& run : enterOutline)
    if (inside(run, ox, oy)) return true;
  return false;
}

bool PictureLayout::insideLed(int led, int x, int y) const {
  return ledPlaced(led) && inside(leds[led], x, y);
}

SkinRect PictureLayout::rectOf(PictureItem item) const {
  if (item.kind == PictureItem::Kind::Key && item.index >= 0 && item.index < kKeyCount)
    return keys[item.index];
  if (item.kind == PictureItem::Kind::Led && ledPlaced(item.index)) return leds[item.index];
  return {};
}

PictureItem ItemAt(const PictureLayout& layout, KeyboardPictureMode mode, int x, int y) {
  if (mode == KeyboardPictureMode::Keys) {
    for (int k = 0; k < kKeyCount; ++k)
      if (layout.insideKey(k, x, y)) return PictureItem::Key(k);
  } else if (mode == KeyboardPictureMode::Leds) {
    for (int i = 0; i < kLedCount; ++i)
      if (layout.insideLed(i, x, y)) return PictureItem::Led(i);
  }
  return {};
}

PictureEffect PictureInput::move(PictureItem under) {
  PictureEffect effect;
  if (pressed_) {
    const bool over = under == pressed_;
    if (over != over_) {
      over_ = over;
      add(effect.repaint, pressed_);
    }
    return effect;
  }
  if (under == hovered_) return effect;
  effect.hoverLeft = hovered_;
  effect.hoverEntered = under;
  add(effect.repaint, hovered_);
  add(effect.repaint, under);
  hovered_ = under;
  return effect;
}

PictureEffect PictureInput::press(PictureItem under, bool ctrl) {
  PictureEffect effect = move(under);
  if (pressed_ || !under) return effect;
  pressed_ = under;
  over_ = true;
  ctrl_ = ctrl;
  effect.capture = true;
  add(effect.repaint, under);
  return effect;
}

PictureEffect PictureInput::release(PictureItem under) {
  PictureEffect effect;
  if (!pressed_) return move(under);
  if (under == pressed_) effect.clicked = pressed_;
  add(effect.repaint, pressed_);
  effect.release = true;
  const PictureItem was = pressed_;
  pressed_ = {};
  over_ = false;
  // The pressed item kept the hover; the mouse may have come up elsewhere.
  hovered_ = was;
  PictureEffect moved = move(under);
  effect.hoverLeft = moved.hoverLeft;
  effect.hoverEntered = moved.hoverEntered;
  for (const PictureItem& item : moved.repaint) add(effect.repaint, item);
  return effect;
}

PictureEffect PictureInput::leave() {
  if (pressed_) return {};
  return move({});
}

PictureEffect PictureInput::cancel() {
  PictureEffect effect;
  add(effect.repaint, pressed_);
  add(effect.repaint, hovered_);
  effect.hoverLeft = hovered_;
  effect.release = bool(pressed_);
  pressed_ = hovered_ = {};
  over_ = false;
  return effect;
}

PictureEffect PictureInput::ctrl(bool held) {
  PictureEffect effect;
  if (held == ctrl_) return effect;
  ctrl_ = held;
  if (pressed_.kind == PictureItem::Kind::Led) add(effect.repaint, pressed_);
  return effect;
}

StateImage PictureInput::look(PictureItem item) const {
  if (!item) return StateImage::Normal;
  if (pressed_) return item == pressed_ && over_ ? StateImage::Down : StateImage::Normal;
  return item == hovered_ ? StateImage::Over : StateImage::Normal;
}

bool PictureInput::painting(int led) const { return ctrl_ && over_ && pressed_ == PictureItem::Led(led); }

LedColors LedColorsOf(const ProfileRecord& profile) {
  LedColors colors;
  for (int i = 0; i < kLedCount; ++i) colors.own[i] = profile.customColors[i];
  colors.ctrlClick = profile.customCtrlClickColor;
  return colors;
}

uint32_t ShownLedColor(const LedColors& colors, const PictureInput& input, int led) {
  if (led < 0 || led >= kLedCount) return 0;
  return input.painting(led) ? colors.ctrlClick : colors.own[led];
}

// Bit 0 shown, bits 1..3 the state image, 4..7 the look, 8..31 the colour.
int64_t EncodePictureItem(const PictureItemReport& report) {
  return int64_t(report.shown ? 1 : 0) | int64_t(report.state) << 1 | int64_t(report.look) << 4 |
         int64_t(report.color & 0xFFFFFF) << 8;
}

PictureItemReport DecodePictureItem(int64_t answer) {
  PictureItemReport report;
  report.shown = (answer & 1) != 0;
  report.state = StateImage((answer >> 1) & 7);
  report.look = KeyLook((answer >> 4) & 15);
  report.color = uint32_t(answer >> 8) & 0xFFFFFF;
  return report;
}
