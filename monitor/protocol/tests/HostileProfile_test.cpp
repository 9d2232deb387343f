// Profiles of random bytes, as a damaged file or a hostile shared block may
// carry them, through the download encoder under the sanitisers: every
// report stays well formed and nothing is read out of bounds.
// The bytes come from a fixed seed, so a failure repeats.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "DownloadEncoder.h"
#include "KeyboardProtocol.h"

namespace {

constexpr unsigned kSeed = 20261208;
constexpr int kRounds = 60;

void fillRandomly(void* target, size_t size, std::mt19937& random) {
  auto* bytes = static_cast<uint8_t*>(target);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(random());
}

// Blocks announced by a command of the download.
int announcedBlocks(uint8_t command) {
  switch (command) {
    case kbd::kCmdKeySlotTable:
      return kbd::kKeySlotTableBlocks;
    case kbd::kCmdKeyColors:
      return kbd::kKeyColorBlocks;
    case kbd::kCmdMacro:
      return kbd::kMacroBlocks;
    case kbd::kCmdWinLock:
      return kbd::kWinLockBlocks;
    default:
      return 0;
  }
}

// The first thing wrong with a report list, or nothing.
std::string firstFault(const std::vector<kbd::Report>& reports) {
  int due = 0;
  int macros = 0;
  for (size_t i = 0; i < reports.size(); ++i) {
    const kbd::Report& r = reports[i];
    const std::string at = "report " + std::to_string(i) + ": ";
    if (r.kind == kbd::Report::Block) {
      if (r.bytes.size() != kbd::kBlockLength) return at + "block of " + std::to_string(r.bytes.size());
      if (due-- <= 0) return at + "block that no command announced";
      continue;
    }
    if (due > 0) return at + "command while blocks were due";
    if (r.bytes.size() != kbd::kCommandLength) return at + "command of " + std::to_string(r.bytes.size());
    kbd::Command c;
    std::memcpy(c.data(), r.bytes.data(), c.size());
    if (!kbd::checksumOk(c)) return at + "bad checksum";
    if (c[0] == kbd::kCmdMacro &&
        (c[kbd::kMacroNumberOffset] >= kbd::kMaxMacroBuffers || ++macros > kbd::kMaxMacroBuffers))
      return at + "macro beyond the keyboard's buffers";
    due = announcedBlocks(c[0]);
  }
  return due > 0 ? "blocks missing at the end" : "";
}

TEST(HostileProfile, RandomProfilesEncodeOnlyWellFormedReports) {
  std::mt19937 random(kSeed);
  auto profile = std::make_unique<ProfileRecord>();
  kbd::DownloadFlags all;
  all.keysChanged = all.winLockChanged = all.colorsChanged = all.profileSwitched = true;
  for (int round = 0; round < kRounds; ++round) {
    fillRandomly(profile.get(), sizeof *profile, random);
    // Every other round every key is a macro: far more than the keyboard holds.
    if (round % 2)
      for (KeyAssignment& key : profile->keys)
        key.functionCode = random() % 2 ? kFunctionRecordedMacro : kFunctionCombination;
    EXPECT_EQ(firstFault(kbd::encodeDownload(*profile, all, true)), "") << "round " << round;
  }
}

}  // namespace
