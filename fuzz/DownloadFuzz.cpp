// Any bytes where the settings image lies (the shared block can be written by
// anyone): after the sanitiser, the download the image asks for is made of
// well-formed reports (8-byte commands with a right checksum, 64-byte blocks,
// each sequence as long as its command announces), at most 35 macro buffers,
// the pauses of the pacing table, and the keyboard model takes every report
// without a protocol violation.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>

#include "DownloadEncoder.h"
#include "FirmwareModel.h"
#include "FuzzSupport.h"
#include "ProfileFiles.h"

namespace {

using namespace kbd;

void checkPauses(const std::vector<Report>& reports) {
  FUZZ_CHECK(!reports.empty() && reports.front().pauseBeforeMs == 0);
  for (size_t i = 1; i < reports.size(); ++i) {
    const Report& r = reports[i];
    const Report& before = reports[i - 1];
    if (r.kind == Report::Block) {
      const bool firstOfKeyTable = before.kind == Report::Feature && before.bytes[0] == kCmdKeySlotTable;
      FUZZ_CHECK(r.pauseBeforeMs == kPauseAfterReportMs + (firstOfKeyTable ? kPauseKeyTableExtraMs : 0));
    } else {
      const int p = r.pauseBeforeMs;
      FUZZ_CHECK(p == kPauseAfterReportMs || p == 2 * kPauseAfterReportMs || p == kPauseBeforeTransferMs ||
                 p == kPauseAfterReportMs + kPauseBeforeTransferMs);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FuzzedDataProvider in(data, size);
  static const auto image = std::make_unique<SettingsImage>();  // kept: 3 MB
  auto* bytes = reinterpret_cast<uint8_t*>(image.get());
  if (in.ConsumeBool()) {
    // The whole image: the input over and over.
    const std::string pattern = in.ConsumeRemainingBytesAsString();
    if (pattern.empty()) return 0;
    size_t filled = std::min(pattern.size(), sizeof *image);
    std::memcpy(bytes, pattern.data(), filled);
    while (filled < sizeof *image) {
      const size_t n = std::min(filled, sizeof *image - filled);
      std::memcpy(bytes + filled, bytes, n);
      filled += n;
    }
  } else {
    // A sound image with the input laid over the active profile somewhere.
    *image = fuzz::defaultImage();
    image->currentProfile = in.ConsumeIntegral<int32_t>();
    const size_t offset = in.ConsumeIntegralInRange<size_t>(0, sizeof(ProfileRecord) - 1);
    const std::string patch = in.ConsumeRemainingBytesAsString();
    const int profile =
        image->currentProfile >= 0 && image->currentProfile < kProfileCount ? image->currentProfile : 0;
    auto* target = reinterpret_cast<uint8_t*>(&image->profiles[profile]);
    std::memcpy(target + offset, patch.data(), std::min(patch.size(), sizeof(ProfileRecord) - offset));
  }
  sanitizeImage(*image);
  const bool full = (bytes[0] & 1) != 0;
  // The monitor's snapshot copies the active profile into fresh memory, which
  // under ASan is a new mapping each time and most of a run: one input in
  // sixteen (by length) takes that path, the others read the same flags and
  // profile in place.
  const DownloadFlags flags = readDownloadFlags(*image);
  const ProfileRecord& active = image->profiles[image->currentProfile];
  std::vector<Report> reports;
  if (size % 16 == 0) {
    const DownloadSnapshot snapshot = takeDownloadSnapshot(*image);
    FUZZ_CHECK(!readDownloadFlags(*image).keysChanged && !readDownloadFlags(*image).profileSwitched);
    FUZZ_CHECK(std::memcmp(snapshot.active.get(), &active, sizeof active) == 0);
    reports = encodeDownload(*snapshot.active, snapshot.flags, full);
    FUZZ_CHECK(reports == encodeDownload(active, flags, full));
  } else {
    reports = encodeDownload(active, flags, full);
  }

  emu::FirmwareModel keyboard;
  int macroCommands = 0;
  for (const Report& r : reports) {
    if (r.kind == Report::Feature) {
      FUZZ_CHECK(r.bytes.size() == kCommandLength);
      Command c;
      std::copy(r.bytes.begin(), r.bytes.end(), c.begin());
      FUZZ_CHECK(checksumOk(c));
      macroCommands += c[0] == kCmdMacro;
      keyboard.setFeature(r.bytes.data(), r.bytes.size());
    } else {
      FUZZ_CHECK(r.kind == Report::Block && r.bytes.size() == kBlockLength);
      keyboard.writeBlock(r.bytes.data(), r.bytes.size());
    }
  }
  FUZZ_CHECK(macroCommands <= kMaxMacroBuffers);
  FUZZ_CHECK(keyboard.violations() == 0);
  FUZZ_CHECK(int(keyboard.macros().size()) <= kMaxMacroBuffers);
  checkPauses(reports);
  return 0;
}
