#include "FirmwareModel.h"

#include <cstdio>
#include <cstring>

#include "DownloadEncoder.h"

namespace emu {

std::string hex(const uint8_t* data, size_t n) {
  std::string s;
  char buf[3];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", data[i]);
    s += buf;
  }
  return s;
}

namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

FirmwareModel::FirmwareModel() {
  for (int i = 0; i < kbd::kSentSlots; ++i) keyTable_[i] = kbd::defaultKeySlotTable[i];
}

void FirmwareModel::violation(const std::string& what) {
  ++violations_;
  violationLog_.push_back(what);
}

void FirmwareModel::startBlocks(Pending target, int blocks, int macroNumber) {
  pending_ = target;
  blocksExpected_ = blocks;
  macroNumber_ = macroNumber;
  incoming_.clear();
}

void FirmwareModel::setFeature(const uint8_t* data, size_t length) {
  ++featureCount_;
  if (length != kbd::kCommandLength) {
    violation("feature report of " + std::to_string(length) + " bytes");
    return;
  }
  kbd::Command c;
  std::memcpy(c.data(), data, c.size());
  if (pending_ != Pending::None) {
    violation("command " + hex(c.data(), 1) + " while " + std::to_string(blocksExpected_) +
              " blocks were due");
    pending_ = Pending::None;
  }
  if (!kbd::checksumOk(c)) {
    violation("bad checksum in " + hex(c.data(), c.size()));
    return;
  }
  lastCommand_ = c;
  switch (c[0]) {
    case kbd::kCmdEffect:
      if (c[kbd::kEffectFormOffset] == kbd::kEffectFormPlain)
        effectPlain_ = c;
      else if (c[kbd::kEffectFormOffset] == kbd::kEffectFormBrightness)
        effectBrightness_ = c;
      else
        violation("effect command of form " + hex(&c[1], 1));
      break;
    case kbd::kCmdEffectColor:
      effectColor_ = c;
      break;
    case kbd::kCmdKeySlotTable:
      startBlocks(Pending::KeyTable, kbd::kKeySlotTableBlocks, 0);
      break;
    case kbd::kCmdKeyColors:
      startBlocks(Pending::KeyColors, kbd::kKeyColorBlocks, 0);
      break;
    case kbd::kCmdMacro:
      startBlocks(Pending::Macro, kbd::kMacroBlocks, c[kbd::kMacroNumberOffset]);
      break;
    case kbd::kCmdWinLock:
      startBlocks(Pending::WinLock, kbd::kWinLockBlocks, 0);
      break;
    case kbd::kCmdFirmwareVersion:
      break;
    default:
      violation("unknown command " + hex(c.data(), c.size()));
  }
}

void FirmwareModel::getFeature(uint8_t* data, size_t length) {
  if (length != kbd::kCommandLength) {
    violation("feature read of " + std::to_string(length) + " bytes");
    return;
  }
  kbd::Command answer{};
  if (lastCommand_[0] == kbd::kCmdFirmwareVersion) {
    answer[0] = kbd::kCmdFirmwareVersion;
    answer[kbd::kVersionMajorOffset] = version_.major;
    answer[kbd::kVersionMinorOffset] = version_.minor;
    answer[kbd::kChecksumOffset] = kbd::checksumOf(answer);
  } else {
    violation("feature read without a query");
  }
  std::memcpy(data, answer.data(), answer.size());
}

void FirmwareModel::writeBlock(const uint8_t* data, size_t length) {
  ++blockCount_;
  if (length != kbd::kBlockLength) {
    violation("output report of " + std::to_string(length) + " bytes");
    return;
  }
  if (pending_ == Pending::None) {
    violation("data block that no command announced");
    return;
  }
  incoming_.insert(incoming_.end(), data, data + length);
  if (--blocksExpected_ == 0) finishBlocks();
}

