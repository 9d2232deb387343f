#pragma once
// The skinned windows the gallery knows and the check of one shown window.

#include <windows.h>

#include <string>
#include <vector>

#include "SkinLoader_win.h"

// Every skin INI of the program, relative to the skins folder.
const std::vector<std::string>& GalleryIniFiles();

// The source of `ini` (relative to `root`): LightFX pages resolve against their
// own folder, skin_main.ini takes its key and LED ranges, others `count`
// entries (0: as many as the file has, from "1" on).
SkinSource GallerySource(const std::string& root, const std::string& ini, int count);

// The control that the program puts at an entry, judged by its name: lists
// with sample lines (the second selected), number fields, speed sliders, keys
// of the keyboard picture lit in a rainbow; LED entries are made hidden, as
// the custom colour page shows them; anything else is a picture button.
// `folder` is the page's skin folder (the slider thumb lies there or one up).
// Returns the control's window, or null.
HWND CreateGalleryControl(HWND window, int id, const SkinPosition& position,
                          const SkinStatePictures& pictures, const std::string& folder);

struct GalleryCheck {
  bool opened = false;
  bool notBlank = false;        // more than one colour
  bool notBlack = false;        // some pixel not black
  bool regionApplied = false;   // a white mask corner lies outside the window region
  bool controlsPlaced = false;  // every control at its position rectangle
  bool keysLit = true;          // keys of the keyboard picture show their colour
  bool listsDrawn = true;       // lists show their background and selected line
  bool thumbsShaped = true;     // no transparent-colour pixel of a slider thumb shows
  bool named = true;            // every visible control has a text for screen readers
  int controls = 0;
  std::string problem;
  bool ok() const {
    return opened && notBlank && notBlack && regionApplied && controlsPlaced && keysLit && listsDrawn &&
           thumbsShaped && named;
  }
};

// Opens the window, captures it in-process with PrintWindow and checks it;
// `pngLikeBmp` (optional) receives the capture as a BMP file.
GalleryCheck CheckGalleryWindow(const SkinSource& source, const std::string& captureBmp = {});
