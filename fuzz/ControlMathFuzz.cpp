// The arithmetic of the skinned controls: slider positions and values, the
// number field, colours and the colour pickers. Geometry comes from skin
// files (bounded by the position parser), values from the mouse, keys and
// typing; every result stays in its range.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

#include "ColorMath.h"
#include "FuzzSupport.h"
#include "NumberSpinRules.h"
#include "PickerMath.h"
#include "SkinPosition.h"
#include "SliderMath.h"

namespace {

// What a skin position can give after parsing, and a little beyond.
constexpr int kCoordinate = 2 * kSkinCoordinateLimit + 2;

void slider(FuzzedDataProvider& in) {
  SliderGeometry g;
  g.leftLimit = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);
  g.rightLimit = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);
  g.thumbWidth = in.ConsumeIntegralInRange(0, kCoordinate);
  g.minimum = in.ConsumeIntegralInRange(-1000, 1000);
  g.maximum = in.ConsumeIntegralInRange(-1000, 1000);
  g.snap = in.ConsumeBool();
  const int low = std::min(g.minimum, g.maximum), high = std::max(g.minimum, g.maximum);
  const int value = in.ConsumeIntegral<int>();
  const int cursor = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);
  const int grab = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);

  const int clamped = ClampSliderValue(g, value);
  FUZZ_CHECK(clamped >= low && clamped <= high);
  SliderThumbLeft(g, value);
  const int left = SliderDragLeft(g, cursor, grab);
  FUZZ_CHECK(left >= g.leftLimit);
  const int dragged = SliderDragValue(g, left);
  FUZZ_CHECK(dragged >= low && dragged <= high);
  const double real = SliderRealValue(g, left);
  FUZZ_CHECK(std::isfinite(real));
  const int settled = SliderSettle(g, real);
  FUZZ_CHECK(settled >= low && settled <= high);
  const double click = SliderClickRealValue(g, cursor, g.leftLimit, g.rightLimit);
  FUZZ_CHECK(std::isfinite(click));
  const int clickSettled = SliderSettle(g, click);
  FUZZ_CHECK(clickSettled >= low && clickSettled <= high);
}

void spin(FuzzedDataProvider& in) {
  // Ranges as the pages make them: both ends on the step.
  SpinRange range;
  range.step = in.ConsumeIntegralInRange(1, 1000);
  range.minimum = range.step * in.ConsumeIntegralInRange(-1000, 1000);
  range.maximum = range.minimum + range.step * in.ConsumeIntegralInRange(0, 1000);
  const std::string typed = in.ConsumeRandomLengthString(24);
  const int value = ParseSpinText(typed);
  const SpinSettled settled = SettleSpinValue(range, value);
  FUZZ_CHECK(settled.value >= range.minimum && settled.value <= range.maximum);
  FUZZ_CHECK(settled.rewrite == (settled.value != value));
  const int current = in.ConsumeIntegral<int>();
  for (const auto& next : {SpinUp(range, current), SpinDown(range, current)})
    if (next) FUZZ_CHECK(*next >= range.minimum && *next <= range.maximum);
  FUZZ_CHECK(ParseSpinText(SpinText(value)) == value);
  FUZZ_CHECK(SpinTextLimit(range) >= int(SpinText(range.maximum).size()));
}

void colour(FuzzedDataProvider& in) {
  const Color c = in.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
  const Hsv hsv = HsvFromColor(c);
  FUZZ_CHECK(hsv.hue >= 0 && hsv.hue <= kHueMax);
  FUZZ_CHECK(hsv.saturation >= 0 && hsv.saturation <= kHsvScale);
  FUZZ_CHECK(hsv.brightness >= 0 && hsv.brightness <= kHsvScale);
  const Color back = ColorFromHsv(hsv);
  for (int shift : {0, 8, 16})
    FUZZ_CHECK(std::abs(int((back >> shift) & 0xFF) - int((c >> shift) & 0xFF)) <= 2);
  Hsv any;
  any.hue = in.ConsumeIntegral<int>();
  any.saturation = in.ConsumeIntegral<int>();
  any.brightness = in.ConsumeIntegral<int>();
  FUZZ_CHECK(ColorFromHsv(any) <= 0xFFFFFF);
  FUZZ_CHECK(WithChannel(c, ColorChannel(in.ConsumeIntegralInRange(0, 2)), in.ConsumeIntegral<unsigned>()) <=
             0xFFFFFF);
  FUZZ_CHECK(ColorHexText(in.ConsumeIntegral<uint32_t>()).size() == 6);
}

void picker(FuzzedDataProvider& in) {
  const int width = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);
  const int height = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);
  const int x = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);
  const int y = in.ConsumeIntegralInRange(-kCoordinate, kCoordinate);
  FieldValue v = FieldValueAt(x, y, width, height);
  FUZZ_CHECK(v.saturation >= 0 && v.saturation <= kHsvScale && v.brightness >= 0 &&
             v.brightness <= kHsvScale);
  FieldAfterKey(v, PickerKey(in.ConsumeIntegralInRange(0, 8)));
  FUZZ_CHECK(v.saturation >= 0 && v.saturation <= kHsvScale && v.brightness >= 0 &&
             v.brightness <= kHsvScale);
  if (width > 0 && height > 0) {
    const int fx = FieldXOf(in.ConsumeIntegral<int>(), width),
              fy = FieldYOf(in.ConsumeIntegral<int>(), height);
    FUZZ_CHECK(fx >= 0 && fx <= width && fy >= 0 && fy <= height);
    const int hue = HueAt(y, height);
    FUZZ_CHECK(hue >= 0 && hue <= kHueMax);
    const int bar = HueBarYOf(in.ConsumeIntegral<int>(), height);
    FUZZ_CHECK(bar >= 0 && bar <= height);
  }
  int hue = in.ConsumeIntegralInRange(0, kHueMax);
  HueAfterKey(hue, PickerKey(in.ConsumeIntegralInRange(0, 8)));
  FUZZ_CHECK(hue >= 0 && hue <= kHueMax);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:
        slider(in);
        break;
      case 1:
        spin(in);
        break;
      case 2:
        colour(in);
        break;
      default:
        picker(in);
        break;
    }
  }
  return 0;
}
