#pragma once
// The bytes the keyboard understands: every command code, length and offset
// of the 8-byte feature commands and the 64-byte data blocks.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kbd {

constexpr size_t kCommandLength = 8;  // SetFeature / GetFeature
constexpr size_t kBlockLength = 64;   // WriteUSB
constexpr size_t kCommandDataFirst = 1;
constexpr size_t kCommandDataLast = 6;
constexpr size_t kChecksumOffset = 7;
constexpr uint8_t kChecksumBase = 0xFF;  // all 8 bytes add up to this, modulo 256

using Command = std::array<uint8_t, kCommandLength>;
using Block = std::array<uint8_t, kBlockLength>;

enum CommandCode : uint8_t {
  kCmdEffect = 0x08,
  kCmdKeySlotTable = 0x0D,
  kCmdWinLock = 0x0E,
  kCmdMacro = 0x11,
  kCmdKeyColors = 0x12,
  kCmdEffectColor = 0x14,
  kCmdFirmwareVersion = 0x80,
};

// Block counts announced by the commands, and the byte in which they say so.
constexpr size_t kBlockCountOffset = 3;
constexpr uint8_t kKeySlotTableBlocks = 8;
constexpr uint8_t kKeyColorBlocks = 8;
constexpr uint8_t kMacroBlocks = 3;
constexpr uint8_t kWinLockBlocks = 1;
constexpr uint8_t kWinLockAnnounced = 0x15;  // what the lock command carries in its count byte

// Effect command (0x08).
constexpr size_t kEffectFormOffset = 1;
constexpr size_t kEffectFxOffset = 2;
constexpr size_t kEffectSpeedOffset = 3;
constexpr size_t kEffectBrightnessOffset = 4;
constexpr size_t kEffectDirectionOffset = 5;
constexpr size_t kEffectWaveOffset = 6;
constexpr uint8_t kEffectFormPlain = 0x01;
constexpr uint8_t kEffectFormBrightness = 0x02;
constexpr uint8_t kDirectionDefault = 7;
constexpr uint8_t kDirectionAlternate = 8;
constexpr uint8_t kSpeedBase = 13;  // speed code = 13 - 3 * setting
constexpr uint8_t kSpeedStep = 3;
constexpr uint8_t kSpeedStatic = 5;
constexpr uint8_t kSpeedReactive = 10;
constexpr uint8_t kSpeedUnknownEffect = 7;  // brightness form, lights on, unknown effect
constexpr uint8_t kBrightnessStep = 5;      // brightness byte = ltControl * 5

enum LightEffect : int32_t {
  kFxStatic = 1,
  kFxBreathe = 2,
  kFxWave = 3,
  kFxReactive = 4,
  kFxRipple = 6,
};

// Effect colour command (0x14).
constexpr size_t kEffectColorSelectorOffset = 2;
constexpr uint8_t kEffectColorSelector = 6;
constexpr size_t kEffectColorFirst = 3;  // colour bytes 0, 1, 2 (red first)

// Macro command (0x11).
constexpr size_t kMacroNumberOffset = 2;

// Key slot table: 160 slots of 4 bytes, the first 128 are sent.
constexpr int kSlotCount = 160;
constexpr int kSentSlots = 128;
constexpr size_t kSlotBytes = 4;
constexpr size_t kSlotTableBytes = kSentSlots * kSlotBytes;
using Slot = std::array<uint8_t, kSlotBytes>;
constexpr size_t kSlotKind = 0;
constexpr size_t kSlotData1 = 1;
constexpr size_t kSlotData2 = 2;
constexpr size_t kSlotData3 = 3;

enum SlotKind : uint8_t {
  kSlotKey = 0,
  kSlotMouse = 1,
  kSlotFn = 2,
  kSlotConsumer = 3,
  kSlotMacro = 4,
  kSlotReportToHost = 10,
};
constexpr uint8_t kEventLaunch = 10;
constexpr uint8_t kEventTextMacro = 11;
constexpr int kFnKeyIndex = 74;

// Play byte of a macro slot.
constexpr uint8_t kPlayByteOnce = 1;
constexpr uint8_t kPlayByteOnReleaseOnce = 0x81;
constexpr uint8_t kPlayByteOnReleaseToggle = 0x83;
constexpr uint8_t kPlayByteOnReleaseOther = 0x02;

// Macro buffer: 192 bytes in 3 blocks.
constexpr size_t kMacroBufferBytes = kMacroBlocks * kBlockLength;
constexpr size_t kMacroRepeatHigh = 0;
constexpr size_t kMacroRepeatLow = 1;
constexpr size_t kMacroEventsOffset = 2;
constexpr uint8_t kEventPress = 0x01;
constexpr uint8_t kEventRelease = 0x81;
constexpr uint8_t kDelayShortLimit = 0x80;  // delays below it fit into one byte
constexpr uint8_t kDelayShortMask = 0x7F;
constexpr uint8_t kLongPress = 0x7F;
constexpr uint8_t kLongRelease = 0xFF;
constexpr uint8_t kTerminatorLong = 0xFF;
constexpr int kMaxMacroBuffers = 35;

// Per-key colours: 128 entries of {0, red, green, blue}.
constexpr int kColorEntries = 128;
constexpr size_t kColorTableBytes = kColorEntries * 4;

// Windows-key lock block.
constexpr uint8_t kWinLockFill = 0x3F;
constexpr size_t kWinLockSwitchOffset = 1;
constexpr uint8_t kWinLockSwitchBase = 0x3E;
constexpr size_t kWinLockFillEnd = 21;  // bytes 0..20 carry data, the rest is 0

// Firmware version answer.
constexpr size_t kVersionMajorOffset = 1;
constexpr size_t kVersionMinorOffset = 2;
constexpr int kVersionReadPauseMs = 10;  // between SetFeature and GetFeature

struct FirmwareVersion {
  uint8_t major;
  uint8_t minor;
  constexpr bool operator==(const FirmwareVersion&) const = default;
};
constexpr FirmwareVersion kExpectedFirmware{1, 3};

// An 8-byte command from its code and data bytes 1..6, checksum in byte 7.
Command makeFeatureCommand(uint8_t code, const std::array<uint8_t, 6>& data = {});
uint8_t checksumOf(const Command& command);
bool checksumOk(const Command& command);

// The version request; the same bytes serve as the GetFeature buffer.
Command makeVersionCommand();
FirmwareVersion parseFirmwareVersion(const Command& answer);
// As config.ini's FWVersion holds it: major * 100 + minor (1.3 is 103).
constexpr int firmwareNumber(FirmwareVersion v) { return v.major * 100 + v.minor; }

}  // namespace kbd
