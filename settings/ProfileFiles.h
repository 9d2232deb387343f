#pragma once
// config.ini and the five profile files.
//
//   loadAll(image, folder)   fills currentProfile, rightWin and the five
//                            profiles (defaults for what is missing), then
//                            sanitises; change flags are not touched.
//   saveAll(image, folder)   CurrentProfile to config.ini, then every profile
//                            to config\Default<i>.gkp; each file is written
//                            once and atomically.
//   saveProfile / loadProfile  one profile over any INI store, or a file path.
//   readFirmwareVersion, writeDeviceState, writeCurrentProfile, writeFirmwareVersion,
//   readSwitchNotice,
//   writeOsdMessage, readOsdSettings: single config.ini keys.
//   sanitizeKey / sanitizeProfile / sanitizeImage: make a record read from a
//   file or another process safe to use (terminated texts, clamped counts and
//   indexes); a play, lighting or Windows-key value outside the range the
//   configuration program shows becomes the field's default (a missing
//   brightness is not a dark keyboard); the assignment itself, category and
//   function code, is kept.
//   profileValueOutOfRange: the first of those values out of range, named,
//   or "" (a shared file with one is refused rather than mended).
//
// `folder` is the program folder with its trailing separator.

#include <cstddef>
#include <string>

#include "IniStore.h"
#include "SettingsImage.h"

constexpr size_t kOsdSettingsSize = 340;

std::string configIniPath(const std::string& programFolder);
std::string profilePath(const std::string& programFolder, int profile);

void saveProfile(const ProfileRecord& profile, IniStore& store);
void loadProfile(ProfileRecord& profile, const IniStore& store);
// What loadProfile reads, as the store holds it: unchecked, for a reader
// that refuses what is out of range instead of taking defaults.
void readProfileValues(ProfileRecord& profile, const IniStore& store);
bool saveProfile(const ProfileRecord& profile, const std::string& path);
void loadProfile(ProfileRecord& profile, const std::string& path);

// Returns false when a file could not be written (the settings model itself
// reports nothing; callers may trace it).
bool saveAll(const SettingsImage& image, const std::string& programFolder);
// The same for the profiles marked in `profiles` (and config.ini's
// CurrentProfile and DesktopProfile when `config`): an apply that changed
// one key writes one file.
bool saveProfiles(const SettingsImage& image, const std::string& programFolder, const bool (&profiles)[kProfileCount],
                  bool config);
// Always succeeds; missing files give defaults.
bool loadAll(SettingsImage& image, const std::string& programFolder);

int readFirmwareVersion(const std::string& programFolder);
// The monitor's own keys of config.ini; like saveAll they hold the
// config.ini write lock (ConfigWriteLock.h), so that neither program's write
// is lost to the other's. False when the file could not be written.
bool writeDeviceState(const std::string& configIniPath, int connected);
bool writeCurrentProfile(const std::string& configIniPath, int profile);
// The keyboard's firmware as major * 100 + minor, after each version read.
bool writeFirmwareVersion(const std::string& configIniPath, int version);
// SwitchNotice: whether a switch the user did not make is announced (default on).
bool readSwitchNotice(const std::string& programFolder);
bool writeOsdMessage(const std::string& configIniPath, const std::string& text);
// Leaves `record` as it was when the key is missing or damaged.
void readOsdSettings(unsigned char (&record)[kOsdSettingsSize], const std::string& programFolder);

void sanitizeKey(KeyAssignment& key, int keyIndex);
void sanitizeProfile(ProfileRecord& profile);
std::string profileValueOutOfRange(const ProfileRecord& profile);
void sanitizeImage(SettingsImage& image);
