#pragma once
// The load sequence that every skinned window runs from its creation handler.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Handle_win.h"
#include "SkinPosition.h"

// "skins\" beside the program, with a trailing backslash.
std::string SkinRoot();

// The four full-window pictures a control cuts its state images from.
struct SkinStatePictures {
  HBITMAP normal = nullptr;
  HBITMAP over = nullptr;
  HBITMAP down = nullptr;
  HBITMAP disabled = nullptr;
};

struct SkinKeyRange {
  int first = 1;
  int count = 0;
};

struct SkinSource {
  std::string iniFile;                     // relative to the page folder, may hold "buttons\"
  std::string pageFolder;                  // SkinRoot(), or SkinRoot() + "LightFX\"
  std::vector<SkinKeyRange> keys;          // BUTTONPOS keys, usually {1, N}
  std::vector<std::string> extraPictures;  // further SCREEN keys kept with the window
};

// Creates the control of one BUTTONPOS entry; `ordinal` counts from 0 over all ranges.
using SkinControlFactory = std::function<void(HWND window, int ordinal, int key, const SkinPosition& position,
                                              const SkinStatePictures& pictures)>;

struct LoadedSkin {
  std::string iniPath;
  UniqueBitmap mask;
  UniqueBitmap background;
  std::vector<UniqueBitmap> extra;  // one per SkinSource::extraPictures
  // The hover picture is decoded the first time the mouse comes over a
  // control (LoadOverPicture): no window shows hover on its first paint.
  std::string overPicture;
  bool overCut = false;
  SIZE size{0, 0};
  UniqueRegion region;  // our copy of the installed outline
};

std::string ReadSkinString(const std::string& iniPath, const char* section, const char* key);
// Every entry of a section whose key is a number, by that number: one read
// of the file instead of one a key. Of two equal keys the first counts, as
// for a read of one key.
std::map<int, std::string> ReadSkinSection(const std::string& iniPath, const char* section);

// Steps 1 to 6: pictures, window size at (0, 0) of the parent, one control per
// entry. The controls get no hover picture yet (SkinStatePictures::over null).
void LoadSkin(HWND window, const SkinSource& source, const SkinControlFactory& factory, LoadedSkin& skin);
// The window's hover picture, decoded now; null when the skin has none.
UniqueBitmap LoadOverPicture(const LoadedSkin& skin);
// Step 7: the outline from the mask, installed with redraw when there is one.
void InstallSkinRegion(HWND window, LoadedSkin& skin);
