#include "SkinLoader_win.h"

#include "Picture_win.h"
#include "ProgramFolder_win.h"

std::string SkinRoot() { return programFolder() + "skins\\"; }

std::string ReadSkinString(const std::string& iniPath, const char* section, const char* key) {
  char value[2048] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof value, iniPath.c_str());
  return value;
}

void LoadSkin(HWND window, const SkinSource& source, const SkinControlFactory& factory, LoadedSkin& skin) {
  skin.iniPath = source.pageFolder + source.iniFile;
  static const char* const kStates[] = {"Mask", "Normal", "Over", "Down", "Disable"};
  std::string names[5];
  for (int i = 0; i < 5; ++i) names[i] = ReadSkinString(skin.iniPath, "SCREEN", kStates[i]);
  auto picturePath = [&](const std::string& name) {
    return name.empty() ? std::string() : source.pageFolder + name;
  };

  SIZE ignored{};
  LoadPictureFile(picturePath(names[0]), skin.mask, ignored);
  // The rest picture is the background itself: decoding it a second time
  // would only cost time (a large JPEG takes tens of milliseconds).
  LoadPictureFile(picturePath(names[1]), skin.background, skin.size);
  UniqueBitmap states[4];
  for (int i = 1; i < 4; ++i) LoadPictureFile(picturePath(names[i + 1]), states[i], ignored);

  skin.extra.clear();
  for (const std::string& key : source.extraPictures) {
    UniqueBitmap picture;
    LoadPictureFile(picturePath(ReadSkinString(skin.iniPath, "SCREEN", key.c_str())), picture, ignored);
    skin.extra.push_back(std::move(picture));
  }

  SetWindowPos(window, nullptr, 0, 0, skin.size.cx, skin.size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

  SkinStatePictures pictures{skin.background.get(), states[1].get(), states[2].get(), states[3].get()};
  const StateCutScope cutting;
  int ordinal = 0;
  for (const SkinKeyRange& range : source.keys) {
    for (int key = range.first; key < range.first + range.count; ++key) {
      std::string value = ReadSkinString(skin.iniPath, "BUTTONPOS", std::to_string(key).c_str());
      if (factory) factory(window, ordinal, key, ParseSkinPosition(value), pictures);
      ++ordinal;
    }
  }
  if (source.keepStatePictures) {
    skin.over = std::move(states[1]);
    skin.down = std::move(states[2]);
    skin.disabled = std::move(states[3]);
  }
  // Otherwise the three temporary pictures go with `states`.
}

void InstallSkinRegion(HWND window, LoadedSkin& skin) {
  skin.region = RegionFromMask(skin.mask.get(), RGB(255, 255, 255), 0);
  if (!skin.region) return;
  HRGN installed = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(installed, skin.region.get(), nullptr, RGN_COPY);
  // The system owns the installed region from here on.
  if (!SetWindowRgn(window, installed, TRUE)) DeleteObject(installed);
}
