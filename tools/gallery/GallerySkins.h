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

struct GalleryCheck {
  bool opened = false;
  bool notBlank = false;     // more than one colour
  bool notBlack = false;     // some pixel not black
  bool regionApplied = false;  // a white mask corner lies outside the window region
  bool controlsPlaced = false; // every control at its position rectangle
  int controls = 0;
  std::string problem;
  bool ok() const { return opened && notBlank && notBlack && regionApplied && controlsPlaced; }
};

// Opens the window, captures it in-process with PrintWindow and checks it;
// `pngLikeBmp` (optional) receives the capture as a BMP file.
GalleryCheck CheckGalleryWindow(const SkinSource& source, const std::string& captureBmp = {});
