#include "ColorField_win.h"

#include "SkinPictures_win.h"

namespace {
constexpr int kGradientInset = 1;
constexpr int kMarkerDiameter = 11;
}  // namespace

ColorField* ColorField::Create(HWND parent, int id, const SkinPosition& position) {
  HWND window = CreateWindowAt(parent, id, position);
  auto* field = new ColorField;
  if (!field->attach(window)) {
    delete field;
    if (window) DestroyWindow(window);
    return nullptr;
  }
  return field;
}

Hsv ColorField::valueAt(int x, int y) const {
  FieldValue v = FieldValueAt(x, y, width(), height());
  return {value().hue, v.saturation, v.brightness};
}

bool ColorField::applyKey(Hsv& value, PickerKey key) const {
  FieldValue v{value.saturation, value.brightness};
  if (!FieldAfterKey(v, key)) return false;
  value.saturation = v.saturation;
  value.brightness = v.brightness;
  return true;
}

HCURSOR ColorField::insideCursor() const { return LoadCursor(nullptr, IDC_CROSS); }

void ColorField::draw(DibCanvas& canvas) {
  const int w = canvas.width() - 2 * kGradientInset, h = canvas.height() - 2 * kGradientInset;
  if (w > 0 && h > 0)
    FillFieldGradient(canvas.pixels() + kGradientInset * canvas.width() + kGradientInset, w, h,
                      canvas.width(), value().hue);
  const int x = FieldXOf(value().saturation, canvas.width());
  const int y = FieldYOf(value().brightness, canvas.height());
  const int half = DpiScale(kMarkerDiameter) / 2;
  HDC dc = canvas.dc();
  HGDIOBJ oldPen =
      SelectObject(dc, GetStockObject(MarkerIsBlack(ColorFromHsv(value())) ? BLACK_PEN : WHITE_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, x - half, y - half, x + half + 1, y + half + 1);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}
