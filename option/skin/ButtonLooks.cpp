#include "ButtonLooks.h"

StateImage ColorKeyImage(const ColorKeyLook& look) {
  if (look.toggle) {
    if (look.disabled) return StateImage::Disabled;
    if (look.checked) return StateImage::Down;
    if (look.hover) return StateImage::Over;
    return StateImage::Normal;
  }
  // Push mode reads as SkinButton: a checked key stays down unless disabled.
  if (look.checked && !look.disabled) return StateImage::Down;
  if (look.pressed) return StateImage::Down;
  if (look.hover) return StateImage::Over;
  if (look.disabled) return StateImage::Disabled;
  return StateImage::Normal;
}

ShapeRects ColorKeyShapeRects(ColorKeyShape shape, int w, int h) {
  if (shape == ColorKeyShape::LShape) return {{1, 1, w, h - 33}, {8, 24, w, h}};
  return {{1, 2, w, h - 1}, {2, 1, w - 1, h}};
}

ColorKeyOverlay ColorKeyOverlayFor(ColorKeyDrawMode mode, bool enabled, unsigned colour) {
  if (mode == ColorKeyDrawMode::Swatch) return ColorKeyOverlay::Solid;
  return enabled && colour != 0 ? ColorKeyOverlay::Blend : ColorKeyOverlay::None;
}

StateImage RegionButtonImage(RegionState state, bool checked, bool disabled) {
  if (disabled) return StateImage::Disabled;
  if (checked) return StateImage::Down;
  switch (state) {
    case RegionState::Hover:
      return StateImage::Over;
    case RegionState::Pressed:
      return StateImage::Down;
    case RegionState::Disabled:
      return StateImage::Disabled;
    case RegionState::Rest:
      break;
  }
  return StateImage::Normal;
}
