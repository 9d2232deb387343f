#include "SkinLoader_win.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "Picture_win.h"
#include "ProgramFolder_win.h"
#include "SkinPictures_win.h"

std::string SkinRoot() { return programFolder() + "skins\\"; }

std::string ReadSkinString(const std::string& iniPath, const char* section, const char* key) {
  char value[2048] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof value, iniPath.c_str());
  return value;
}

namespace {
std::string SkinTrim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
}  // namespace

std::map<int, std::string> ReadSkinSection(const std::string& iniPath, const char* section) {
  std::vector<char> text(64 << 10);
  for (;;) {
    const DWORD got = GetPrivateProfileSectionA(section, text.data(), DWORD(text.size()), iniPath.c_str());
    if (got + 2 < text.size() || text.size() >= (16u << 20)) break;
    text.resize(text.size() * 4);  // cut short: once more with room
  }
  std::map<int, std::string> entries;
  for (const char* line = text.data(); *line; line += std::strlen(line) + 1) {
    const char* equals = std::strchr(line, '=');
    if (!equals) continue;
    const std::string name = SkinTrim(std::string(line, equals));
    char* end = nullptr;
    const long key = std::strtol(name.c_str(), &end, 10);
    // Only what a read of that one key finds: "7", not "07" or "7x".
    if (name.empty() || *end || key < INT_MIN || key > INT_MAX || std::to_string(key) != name) continue;
    std::string value = SkinTrim(equals + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    entries.emplace(int(key), value);
  }
  return entries;
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
  LoadSkinPicture(picturePath(names[0]), skin.mask, ignored, PictureFilter::Outline);
  // The rest picture is the background itself: decoding it a second time
  // would only cost time (a large JPEG takes tens of milliseconds).
  LoadSkinPicture(picturePath(names[1]), skin.background, skin.size);
  skin.overPicture = picturePath(names[2]);
  skin.overCut = false;
  UniqueBitmap states[4];
  for (int i = 2; i < 4; ++i) LoadSkinPicture(picturePath(names[i + 1]), states[i], ignored);

  skin.extra.clear();
  for (const std::string& key : source.extraPictures) {
    UniqueBitmap picture;
    LoadSkinPicture(picturePath(ReadSkinString(skin.iniPath, "SCREEN", key.c_str())), picture, ignored);
    skin.extra.push_back(std::move(picture));
  }

  SetWindowPos(window, nullptr, 0, 0, skin.size.cx, skin.size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

  SkinStatePictures pictures{skin.background.get(), nullptr, states[2].get(), states[3].get()};
  const StateCutScope cutting;
  const std::map<int, std::string> positions =
      source.keys.empty() ? std::map<int, std::string>{} : ReadSkinSection(skin.iniPath, "BUTTONPOS");
  int ordinal = 0;
  for (const SkinKeyRange& range : source.keys) {
    for (int key = range.first; key < range.first + range.count; ++key) {
      const auto value = positions.find(key);
      if (factory) {
        // Rectangles of the 100 % skin, at the scale shown.
        SkinPosition position = ParseSkinPosition(value == positions.end() ? "" : value->second);
        position.rect = DpiScale(position.rect);
        factory(window, ordinal, key, position, pictures);
      }
      ++ordinal;
    }
  }
  // The two temporary pictures go with `states`.
}

UniqueBitmap LoadOverPicture(const LoadedSkin& skin) {
  UniqueBitmap picture;
  SIZE ignored{};
  LoadSkinPicture(skin.overPicture, picture, ignored);
  return picture;
}

void InstallSkinRegion(HWND window, LoadedSkin& skin) {
  skin.region = RegionFromMask(skin.mask.get(), RGB(255, 255, 255), 0);
  if (!skin.region) return;
  HRGN installed = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(installed, skin.region.get(), nullptr, RGN_COPY);
  // The system owns the installed region from here on.
  if (!SetWindowRgn(window, installed, TRUE)) DeleteObject(installed);
}
