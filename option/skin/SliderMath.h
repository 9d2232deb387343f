#pragma once
// Value and position arithmetic of the skinned slider, kept apart from the
// windows so the rounding rules can be tested on their own.

struct SliderGeometry {
  int leftLimit = 0;  // track coordinates of the thumb's travel
  int rightLimit = 0;
  int thumbWidth = 0;
  int minimum = 0;
  int maximum = 10;
  bool snap = false;
};

int ClampSliderValue(const SliderGeometry& g, int value);
// Left edge of the thumb that shows `value`.
int SliderThumbLeft(const SliderGeometry& g, int value);
// Thumb left while dragging: the grab point follows the cursor, kept on the track.
int SliderDragLeft(const SliderGeometry& g, int cursorX, int grabOffset);
// Integer value during a drag.
int SliderDragValue(const SliderGeometry& g, int thumbLeft);
// Real value of a thumb position (traced on release).
double SliderRealValue(const SliderGeometry& g, int thumbLeft);
// Real value of a click on the track at page x.
double SliderClickRealValue(const SliderGeometry& g, int x, int trackLeft, int trackRight);
// Rounds (snap) or truncates a real value and clamps it to the range.
int SliderSettle(const SliderGeometry& g, double real);
