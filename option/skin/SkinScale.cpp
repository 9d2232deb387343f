#include "SkinScale.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

int ScaleLength(int length, int percent) {
  const long long scaled = static_cast<long long>(length) * percent;
  const long long rounded = scaled >= 0 ? (scaled + 50) / 100 : -((-scaled + 50) / 100);
  return static_cast<int>(
      std::clamp<long long>(rounded, -kSkinCoordinateLimit * 2LL, kSkinCoordinateLimit * 2LL));
}

SkinRect ScaleSkinRect(const SkinRect& rect, int percent) {
  return {ScaleLength(rect.left, percent), ScaleLength(rect.top, percent), ScaleLength(rect.right, percent),
          ScaleLength(rect.bottom, percent)};
}

int SkinScaleForDpi(int dpi) {
  if (dpi <= 0) dpi = kBaseDpi;
  int chosen = kSkinScales[0];
  for (int scale : kSkinScales)
    if (static_cast<long long>(scale) * kBaseDpi <= static_cast<long long>(dpi) * 100) chosen = scale;
  return chosen;
}

int FittingSkinScale(int wanted, int baseWidth, int baseHeight, const SkinRect& area) {
  int chosen = kSkinScales[0];
  for (int scale : kSkinScales) {
    if (scale > wanted) break;
    if (ScaleLength(baseWidth, scale) <= area.width() && ScaleLength(baseHeight, scale) <= area.height())
      chosen = scale;
  }
  return chosen;
}

namespace {
long long overlap(const SkinRect& a, const SkinRect& b) {
  const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

int keepInside(int start, int length, int from, int to) {
  // Larger than the span: the start edge stays reachable.
  if (length >= to - from) return from;
  return std::clamp(start, from, to - length);
}
}  // namespace

std::optional<SkinRect> AreaOfPlace(const SkinRect& place, const std::vector<SkinRect>& areas) {
  std::optional<SkinRect> best;
  long long bestOverlap = 0;
  for (const SkinRect& area : areas) {
    const long long o = overlap(place, area);
    if (o > bestOverlap) {
      bestOverlap = o;
      best = area;
    }
  }
  return best;
}

SkinRect KeepInside(const SkinRect& rect, const SkinRect& area) {
  const int w = rect.width(), h = rect.height();
  const int left = keepInside(rect.left, w, area.left, area.right);
  const int top = keepInside(rect.top, h, area.top, area.bottom);
  return {left, top, left + w, top + h};
}

SkinRect PlaceSkinWindow(int width, int height, const std::optional<SkinRect>& remembered,
                         const std::vector<SkinRect>& areas, const SkinRect& pointerArea) {
  if (remembered) {
    if (const std::optional<SkinRect> area = AreaOfPlace(*remembered, areas)) {
      const SkinRect at{remembered->left, remembered->top, remembered->left + width,
                        remembered->top + height};
      return KeepInside(at, *area);
    }
  }
  const int left = pointerArea.left + (pointerArea.width() - width) / 2;
  const int top = pointerArea.top + (pointerArea.height() - height) / 2;
  return KeepInside({left, top, left + width, top + height}, pointerArea);
}

std::optional<SkinRect> ParseWindowPlace(const std::string& text) {
  int values[4] = {};
  const char* at = text.c_str();
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(at, &end, 10);
    if (end == at || errno != 0 || value < -kSkinCoordinateLimit || value > kSkinCoordinateLimit) return {};
    values[i] = static_cast<int>(value);
    at = end;
    if (i < 3) {
      if (*at != ',') return {};
      ++at;
    }
  }
  if (*at != '\0') return {};
  const SkinRect place{values[0], values[1], values[2], values[3]};
  if (place.width() <= 0 || place.height() <= 0) return {};
  return place;
}

std::string WindowPlaceText(const SkinRect& place) {
  return std::to_string(place.left) + "," + std::to_string(place.top) + "," + std::to_string(place.right) +
         "," + std::to_string(place.bottom);
}
