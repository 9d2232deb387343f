#include "ProfileFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ConfigWriteLock.h"
#include "IniFile.h"
#include "ScratchBuffer.h"

namespace {

constexpr const char* kSetting = "Setting";
constexpr const char* kOsdDataSection = "OSDData";

std::string fieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

template <size_t N>
void copyText(char (&field)[N], const std::string& text) {
  // Longer texts are cut; the field always ends with a terminator.
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

template <size_t N>
void terminate(char (&field)[N]) {
  field[N - 1] = '\0';
}

std::string indexedKey(const char* prefix, int i) { return prefix + std::to_string(i); }

struct IntField {
  const char* key;
  int32_t ProfileRecord::*field;
};

// Written by saveProfile, in this order, between LeftWin's group and the
// colour struct.
constexpr IntField kSavedHead[] = {
    {"LtControl", &ProfileRecord::ltControl},
    {"LightFX", &ProfileRecord::lightFx},
    {"LightFxFlag", &ProfileRecord::lightFxFlag},
    {"LeftWin", &ProfileRecord::leftWinLock},
};

struct ColorField {
  const char* key;
  Color ProfileRecord::*field;
};

constexpr ColorField kEffectColors[] = {
    {"StaticColor", &ProfileRecord::staticColor},
    {"BreatheColor", &ProfileRecord::breatheColor},
    {"RippleColor", &ProfileRecord::rippleColor},
    {"ReactiveColor", &ProfileRecord::reactiveColor},
};

constexpr IntField kSpeeds[] = {
    {"BreatheSpeed", &ProfileRecord::breatheSpeed}, {"RippleSpeed", &ProfileRecord::rippleSpeed},
    {"WaveSpeed", &ProfileRecord::waveSpeed},       {"RippleMode", &ProfileRecord::rippleMode},
    {"CustomMode", &ProfileRecord::customMode},
};

// The twelve values that come only from installed files.
constexpr IntField kInstalledOnly[] = {
    {"MediaOption", &ProfileRecord::mediaOption},
    {"HDDKeyboard", &ProfileRecord::hddKeyboard},
    {"LtSwitch", &ProfileRecord::ltSwitch},
    {"LtColor", &ProfileRecord::ltColor},
    {"LtSaving", &ProfileRecord::ltSaving},
    {"LtPulsation", &ProfileRecord::ltPulsation},
    {"Context", &ProfileRecord::contextKey},
    {"CapsLock", &ProfileRecord::capsLockKey},
    {"Tab", &ProfileRecord::tabKey},
    {"FnStatus", &ProfileRecord::fnStatus},
    {"PollingRate", &ProfileRecord::pollingRate},
    {"ReportDelay", &ProfileRecord::reportDelay},
};

void writeColor(IniStore& store, const char* key, Color c) { store.writeInt(kSetting, key, int(c)); }
Color readColor(const IniStore& store, const char* key) { return Color(store.readInt(kSetting, key, -1)); }

}  // namespace

std::string configIniPath(const std::string& programFolder) { return programFolder + "config.ini"; }

std::string profilePath(const std::string& programFolder, int profile) {
  char name[32];
  std::snprintf(name, sizeof name, "Default%d", profile);
  return programFolder + "config\\" + name + ".gkp";
}

void saveProfile(const ProfileRecord& p, IniStore& store) {
  store.writeString(kSetting, "ProFileName", fieldText(p.profileName, sizeof p.profileName));
  for (int i = 0; i < kLinkedAppCount; ++i)
    store.writeString(kSetting, indexedKey("GameFile", i),
                      fieldText(p.linkedApps[i], sizeof p.linkedApps[i]));
  for (const IntField& f : kSavedHead) store.writeInt(kSetting, f.key, p.*f.field);
  store.writeStruct(kSetting, "standardkey", p.standardKey, sizeof p.standardKey);
  for (const ColorField& f : kEffectColors) writeColor(store, f.key, p.*f.field);
  for (const IntField& f : kSpeeds) store.writeInt(kSetting, f.key, p.*f.field);
  store.writeStruct(kSetting, "CustomColor", p.customColors, sizeof p.customColors);
  writeColor(store, "GlobalColor", p.globalColor);
  writeColor(store, "CustomCtrlClickColor", p.customCtrlClickColor);
  store.writeInt(kSetting, "WaveMode", p.waveMode);
  writeColor(store, "WaveColor", p.waveColor);
  store.writeInt(kSetting, "TotalMacro", p.totalMacro);
  for (int k = 0; k < kKeyCount; ++k)
    store.writeStruct(kSetting, indexedKey("MacroKeyInfo", k), &p.keys[k], sizeof p.keys[k]);
}

void loadProfile(ProfileRecord& p, const IniStore& store) {
  readProfileValues(p, store);
  sanitizeProfile(p);
}

void readProfileValues(ProfileRecord& p, const IniStore& store) {
  copyText(p.profileName, store.readString(kSetting, "ProFileName", ""));
  for (int i = 0; i < kLinkedAppCount; ++i)
    copyText(p.linkedApps[i], store.readString(kSetting, indexedKey("GameFile", i), ""));
  for (const IntField& f : kInstalledOnly) p.*f.field = store.readInt(kSetting, f.key, -1);
  for (const IntField& f : kSavedHead) p.*f.field = store.readInt(kSetting, f.key, -1);
  store.readStruct(kSetting, "standardKey", p.standardKey, sizeof p.standardKey);
  for (const ColorField& f : kEffectColors) p.*f.field = readColor(store, f.key);
  for (const IntField& f : kSpeeds) p.*f.field = store.readInt(kSetting, f.key, -1);
  store.readStruct(kSetting, "CustomColor", p.customColors, sizeof p.customColors);
  p.globalColor = readColor(store, "GlobalColor");
  p.customCtrlClickColor = readColor(store, "CustomCtrlClickColor");
  p.waveMode = store.readInt(kSetting, "WaveMode", -1);
  p.waveColor = readColor(store, "WaveColor");
  p.totalMacro = store.readInt(kSetting, "TotalMacro", -1);
  for (int k = 0; k < kKeyCount; ++k) {
    // A missing or damaged entry gives that key's default entry rather than
    // whatever the record held before.
    if (!store.readStruct(kSetting, indexedKey("MacroKeyInfo", k), &p.keys[k], sizeof p.keys[k]))
      buildDefaultKey(p.keys[k], k);
  }
}

bool saveProfile(const ProfileRecord& profile, const std::string& path) {
  IniFile file(path);
  saveProfile(profile, file);
  return file.save();
}

void loadProfile(ProfileRecord& profile, const std::string& path) {
  const IniFile file(path);
  loadProfile(profile, file);
}

bool saveAll(const SettingsImage& image, const std::string& programFolder) {
  constexpr bool kAll[kProfileCount] = {true, true, true, true, true};
  return saveProfiles(image, programFolder, kAll, true);
}

bool saveProfiles(const SettingsImage& image, const std::string& programFolder, const bool (&profiles)[kProfileCount],
                  bool config) {
  // From reading config.ini to replacing it: a write of the other program
  // in between would be lost.
  const ConfigWriteLock lock;
  const ScratchScope scope;  // the six files share their buffers
  FileBatch batch;
  bool ok = true;
  if (config) {
    IniFile file(configIniPath(programFolder));
    file.writeInt(kSetting, "CurrentProfile", image.currentProfile);
    // Only for those who chose one: the other files stay as they were.
    if (image.desktopProfile != 0 || !file.readString(kSetting, "DesktopProfile", "").empty())
      file.writeInt(kSetting, "DesktopProfile", image.desktopProfile);
    ok = file.save(batch);
  }
  for (int i = 0; i < kProfileCount; ++i) {
    if (!profiles[i]) continue;
    IniFile file(profilePath(programFolder, i));
    // A file written whole is a little over twice the record in hex; pages
    // of a buffer reserved and not touched cost nothing.
    if (!file.existed()) file.reserve(2 * sizeof(ProfileRecord) + 16 * 1024);
    saveProfile(image.profiles[i], file);
    ok = file.save(batch) && ok;
  }
  return batch.commit() && ok;
}

bool loadAll(SettingsImage& image, const std::string& programFolder) {
  const ScratchScope scope;
  const IniFile config(configIniPath(programFolder));
  image.currentProfile = config.readInt(kSetting, "CurrentProfile", -1);
  image.rightWin = config.readInt(kSetting, "RightWin", -1);
  image.desktopProfile = config.readInt(kSetting, "DesktopProfile", 0);
  for (int i = 0; i < kProfileCount; ++i) {
    ProfileRecord& profile = image.profiles[i];
    // Defaults first, so that a struct key missing from the file gives the
    // default rather than what the image held before.
    buildDefaultProfile(profile, i);
    const IniFile file(profilePath(programFolder, i));
    if (file.existed()) loadProfile(profile, file);
  }
  // A fresh install reads -1; no download or key event may index with it.
  if (image.currentProfile < 0 || image.currentProfile >= kProfileCount) image.currentProfile = 0;
  if (image.desktopProfile < 0 || image.desktopProfile > kProfileCount) image.desktopProfile = 0;
  return true;
}

int readFirmwareVersion(const std::string& programFolder) {
  return IniFile(configIniPath(programFolder)).readInt(kSetting, "FWVersion", 100);
}

namespace {

// One key of config.ini, read-modify-write under the write lock.
template <typename Edit>
bool editConfig(const std::string& configIni, Edit edit) {
  const ConfigWriteLock lock;
  IniFile config(configIni);
  edit(config);
  return config.save();
}

}  // namespace

bool writeDeviceState(const std::string& configIni, int connected) {
  return editConfig(configIni, [&](IniFile& config) { config.writeInt(kSetting, "Device", connected); });
}

bool writeFirmwareVersion(const std::string& configIni, int version) {
  return editConfig(configIni, [&](IniFile& config) { config.writeInt(kSetting, "FWVersion", version); });
}

bool readSwitchNotice(const std::string& programFolder) {
  return IniFile(configIniPath(programFolder)).readInt(kSetting, "SwitchNotice", 1) != 0;
}

bool writeCurrentProfile(const std::string& configIni, int profile) {
  return editConfig(configIni,
                    [&](IniFile& config) { config.writeInt(kSetting, "CurrentProfile", profile); });
}

bool writeOsdMessage(const std::string& configIni, const std::string& text) {
  return editConfig(configIni,
                    [&](IniFile& config) { config.writeString(kOsdDataSection, "Message", text); });
}

void readOsdSettings(unsigned char (&record)[kOsdSettingsSize], const std::string& programFolder) {
  IniFile(configIniPath(programFolder)).readStruct("OSDSetting", "config", record, sizeof record);
}

namespace {

// The values the editor shows, each in its range; a value outside it loads
// as the field's default (a missing LtControl, read as -1, must not give a
// dark keyboard, nor a missing LeftWin a locked Windows key).
struct RangedField {
  const char* key;
  int32_t ProfileRecord::*field;
  int32_t low, high, fallback;
};
constexpr RangedField kRanged[] = {
    {"LtControl", &ProfileRecord::ltControl, kBrightnessMin, kBrightnessMax, 10},
    {"LightFxFlag", &ProfileRecord::lightFxFlag, 0, 1, 0},
    {"LeftWin", &ProfileRecord::leftWinLock, 0, 1, 1},
    {"BreatheSpeed", &ProfileRecord::breatheSpeed, kSpeedMin, kSpeedMax, 2},
    {"WaveSpeed", &ProfileRecord::waveSpeed, kSpeedMin, kSpeedMax, 2},
    {"RippleSpeed", &ProfileRecord::rippleSpeed, kSpeedMin, kSpeedMax, 2},
    {"WaveMode", &ProfileRecord::waveMode, 0, 1, 1},
    {"RippleMode", &ProfileRecord::rippleMode, 0, 1, 0},
    {"CustomMode", &ProfileRecord::customMode, 0, 1, 0},
};

struct ColorDefault {
  const char* key;
  Color ProfileRecord::*field;
  Color fallback;
};
constexpr ColorDefault kColors[] = {
    {"StaticColor", &ProfileRecord::staticColor, 0x0000FF},
    {"BreatheColor", &ProfileRecord::breatheColor, 0x0000FF},
    {"WaveColor", &ProfileRecord::waveColor, 0x0000FF},
    {"RippleColor", &ProfileRecord::rippleColor, 0x0000FF},
    {"ReactiveColor", &ProfileRecord::reactiveColor, 0x0000FF},
    {"GlobalColor", &ProfileRecord::globalColor, 0},
    {"CustomCtrlClickColor", &ProfileRecord::customCtrlClickColor, 0},
};

constexpr int32_t kLightEffects[] = {1, 2, 3, 4, 6, 51};

bool isLightEffect(int32_t value) {
  return std::find(std::begin(kLightEffects), std::end(kLightEffects), value) != std::end(kLightEffects);
}

bool isColor(Color c) { return (c & 0xFF000000u) == 0; }

}  // namespace

void sanitizeKey(KeyAssignment& key, int keyIndex) {
  // Category and function code are the user's assignment and stay as they
  // are, also the ones the editor no longer offers: the download and the
  // key event handling look codes up and take any value. What is used as
  // an index or length is brought into range, and a play value outside the
  // editor's range loads as the field's default.
  key.keyIndex = uint8_t(keyIndex);
  key.stepCount = std::min<uint16_t>(key.stepCount, kMaxMacroSteps);
  if (key.playMode < kPlayOnce || key.playMode > kPlayToggle) key.playMode = kPlayOnce;
  // 0 is what a category without play values stores.
  if (key.playCount < 0 || key.playCount > 999 || (key.playCount == 0 && key.playMode == kPlayNTimes))
    key.playCount = 1;
  if (key.repeatDelayMs > 9999) key.repeatDelayMs = 0;
  if (key.triggerMode != 0 && key.triggerMode != 1) key.triggerMode = 0;
  if (key.textDelayMs < 0 || key.textDelayMs > 65535) key.textDelayMs = 0;
  if (key.macroListIndex < -1) key.macroListIndex = -1;
  terminate(key.macroName);
  terminate(key.appPath);
  terminate(key.textMacroName);
  terminate(key.textMacroText);
}

std::string profileValueOutOfRange(const ProfileRecord& profile) {
  for (const RangedField& f : kRanged)
    if (profile.*f.field < f.low || profile.*f.field > f.high)
      return std::string(f.key) + " is " + std::to_string(profile.*f.field) + " (" + std::to_string(f.low) +
             " to " + std::to_string(f.high) + ")";
  if (!isLightEffect(profile.lightFx))
    return "LightFX is " + std::to_string(profile.lightFx) + ", none of the six effects";
  for (const ColorDefault& c : kColors)
    if (!isColor(profile.*c.field)) return std::string(c.key) + " is no colour";
  for (int i = 0; i < kLedCount; ++i)
    if (!isColor(profile.customColors[i])) return "CustomColor " + std::to_string(i) + " is no colour";
  return {};
}

void sanitizeProfile(ProfileRecord& profile) {
  // What the window shows on a slider or a pair of buttons is what an apply
  // sends: a damaged brightness of 60 loads as the default, never as 60.
  for (const RangedField& f : kRanged)
    if (profile.*f.field < f.low || profile.*f.field > f.high) profile.*f.field = f.fallback;
  if (!isLightEffect(profile.lightFx)) profile.lightFx = 1;
  for (const ColorDefault& c : kColors)
    if (!isColor(profile.*c.field)) profile.*c.field = c.fallback;
  for (Color& c : profile.customColors) c &= 0xFFFFFF;
  terminate(profile.profileName);
  for (auto& app : profile.linkedApps) terminate(app);
  for (int k = 0; k < kKeyCount; ++k) sanitizeKey(profile.keys[k], k);
}

void sanitizeImage(SettingsImage& image) {
  if (image.currentProfile < 0 || image.currentProfile >= kProfileCount) image.currentProfile = 0;
  if (image.desktopProfile < 0 || image.desktopProfile > kProfileCount) image.desktopProfile = 0;
  for (ProfileRecord& profile : image.profiles) sanitizeProfile(profile);
}
