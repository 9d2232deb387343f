#pragma once
// Which state image a picture button shows, and the outline of a colour key.

#include "SkinPosition.h"

enum class StateImage { Normal, Over, Down, Disabled };

struct ColorKeyLook {
  bool toggle = false;
  bool checked = false;
  bool hover = false;
  bool disabled = false;
  bool pressed = false;  // the system's selected state while the mouse is down
};
StateImage ColorKeyImage(const ColorKeyLook& look);

// Rectangle with cut corners (0) or the L of the large Enter key (1); the
// outline is the union of the two rectangles of a w x h client.
enum class ColorKeyShape { CutCorners = 0, LShape = 1 };
struct ShapeRects {
  SkinRect first, second;
};
ShapeRects ColorKeyShapeRects(ColorKeyShape shape, int w, int h);

// Swatch mode always fills the shape; key-colour mode blends only an enabled
// key with a colour other than 0 (0 leaves the key picture as it is).
enum class ColorKeyDrawMode { Swatch = 0, KeyColour = 1 };
enum class ColorKeyOverlay { None, Solid, Blend };
ColorKeyOverlay ColorKeyOverlayFor(ColorKeyDrawMode mode, bool enabled, unsigned colour);
constexpr unsigned char kColorKeyAlpha = 127;

// RegionButton: 0 rest, 1 hover, 2 pressed, 3 disabled.
enum class RegionState { Rest = 0, Hover = 1, Pressed = 2, Disabled = 3 };
StateImage RegionButtonImage(RegionState state, bool checked, bool disabled);
