#pragma once
// The scale the skin is shown at, and its pictures at that scale.
//
// The whole program shows one scale at a time: that of the monitor the main
// window is on, or the largest that fits there (SkinScale.h). Fonts, offsets
// and sizes the code writes as pixel numbers follow the skin's scale rather
// than the monitor's: a window that fits at 150 % on a 200 % monitor writes
// its texts at 150 % too.

#include <windows.h>

#include <string>

#include "Handle_win.h"
#include "PictureScale.h"
#include "SkinPosition.h"

// Percent: 100, 125, 150, 175 or 200.
int CurrentSkinScale();
void SetCurrentSkinScale(int percent);

// A length of the 100 % skin at the current scale.
int DpiScale(int length);
RECT DpiScale(const RECT& rect);
SkinRect DpiScale(const SkinRect& rect);

// Dots per inch of a monitor (of a window's monitor), 96 where the system
// cannot tell.
int MonitorDpi(HMONITOR monitor);
// The work area of a monitor, as the placement rules take it.
SkinRect MonitorWorkArea(HMONITOR monitor);

// Folder of the 200 % skin set inside SkinRoot().
constexpr char kSkinSet200[] = "200\\";

// A skin picture under SkinRoot() at the current scale: the file itself at
// 100 %, the 200 % set's at 200 %, and that one scaled with `filter` to the
// size between (the 100 % size times the scale) otherwise. Where the 200 %
// set lacks it, the 100 % picture is scaled up. As LoadPictureFile.
bool LoadSkinPicture(const std::string& path, UniqueBitmap& target, SIZE& size,
                     PictureFilter filter = PictureFilter::Smooth);

// A picture the program carries as resource `id` at 100 %; at another scale
// the file of the 200 % set named for it scaled to it, or the resource
// scaled up where it has no file.
UniqueBitmap LoadSkinResourcePicture(int id, PictureFilter filter);
// Names the file of the 200 % set that stands for resource `id`.
void NameSkinResourcePicture(int id, const char* file);

// `rect` (screen coordinates) moved as little as needed to lie inside the
// work area of the monitor it is most on: dialogs and balloons.
RECT KeepOnWorkArea(const RECT& rect);
