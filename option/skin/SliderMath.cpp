#include "SliderMath.h"

#include <algorithm>
#include <cmath>

namespace {
int lowOf(const SliderGeometry& g) { return std::min(g.minimum, g.maximum); }
int highOf(const SliderGeometry& g) { return std::max(g.minimum, g.maximum); }
}  // namespace

int ClampSliderValue(const SliderGeometry& g, int value) { return std::clamp(value, lowOf(g), highOf(g)); }

int SliderThumbLeft(const SliderGeometry& g, int value) {
  int range = g.maximum - g.minimum;
  if (range == 0) return g.leftLimit;  // a one-value slider would divide by zero
  int v = ClampSliderValue(g, value);
  return g.leftLimit + (g.rightLimit - g.leftLimit - g.thumbWidth) * (v - g.minimum) / range;
}

int SliderDragLeft(const SliderGeometry& g, int cursorX, int grabOffset) {
  int highest = std::max(g.leftLimit, g.rightLimit - g.thumbWidth);
  return std::clamp(cursorX - grabOffset, g.leftLimit, highest);
}

int SliderDragValue(const SliderGeometry& g, int thumbLeft) {
  int travel = g.rightLimit - g.thumbWidth - g.leftLimit;
  if (travel <= 0) return ClampSliderValue(g, g.minimum);
  int v = g.minimum + (thumbLeft - g.leftLimit) * (g.maximum - g.minimum) / travel;
  return ClampSliderValue(g, v);
}

double SliderRealValue(const SliderGeometry& g, int thumbLeft) {
  int travel = g.rightLimit - g.thumbWidth - g.leftLimit;
  if (travel <= 0) return g.minimum;
  return g.minimum + double(thumbLeft - g.leftLimit) * (g.maximum - g.minimum) / travel;
}

double SliderClickRealValue(const SliderGeometry& g, int x, int trackLeft, int trackRight) {
  if (trackRight <= trackLeft) return g.minimum;
  return double(x - trackLeft) * (g.maximum - g.minimum) / (trackRight - trackLeft) + g.minimum;
}

int SliderSettle(const SliderGeometry& g, double real) {
  double low = lowOf(g), high = highOf(g);
  real = std::clamp(real, low, high);  // before the cast, so no value overflows int
  int v = g.snap ? int(real + 0.5) : int(real);
  return ClampSliderValue(g, v);
}
