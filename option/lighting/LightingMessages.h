#pragma once
// Window messages inside the colour dialog, between its controls and the
// dialog. WM_USER is 1024.

enum LightingMessage : unsigned {
  // Posted by NumberSpinField to its parent (the dialog) after every settled change.
  // wParam: the new value. lParam: the field's identifier (401 red, 402 green, 403 blue,
  // ColorSelectRules.h).
  MSG_NUMBER_CHANGED = 1114,  // WM_USER + 90
  // Posted by ColorPreview to its parent when the picked colour changed.
  // wParam: the colour, 0x00BBGGRR. lParam: the preview's identifier.
  MSG_PICKER_COLOR = 1115,  // WM_USER + 91
  // Sent by ColorField and HueBar to their linked controls and to their parent.
  // wParam: 0. lParam: const PickerSync* (ColorPicker_win.h): sender window,
  // sender identifier and the hue, saturation and brightness after the change.
  // Answer: 0.
  MSG_PICKER_SYNC = 1294,  // WM_USER + 270
};
