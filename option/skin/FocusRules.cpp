#include "FocusRules.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

std::vector<size_t> ReadingOrder(const std::vector<SkinRect>& rects) {
  std::vector<size_t> byTop(rects.size());
  for (size_t i = 0; i < rects.size(); ++i) byTop[i] = i;
  std::stable_sort(byTop.begin(), byTop.end(), [&](size_t a, size_t b) {
    if (rects[a].top != rects[b].top) return rects[a].top < rects[b].top;
    return rects[a].left < rects[b].left;
  });
  std::vector<size_t> order;
  order.reserve(rects.size());
  size_t rowStart = 0;
  while (rowStart < byTop.size()) {
    const int32_t rowTop = rects[byTop[rowStart]].top;
    int32_t lowest = std::max(rects[byTop[rowStart]].height(), 1);
    size_t rowEnd = rowStart + 1;
    for (; rowEnd < byTop.size(); ++rowEnd) {
      const SkinRect& r = rects[byTop[rowEnd]];
      const int32_t height = std::min(lowest, std::max(r.height(), 1));
      if (r.top - rowTop >= (height + 1) / 2) break;
      lowest = height;
    }
    std::stable_sort(byTop.begin() + long(rowStart), byTop.begin() + long(rowEnd),
                     [&](size_t a, size_t b) { return rects[a].left < rects[b].left; });
    order.insert(order.end(), byTop.begin() + long(rowStart), byTop.begin() + long(rowEnd));
    rowStart = rowEnd;
  }
  return order;
}

int NextTabIndex(int count, int current, bool backwards) {
  if (count <= 0) return -1;
  if (current < 0 || current >= count) return backwards ? count - 1 : 0;
  return backwards ? (current + count - 1) % count : (current + 1) % count;
}

KeyAction DialogKeyAction(unsigned key, bool shift, bool alt, bool ctrl, const FocusContext& focus) {
  switch (key) {
    case kKeyTab:
      if (alt || ctrl) return KeyAction::Pass;  // the system's window switching
      return shift ? KeyAction::PreviousControl : KeyAction::NextControl;
    case kKeyF4:
      return alt && !ctrl && !shift ? KeyAction::Close : KeyAction::Pass;
    case kKeyEscape:
      return alt || focus.wantsKey ? KeyAction::Pass : KeyAction::Cancel;
    case kKeyReturn:
      if (alt || focus.wantsKey) return KeyAction::Pass;
      // Ctrl+Enter belongs to the control (the keyboard picture paints with it).
      if (ctrl) return KeyAction::Pass;
      return focus.button ? KeyAction::Press : KeyAction::Ok;
    case kKeySpace:
      return focus.button && !alt && !ctrl ? KeyAction::Press : KeyAction::Pass;
  }
  return KeyAction::Pass;
}

bool IsSliderKey(unsigned key) {
  switch (key) {
    case kKeyLeft:
    case kKeyRight:
    case kKeyUp:
    case kKeyDown:
    case kKeyPageUp:
    case kKeyPageDown:
    case kKeyHome:
    case kKeyEnd:
      return true;
  }
  return false;
}

int SliderKeyValue(const SliderGeometry& g, int value, unsigned key) {
  const int low = std::min(g.minimum, g.maximum), high = std::max(g.minimum, g.maximum);
  // A tenth of the range, at least one step; the range never overflows (the
  // values come from the program, but a reversed or one-value slider may).
  const long long range = static_cast<long long>(high) - low;
  const int page = int(std::max(1LL, range / 10));
  const int step = g.maximum >= g.minimum ? 1 : -1;  // "up" follows the slider's direction
  long long next = value;
  switch (key) {
    case kKeyLeft:
    case kKeyDown:
      next -= step;
      break;
    case kKeyRight:
    case kKeyUp:
      next += step;
      break;
    case kKeyPageDown:
      next -= static_cast<long long>(step) * page;
      break;
    case kKeyPageUp:
      next += static_cast<long long>(step) * page;
      break;
    case kKeyHome:
      return g.minimum;
    case kKeyEnd:
      return g.maximum;
    default:
      return value;
  }
  return int(std::clamp<long long>(next, low, high));
}

namespace {
bool isItem(const SkinRect& r) { return r.width() > 0 && r.height() > 0; }
// Twice the centre, so that halves stay whole.
long long centreX2(const SkinRect& r) { return static_cast<long long>(r.left) + r.right; }
long long centreY2(const SkinRect& r) { return static_cast<long long>(r.top) + r.bottom; }
}  // namespace

int NeighbourItem(const std::vector<SkinRect>& items, int from, unsigned arrow) {
  const int count = int(items.size());
  if (from < 0 || from >= count || !isItem(items[size_t(from)])) {
    std::vector<SkinRect> placed;
    std::vector<int> index;
    for (int i = 0; i < count; ++i)
      if (isItem(items[size_t(i)])) {
        placed.push_back(items[size_t(i)]);
        index.push_back(i);
      }
    if (placed.empty()) return -1;
    return index[ReadingOrder(placed).front()];
  }
  const SkinRect& origin = items[size_t(from)];
  int best = from;
  long long bestScore = LLONG_MAX;
  for (int i = 0; i < count; ++i) {
    const SkinRect& r = items[size_t(i)];
    if (i == from || !isItem(r)) continue;
    const long long dx = centreX2(r) - centreX2(origin), dy = centreY2(r) - centreY2(origin);
    long long along = 0, across = 0;
    switch (arrow) {
      case kKeyLeft:
        along = -dx, across = dy;
        break;
      case kKeyRight:
        along = dx, across = dy;
        break;
      case kKeyUp:
        along = -dy, across = dx;
        break;
      case kKeyDown:
        along = dy, across = dx;
        break;
      default:
        return from;
    }
    if (along <= 0) continue;
    const long long score = along + 2 * std::llabs(across);
    if (score < bestScore) {
      bestScore = score;
      best = i;
    }
  }
  return best;
}
