#pragma once
// A model of the keyboard's firmware: what it checks, stores and answers, and
// what it does with a key press. Portable, so it is unit-tested natively and
// sits inside the emulated hiddriver.dll unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "KeyboardProtocol.h"

namespace emu {

// Upper-case hexadecimal digits, two per byte (trace and dump format).
std::string hex(const uint8_t* data, size_t n);

// A message the firmware would have the host driver post: UM_KEYBOARD_EVENT's
// wParam (event code) and lParam (key number in the low byte).
struct HostEvent {
  uint32_t wParam;
  uint32_t lParam;
  bool operator==(const HostEvent&) const = default;
};

// The keyboard's own reaction to a key, recorded for tests and the control tool.
struct KeyboardOutput {
  std::string what;  // "usage", "consumer", "macro", "mouse", "fn", "none"
  int value;
  bool released;
};

class FirmwareModel {
 public:
  FirmwareModel();

  void setFeature(const uint8_t* data, size_t length);
  // Fills `data` with the answer to the last query (the version for 0x80).
  void getFeature(uint8_t* data, size_t length);
  void writeBlock(const uint8_t* data, size_t length);

  // A key (index 0..104) goes down or up: returns what the host is told, if anything.
  std::optional<HostEvent> keyChange(int keyIndex, bool released);

  void setVersion(uint8_t major, uint8_t minor) { version_ = {major, minor}; }
  kbd::FirmwareVersion version() const { return version_; }

  int violations() const { return violations_; }
  const std::vector<std::string>& violationLog() const { return violationLog_; }
  const std::vector<KeyboardOutput>& outputs() const { return outputs_; }
  const std::array<kbd::Slot, kbd::kSentSlots>& keyTable() const { return keyTable_; }
  const std::map<int, std::vector<uint8_t>>& macros() const { return macros_; }
  std::optional<kbd::Command> effect(uint8_t form) const;
  std::optional<kbd::Command> effectColor() const { return effectColor_; }
  const std::array<uint8_t, kbd::kColorTableBytes>& keyColors() const { return keyColors_; }
  std::optional<kbd::Block> winLock() const { return winLock_; }

  // The whole stored state as one JSON object.
  std::string stateJson() const;

 private:
  enum class Pending { None, KeyTable, WinLock, Macro, KeyColors };
  void violation(const std::string& what);
  void startBlocks(Pending target, int blocks, int macroNumber);
  void finishBlocks();

  kbd::FirmwareVersion version_{1, 3};
  std::array<kbd::Slot, kbd::kSentSlots> keyTable_{};
  std::map<int, std::vector<uint8_t>> macros_;
  std::array<uint8_t, kbd::kColorTableBytes> keyColors_{};
  std::optional<kbd::Command> effectPlain_, effectBrightness_, effectColor_;
  std::optional<kbd::Block> winLock_;
  kbd::Command lastCommand_{};

  Pending pending_ = Pending::None;
  int blocksExpected_ = 0;
  int macroNumber_ = 0;
  std::vector<uint8_t> incoming_;

  int violations_ = 0;
  std::vector<std::string> violationLog_;
  std::vector<KeyboardOutput> outputs_;
  int featureCount_ = 0, blockCount_ = 0;
};

}  // namespace emu
