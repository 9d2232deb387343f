#include "WindowPlace.h"

#include "ConfigWriteLock.h"
#include "IniFile.h"
#include "SkinScale.h"

std::optional<SkinRect> ReadWindowPlace(const std::string& configIni) {
  return ParseWindowPlace(IniFile(configIni).readString(kWindowPlaceSection, kWindowPlaceKey, ""));
}

bool WriteWindowPlace(const std::string& configIni, const SkinRect& place) {
  const ConfigWriteLock lock;
  IniFile config(configIni);
  config.writeString(kWindowPlaceSection, kWindowPlaceKey, WindowPlaceText(place));
  return config.save();
}
