#include "KeyboardProtocol.h"

namespace kbd {

uint8_t checksumOf(const Command& command) {
  uint8_t sum = 0;
  for (size_t i = 0; i < kChecksumOffset; ++i) sum = uint8_t(sum + command[i]);
  return uint8_t(kChecksumBase - sum);
}

bool checksumOk(const Command& command) { return command[kChecksumOffset] == checksumOf(command); }

Command makeFeatureCommand(uint8_t code, const std::array<uint8_t, 6>& data) {
  Command c{};
  c[0] = code;
  for (size_t i = 0; i < data.size(); ++i) c[kCommandDataFirst + i] = data[i];
  c[kChecksumOffset] = checksumOf(c);
  return c;
}

Command makeVersionCommand() { return makeFeatureCommand(kCmdFirmwareVersion); }

FirmwareVersion parseFirmwareVersion(const Command& answer) {
  return {answer[kVersionMajorOffset], answer[kVersionMinorOffset]};
}

}  // namespace kbd
