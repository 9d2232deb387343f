#pragma once
// Reads back what the emulated keyboard received, from its trace: each
// SetFeature and WriteUSB with its time stamp, cut into downloads, and held
// against the report list the download should have been.

#include <cstdint>
#include <string>
#include <vector>

#include "DownloadEncoder.h"

namespace emu {

struct ReceivedReport {
  long long micros = 0;  // trace time stamp
  kbd::Report::Kind kind = kbd::Report::Feature;
  std::vector<uint8_t> bytes;
};

// The reports in the trace lines `<microseconds> <export>[ <data>]`, without
// the firmware version reads.
std::vector<ReceivedReport> receivedReports(const std::vector<std::string>& traceLines);

// Downloads begin with the plain effect command and end with the effect
// command with brightness; reports outside such a pair are left out.
std::vector<std::vector<ReceivedReport>> splitDownloads(const std::vector<ReceivedReport>& reports);

struct Comparison {
  std::string firstDifference;  // empty when kinds and bytes all agree
  int reports = 0;
  long long requiredMicros = 0;        // sum of the required pauses
  long long measuredMicros = 0;        // first report to last
  long long shortestMarginMicros = 0;  // smallest (gap - required) over all pauses
  int shortestAt = -1;                 // index of the report after that gap
  int shortPauses = 0;                 // gaps below their requirement
};

Comparison compareDownload(const std::vector<ReceivedReport>& got, const std::vector<kbd::Report>& want);

std::vector<uint8_t> unhex(const std::string& text);

}  // namespace emu
