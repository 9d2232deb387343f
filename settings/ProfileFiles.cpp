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
  sanitizeProfile(p);
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
                  bool currentProfile) {
  // From reading config.ini to replacing it: a write of the other program
  // in between would be lost.
  const ConfigWriteLock lock;
  const ScratchScope scope;  // the six files share their buffers
  FileBatch batch;
  bool ok = true;
  if (currentProfile) {
    IniFile config(configIniPath(programFolder));
    config.writeInt(kSetting, "CurrentProfile", image.currentProfile);
    ok = config.save(batch);
  }
  for (int i = 0; i < kProfileCount; ++i) {
    if (!profiles[i]) continue;
    IniFile file(profilePath(programFolder, i));
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

void sanitizeKey(KeyAssignment& key, int keyIndex) {
  // Category and function code are the user's assignment and stay as they
  // are, also the ones the editor no longer offers: the download and the
  // key event handling look codes up and take any value. Only what is used
  // as an index or length is brought into range.
  key.keyIndex = uint8_t(keyIndex);
  key.stepCount = std::min<uint16_t>(key.stepCount, kMaxMacroSteps);
  if (key.playMode < kPlayOnce || key.playMode > kPlayToggle) key.playMode = kPlayOnce;
  terminate(key.macroName);
  terminate(key.appPath);
  terminate(key.textMacroName);
  terminate(key.textMacroText);
}

void sanitizeProfile(ProfileRecord& profile) {
  // Values the window shows on a slider or a pair of buttons come into their
  // range here, so that what it shows is what an apply sends: a damaged
  // brightness of 60 is shown as 10 and would otherwise be sent as 60.
  auto clampTo = [](int32_t& value, int32_t low, int32_t high) { value = std::clamp(value, low, high); };
  clampTo(profile.ltControl, kBrightnessMin, kBrightnessMax);
  for (int32_t* speed : {&profile.breatheSpeed, &profile.waveSpeed, &profile.rippleSpeed})
    clampTo(*speed, kSpeedMin, kSpeedMax);
  for (int32_t* flag : {&profile.lightFxFlag, &profile.waveMode, &profile.rippleMode, &profile.customMode,
                        &profile.leftWinLock})
    clampTo(*flag, 0, 1);
  terminate(profile.profileName);
  for (auto& app : profile.linkedApps) terminate(app);
  for (int k = 0; k < kKeyCount; ++k) sanitizeKey(profile.keys[k], k);
}

void sanitizeImage(SettingsImage& image) {
  if (image.currentProfile < 0 || image.currentProfile >= kProfileCount) image.currentProfile = 0;
  for (ProfileRecord& profile : image.profiles) sanitizeProfile(profile);
}
