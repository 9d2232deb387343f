#include "ProfileShareRules.h"

#include <cstring>
#include <memory>

#include "ChangeFlags.h"

bool importIntoDocument(OptionDocument& doc, int profile, const SharedProfile& shared,
                        ImportSummary& summary) {
  if (profile < 0 || profile >= kProfileCount || !shared.profile) return false;
  summary = importSharedProfile(shared, doc.edit->profiles[profile], doc.lists.macros, doc.lists.textMacros);
  const bool macrosSaved = saveList(doc.lists.macros, doc.folder, kMacroLibraryFile);
  const bool textsSaved = saveList(doc.lists.textMacros, doc.folder, kTextMacroLibraryFile);
  return macrosSaved && textsSaved;
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

std::string importReport(const ProfileRecord& imported, const ImportSummary& s) {
  std::string report =
      "Imported \"" +
      std::string(imported.profileName, strnlen(imported.profileName, sizeof imported.profileName)) + "\"";
  const int added = s.macrosAdded + s.textMacrosAdded, shared = s.macrosShared + s.textMacrosShared,
            renamed = s.macrosRenamed + s.textMacrosRenamed;
  std::string parts;
  auto part = [&](int n, const char* what) {
    if (!n) return;
    parts += (parts.empty() ? "" : ", ") + std::to_string(n) + (n == 1 ? " macro " : " macros ") + what;
  };
  part(added, "added");
  part(shared, "already there");
  part(renamed, "renamed");
  return report + (parts.empty() ? "." : ": " + parts + ".");
}

std::string profileFileName(const ProfileRecord& profile) {
  std::string name(profile.profileName, strnlen(profile.profileName, sizeof profile.profileName));
  std::string clean;
  for (char c : name) clean += (uint8_t(c) < 0x20 || std::strchr("<>:\"/\\|?*", c)) ? '_' : c;
  while (!clean.empty() && (clean.back() == ' ' || clean.back() == '.')) clean.pop_back();
  while (!clean.empty() && clean.front() == ' ') clean.erase(clean.begin());
  if (clean.empty()) clean = "Profile";
  return clean + kProfileFileExtension;
}
