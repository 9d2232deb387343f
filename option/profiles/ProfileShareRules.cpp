#include "ProfileShareRules.h"

#include <cctype>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "ChangeFlags.h"

bool importIntoDocument(OptionDocument& doc, int profile, const SharedProfile& shared,
                        ImportSummary& summary) {
  if (profile < 0 || profile >= kProfileCount || !shared.profile) return false;
  summary = importSharedProfile(shared, doc.edit->profiles[profile], doc.lists.macros, doc.lists.textMacros);
  return true;
}

void replaceProfileInBlock(SettingsImage& block, int profile, const ProfileRecord& imported) {
  if (profile < 0 || profile >= kProfileCount) return;
  auto next = std::make_unique<SettingsImage>(block);
  next->profiles[profile] = imported;
  computeChangeFlags(*next, block);
  // Only `profile` differs; the pending flags of the block stay set.
  int32_t flags[kChangeFlagsSize / sizeof(int32_t)], pending[kChangeFlagsSize / sizeof(int32_t)];
  auto* nextBytes = reinterpret_cast<unsigned char*>(next.get()) + kChangeFlagsOffset;
  std::memcpy(flags, nextBytes, sizeof flags);
  std::memcpy(pending, reinterpret_cast<const unsigned char*>(&block) + kChangeFlagsOffset, sizeof pending);
  for (size_t i = 0; i < sizeof flags / sizeof flags[0]; ++i) flags[i] |= pending[i];
  std::memcpy(nextBytes, flags, sizeof flags);
  block = *next;
}

namespace {

std::string counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "1 macro added, 1 already there; 2 keys play a macro; ..."
std::string importDetails(const ImportSummary& s) {
  std::vector<std::string> groups;
  auto group = [&](std::initializer_list<std::pair<int, std::string>> parts) {
    std::string text;
    for (const auto& [n, words] : parts)
      if (n) text += (text.empty() ? "" : ", ") + words;
    if (!text.empty()) groups.push_back(text);
  };
  group({{s.macrosAdded, counted(s.macrosAdded, "macro added", "macros added")},
         {s.macrosShared, counted(s.macrosShared, "macro already there", "macros already there")},
         {s.macrosRenamed, counted(s.macrosRenamed, "macro renamed", "macros renamed")}});
  group({{s.textMacrosAdded, counted(s.textMacrosAdded, "text macro added", "text macros added")},
         {s.textMacrosShared,
          counted(s.textMacrosShared, "text macro already there", "text macros already there")},
         {s.textMacrosRenamed, counted(s.textMacrosRenamed, "text macro renamed", "text macros renamed")}});
  group({{s.macroKeys, counted(s.macroKeys, "key plays a macro", "keys play macros")},
         {s.textMacroKeys, counted(s.textMacroKeys, "key types text", "keys type text")}});
  group({{s.launchKeysDropped, counted(s.launchKeysDropped, "program key left out", "program keys left out") +
                                   " (default keys now)"},
         {s.unknownKeysDropped, counted(s.unknownKeysDropped, "key of an unknown kind left out",
                                        "keys of an unknown kind left out")}});
  std::string out;
  for (const std::string& g : groups) out += (out.empty() ? "" : "; ") + g;
  return out;
}

std::string nameOf(const ProfileRecord& profile) {
  return std::string(profile.profileName, strnlen(profile.profileName, sizeof profile.profileName));
}

}  // namespace

std::string importReport(const ProfileRecord& imported, const ImportSummary& s) {
  const std::string details = importDetails(s);
  return "Imported \"" + nameOf(imported) + "\"" + (details.empty() ? "." : ": " + details + ".");
}

std::string importPreview(const ProfileRecord& incoming, const ImportSummary& s) {
  const std::string details = importDetails(s);
  return "\"" + nameOf(incoming) + "\" replaces this profile at OK" +
         (details.empty() ? "." : ": " + details + ".");
}

std::string refusalText(const std::string& error) {
  constexpr std::string_view kSame = "The file is not a Varnel Quillon profile: ";
  std::string reason = error.rfind(kSame, 0) == 0 ? error.substr(kSame.size()) : error;
  if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z' && !(reason.size() > 1 && reason[1] == ' '))
    reason[0] = char(reason[0] - 'A' + 'a');
  return "This file is not a Varnel Quillon profile: " + reason + "\nNothing was changed.";
}

std::string profileFileName(const ProfileRecord& profile) {
  std::string name(profile.profileName, strnlen(profile.profileName, sizeof profile.profileName));
  std::string clean;
  for (char c : name) clean += (uint8_t(c) < 0x20 || std::strchr("<>:\"/\\|?*", c)) ? '_' : c;
  while (!clean.empty() && (clean.back() == ' ' || clean.back() == '.')) clean.pop_back();
  while (!clean.empty() && clean.front() == ' ') clean.erase(clean.begin());
  // The system's device names are no file names, whatever their extension.
  std::string upper;
  for (char c : clean.substr(0, clean.find('.'))) upper += char(std::toupper(static_cast<unsigned char>(c)));
  while (!upper.empty() && upper.back() == ' ') upper.pop_back();
  const bool device = upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" ||
                      (upper.size() == 4 && (upper.rfind("COM", 0) == 0 || upper.rfind("LPT", 0) == 0) &&
                       upper[3] >= '0' && upper[3] <= '9');
  if (device) clean = "_" + clean;
  // Room for a folder in front of it.
  if (clean.size() > kMaxProfileFileStem) clean.resize(kMaxProfileFileStem);
  while (!clean.empty() && (clean.back() == ' ' || clean.back() == '.')) clean.pop_back();
  if (clean.empty()) clean = "Profile";
  return clean + kProfileFileExtension;
}
