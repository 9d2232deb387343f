#include "HueBar_win.h"

#include <algorithm>

namespace {
constexpr uint32_t kMarkerOuter = 0x000000, kMarkerInner = 0xFFFFFF;
}

HueBar* HueBar::Create(HWND parent, int id, const SkinPosition& position) {
  HWND window = CreateWindowAt(parent, id, position);
  auto* bar = new HueBar;
  if (!bar->attach(window)) {
    delete bar;
    if (window) DestroyWindow(window);
    return nullptr;
  }
  return bar;
}

Hsv HueBar::valueAt(int, int y) const {
  Hsv v = value();
  v.hue = HueAt(y, height());
  return v;
}

bool HueBar::applyKey(Hsv& value, PickerKey key) const { return HueAfterKey(value.hue, key); }

void HueBar::draw(DibCanvas& canvas) {
  const int w = canvas.width(), h = canvas.height();
  FillHueStrip(canvas.pixels(), w, h, w);
  // The marker: a white line framed in black across the strip, visible on every hue.
  const int y = std::clamp(HueBarYOf(value().hue, h), 1, std::max(h - 2, 1));
  for (int row = y - 1; row <= y + 1; ++row) {
    if (row < 0 || row >= h) continue;
    std::fill_n(canvas.pixels() + size_t(row) * size_t(w), w, row == y ? kMarkerInner : kMarkerOuter);
  }
}
