#pragma once
// What the profile file's reader and writer share: its section and key
// names, the texts of numbers, steps, colours and named values.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "BoundedText.h"
#include "IniDocument.h"
#include "IniStore.h"
#include "ListFiles.h"
#include "ProfileShare.h"

namespace profileshare {

constexpr const char* kHeader = "VarnelQuillonProfile";
constexpr const char* kSetting = "Setting";  // format 1.0: the profile files' own keys
constexpr const char* kProfile = "Profile";
constexpr const char* kLighting = "Lighting";
constexpr const char* kCustomColors = "CustomColors";
constexpr const char* kRemap = "Remap";
constexpr const char* kKeys = "Keys";
constexpr const char* kEnd = "End";  // the last line: a file cut short lacks it
constexpr const char* kLineEnd = "\r\n";
constexpr int kMaxSharedMacros = kKeyCount;  // one per key at most

// A decimal integer and nothing else: a damaged value must not read as 0.
bool parseStrictInt(std::string_view text, long long low, long long high, long long& value);
bool readVersion(std::string_view text, int& major, int& minor);

std::string stepsText(const MacroStep* steps, int count);
bool parseSteps(std::string_view text, MacroStep (&steps)[kMaxMacroSteps], int& count, std::string& error);

// "#RRGGBB" of a colour reference (red in the lowest byte), and back.
std::string colorText(Color color);
bool parseColor(std::string_view text, Color& color);

// The lighting effects by name.
const char* effectName(int32_t lightFx);
bool parseEffect(std::string_view text, int32_t& lightFx);

std::string damaged(const std::string& what);

// The profile files' accessor over a document in memory.
class DocumentStore : public IniStore {
 public:
  explicit DocumentStore(IniDocument& doc) : doc_(doc) {}
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
  int readInt(std::string_view section, std::string_view key, int defaultValue) const override;
  bool readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const override;
  void writeString(std::string_view section, std::string_view key, std::string_view value) override;
  void writeInt(std::string_view section, std::string_view key, int value) override;
  void writeStruct(std::string_view section, std::string_view key, const void* buffer, size_t size) override;

 private:
  IniDocument& doc_;
};

// What a profile file holds, seen through the share file's eyes: linked
// programs are neither written nor read, and the profile's name is UTF-8.
class ShareStore : public IniStore {
 public:
  ShareStore(IniStore& inner, const TextCodec& codec) : inner_(inner), codec_(codec) {}
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
  int readInt(std::string_view section, std::string_view key, int defaultValue) const override;
  bool readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const override;
  void writeString(std::string_view section, std::string_view key, std::string_view value) override;
  void writeInt(std::string_view section, std::string_view key, int value) override;
  void writeStruct(std::string_view section, std::string_view key, const void* buffer, size_t size) override;

 private:
  IniStore& inner_;
  const TextCodec& codec_;
};

template <typename Record>
const Record* recordNamed(const std::vector<Record>& list, std::string_view name) {
  for (const Record& r : list)
    if (sameName(boundedText(r.name), name)) return &r;
  return nullptr;
}

}  // namespace profileshare