void FirmwareModel::finishBlocks() {
  switch (pending_) {
    case Pending::KeyTable:
      for (int i = 0; i < kbd::kSentSlots; ++i) std::memcpy(keyTable_[i].data(), &incoming_[i * 4], 4);
      break;
    case Pending::KeyColors:
      std::memcpy(keyColors_.data(), incoming_.data(), keyColors_.size());
      break;
    case Pending::Macro:
      macros_[macroNumber_] = incoming_;
      break;
    case Pending::WinLock: {
      kbd::Block b;
      std::memcpy(b.data(), incoming_.data(), b.size());
      winLock_ = b;
      break;
    }
    case Pending::None:
      break;
  }
  pending_ = Pending::None;
  incoming_.clear();
}

std::optional<kbd::Command> FirmwareModel::effect(uint8_t form) const {
  return form == kbd::kEffectFormPlain ? effectPlain_ : effectBrightness_;
}

std::optional<HostEvent> FirmwareModel::keyChange(int keyIndex, bool released) {
  if (keyIndex < 0 || keyIndex >= kKeyCount) return std::nullopt;
  const kbd::Slot& s = keyTable_[kbd::keySlotOf[keyIndex]];
  switch (s[kbd::kSlotKind]) {
    case kbd::kSlotReportToHost: {
      const uint8_t code = s[kbd::kSlotData2];
      if (released && code != kbd::kEventTextMacro)
        return std::nullopt;  // only text-macro keys report release
      const uint32_t event = released ? 0x8000u | code : code;
      return HostEvent{event, s[kbd::kSlotData3]};
    }
    case kbd::kSlotKey:
      outputs_.push_back({"usage", s[kbd::kSlotData2], released});
      break;
    case kbd::kSlotMouse:
      outputs_.push_back({"mouse", s[kbd::kSlotData2], released});
      break;
    case kbd::kSlotFn:
      outputs_.push_back({"fn", 0, released});
      break;
    case kbd::kSlotConsumer:
      outputs_.push_back({"consumer", s[kbd::kSlotData2] | s[kbd::kSlotData3] << 8, released});
      break;
    case kbd::kSlotMacro:
      outputs_.push_back({"macro", s[kbd::kSlotData2], released});
      break;
    default:
      outputs_.push_back({"none", s[kbd::kSlotKind], released});
  }
  return std::nullopt;
}

std::string FirmwareModel::stateJson() const {
  std::string j = "{";
  j += "\"version\":" + quoted(std::to_string(version_.major) + "." + std::to_string(version_.minor));
  j += ",\"violations\":" + std::to_string(violations_);
  j += ",\"violationLog\":[";
  for (size_t i = 0; i < violationLog_.size(); ++i) j += (i ? "," : "") + quoted(violationLog_[i]);
  j += "],\"featureReports\":" + std::to_string(featureCount_);
  j += ",\"dataBlocks\":" + std::to_string(blockCount_);
  j += ",\"keyTable\":[";
  for (int i = 0; i < kbd::kSentSlots; ++i) j += (i ? "," : "") + quoted(hex(keyTable_[i].data(), 4));
  j += "],\"macros\":{";
  bool first = true;
  for (const auto& [n, bytes] : macros_) {
    j += (first ? "" : ",") + quoted(std::to_string(n)) + ":" + quoted(hex(bytes.data(), bytes.size()));
    first = false;
  }
  j += "},\"keyColors\":[";
  for (int i = 0; i < kbd::kColorEntries; ++i) j += (i ? "," : "") + quoted(hex(&keyColors_[i * 4 + 1], 3));
  j += "]";
  auto opt = [&](const char* name, const auto& v) {
    j += std::string(",\"") + name + "\":" + (v ? quoted(hex(v->data(), v->size())) : "null");
  };
  opt("effect", effectPlain_);
  opt("effectWithBrightness", effectBrightness_);
  opt("effectColor", effectColor_);
  opt("winLock", winLock_);
  j += ",\"outputs\":[";
  for (size_t i = 0; i < outputs_.size(); ++i) {
    const auto& o = outputs_[i];
    j += std::string(i ? "," : "") + "{\"what\":" + quoted(o.what) + ",\"value\":" + std::to_string(o.value) +
         ",\"released\":" + (o.released ? "true" : "false") + "}";
  }
  j += "]}";
  return j;
}

}  // namespace emu
