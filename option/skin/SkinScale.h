#pragma once
// The scales the skin is drawn at, and where a window of a given size goes on
// the screens there are. Plain arithmetic: the windows hand in what the
// system reports (dots per inch, work areas, the pointer) and take the result.

#include <optional>
#include <string>
#include <vector>

#include "SkinPosition.h"

// Scales in percent, smallest first. 100 and 200 ship as picture sets; the
// others are drawn at load from the 200 set.
constexpr int kSkinScales[] = {100, 125, 150, 175, 200};
constexpr int kBaseDpi = 96;

// A length of the 100 % skin at `percent`, rounded to the nearest pixel
// (halves away from zero). The skin generator rounds the same way, so a
// rectangle scaled here and one it wrote for that scale agree.
int ScaleLength(int length, int percent);
// Each edge scaled on its own: two rectangles that touch at 100 % still touch.
SkinRect ScaleSkinRect(const SkinRect& rect, int percent);

// The scale for a monitor of `dpi` dots per inch: the largest skin scale not
// above it (96 -> 100, 120 -> 125, 144 -> 150, 192 -> 200, 288 -> 200);
// nonsense (zero, negative) counts as 96.
int SkinScaleForDpi(int dpi);

// The largest skin scale up to `wanted` at which a window of `base` (its size
// at 100 %) fits `area`; 100 when none does.
int FittingSkinScale(int wanted, int baseWidth, int baseHeight, const SkinRect& area);

// Where a window of `width` x `height` goes. `areas` are the work areas of
// the monitors; `pointerArea` that of the monitor under the mouse pointer.
// A remembered place counts while it overlaps a work area: the window goes
// there, moved as little as needed to be whole inside that area. Otherwise
// it is centred on the pointer's work area. Where the window is larger than
// the area its top left corner stays inside (the title bar can be reached).
SkinRect PlaceSkinWindow(int width, int height, const std::optional<SkinRect>& remembered,
                         const std::vector<SkinRect>& areas, const SkinRect& pointerArea);

// The work area a remembered place belongs to: the one it overlaps most;
// none when it overlaps none.
std::optional<SkinRect> AreaOfPlace(const SkinRect& place, const std::vector<SkinRect>& areas);

// A rectangle of `width` x `height` moved as little as needed to lie inside
// `area` (its top left inside where it is larger): dialogs and balloons.
SkinRect KeepInside(const SkinRect& rect, const SkinRect& area);

// The remembered place as config.ini holds it: "left,top,right,bottom".
// Anything else (four numbers beyond the coordinate limit, an empty or
// inverted rectangle, text) is no place.
std::optional<SkinRect> ParseWindowPlace(const std::string& text);
std::string WindowPlaceText(const SkinRect& place);
