#include "DownloadTrace.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "FirmwareModel.h"

namespace emu {

std::vector<uint8_t> unhex(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    bytes.push_back(uint8_t(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16)));
  return bytes;
}

std::vector<ReceivedReport> receivedReports(const std::vector<std::string>& traceLines) {
  std::vector<ReceivedReport> reports;
  for (const std::string& line : traceLines) {
    std::istringstream in(line);
    ReceivedReport r;
    std::string name, data;
    if (!(in >> r.micros >> name)) continue;
    in >> data;
    if (name == "SetFeature")
      r.kind = kbd::Report::Feature;
    else if (name == "WriteUSB")
      r.kind = kbd::Report::Block;
    else
      continue;
    r.bytes = unhex(data);
    if (r.kind == kbd::Report::Feature && !r.bytes.empty() && r.bytes[0] == kbd::kCmdFirmwareVersion)
      continue;
    reports.push_back(std::move(r));
  }
  return reports;
}

namespace {

bool isEffect(const ReceivedReport& r, uint8_t form) {
  return r.kind == kbd::Report::Feature && r.bytes.size() > kbd::kEffectFormOffset &&
         r.bytes[0] == kbd::kCmdEffect && r.bytes[kbd::kEffectFormOffset] == form;
}

}  // namespace

std::vector<std::vector<ReceivedReport>> splitDownloads(const std::vector<ReceivedReport>& reports) {
  std::vector<std::vector<ReceivedReport>> downloads;
  std::vector<ReceivedReport> current;
  bool open = false;
  for (const ReceivedReport& r : reports) {
    if (isEffect(r, kbd::kEffectFormPlain)) {
      current.clear();
      open = true;
    }
    if (!open) continue;
    current.push_back(r);
    if (isEffect(r, kbd::kEffectFormBrightness)) {
      downloads.push_back(std::move(current));
      current.clear();
      open = false;
    }
  }
  return downloads;
}

Comparison compareDownload(const std::vector<ReceivedReport>& got, const std::vector<kbd::Report>& want) {
  Comparison c;
  c.reports = int(got.size());
  const size_t n = std::min(got.size(), want.size());
  for (size_t i = 0; i < n && c.firstDifference.empty(); ++i) {
    if (got[i].kind != want[i].kind || got[i].bytes != want[i].bytes) {
      c.firstDifference = "report " + std::to_string(i) + ": sent " +
                          (got[i].kind == kbd::Report::Feature ? "SetFeature " : "WriteUSB ") +
                          hex(got[i].bytes.data(), got[i].bytes.size()) + ", expected " +
                          (want[i].kind == kbd::Report::Feature ? "SetFeature " : "WriteUSB ") +
                          hex(want[i].bytes.data(), want[i].bytes.size());
    }
  }
  if (c.firstDifference.empty() && got.size() != want.size())
    c.firstDifference =
        std::to_string(got.size()) + " reports sent, " + std::to_string(want.size()) + " expected";

  bool first = true;
  for (size_t i = 1; i < n; ++i) {
    const long long required = want[i].pauseBeforeMs * 1000LL;
    const long long gap = got[i].micros - got[i - 1].micros;
    c.requiredMicros += required;
    if (gap < required) ++c.shortPauses;
    if (first || gap - required < c.shortestMarginMicros) {
      c.shortestMarginMicros = gap - required;
      c.shortestAt = int(i);
      first = false;
    }
  }
  if (n > 0) c.measuredMicros = got[n - 1].micros - got[0].micros;
  return c;
}

}  // namespace emu
