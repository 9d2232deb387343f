#pragma once
// The settings download as data: from the active profile and the change flags
// to the exact list of reports, each with the pause the keyboard needs before
// it. The sender on the download thread only plays the list.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "KeyboardProtocol.h"
#include "SettingsImage.h"

namespace kbd {

// Pauses that pace the keyboard.
constexpr int kPauseAfterReportMs = 15;
constexpr int kPauseKeyTableExtraMs = 10;
constexpr int kPauseBeforeTransferMs = 70;

struct Report {
  enum Kind : uint8_t { Feature, Block };
  Kind kind;
  std::vector<uint8_t> bytes;  // 8 for Feature (SetFeature), 64 for Block (WriteUSB)
  // Wait this long before sending. Every wait of the download sits in the
  // pause of the report that follows it; nothing waits after the last one.
  int pauseBeforeMs;
  bool operator==(const Report&) const = default;
};

// What the change flags of the image ask for, read when the download starts.
struct DownloadFlags {
  bool keysChanged = false;
  bool winLockChanged = false;
  bool colorsChanged = false;
  bool profileSwitched = false;
};

DownloadFlags readDownloadFlags(const SettingsImage& image);

// The consistent state one download works on.
struct DownloadSnapshot {
  std::unique_ptr<ProfileRecord> active;  // large: kept on the heap
  DownloadFlags flags;
  std::vector<int32_t> taken;  // the change flag words as they were taken
};

// Copies the active profile and the flags and clears the change flags in the
// image, in one call so that the caller holds its lock once: flags that arrive
// later stay in the image for the next download.
DownloadSnapshot takeDownloadSnapshot(SettingsImage& image);

// An image received from Option replaces the working copy while earlier
// applies may still wait for their download: their change flags must
// survive the replacement, so they are added to the received ones.
void keepPendingFlags(const SettingsImage& workingCopy, SettingsImage& received);

// Whether a change flag is set: something applied has not reached the
// keyboard yet (it was away, or the download was cut short).
bool hasPendingChanges(const SettingsImage& image);
// A download that did not reach its end (the keyboard went away during it)
// gives its flags back, so that the next download sends what it could not.
void returnFlags(const DownloadSnapshot& snapshot, SettingsImage& image);

using SlotTable = std::array<Slot, kSlotCount>;
using MacroBuffer = std::array<uint8_t, kMacroBufferBytes>;

extern const SlotTable defaultKeySlotTable;
extern const uint8_t keySlotOf[kKeyCount];
Slot functionEntryOf(uint8_t functionCode);  // {0,0,0,0} for unlisted codes

struct KeyTableBuild {
  SlotTable slots;
  std::vector<MacroBuffer> macros;  // at most kMaxMacroBuffers
};

KeyTableBuild buildKeyTable(const ProfileRecord& profile);
MacroBuffer encodeMacro(const KeyAssignment& key);

Command effectCommand(const ProfileRecord& profile, bool withBrightness);
Command effectColorCommand(const ProfileRecord& profile);
std::array<uint8_t, kColorTableBytes> keyColorTable(const ProfileRecord& profile);
Block winLockBlock(const ProfileRecord& profile);

std::vector<Report> encodeDownload(const ProfileRecord& active, const DownloadFlags& flags, bool full);

// Sum of every pause in the list.
int totalPauseMs(const std::vector<Report>& reports);

}  // namespace kbd
