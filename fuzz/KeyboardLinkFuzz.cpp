// The keyboard side of the link and the firmware version answer: the keyboard
// model takes any report and any key change and reports only events the
// monitor can decode, a version read answers what the keyboard holds, and the stored version shows as "N/A"
// or as a version number in both of the configuration program's ranges.

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <vector>

#include "FirmwareModel.h"
#include "FuzzSupport.h"
#include "OptionRules.h"

namespace {

void checkVersionText(int version) {
  for (const FirmwareRange range : {FirmwareRange::StartUp, FirmwareRange::Reload}) {
    const std::string text = firmwareVersionText(version, range);
    if (text == "N/A") continue;
    FUZZ_CHECK(version >= 100 && text.size() >= 4 && text[1] == '.');
    for (size_t i = 0; i < text.size(); ++i)
      if (i != 1) FUZZ_CHECK(std::isdigit(static_cast<unsigned char>(text[i])));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  emu::FirmwareModel keyboard;
  keyboard.setVersion(in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>());
  checkVersionText(in.ConsumeIntegral<int>());
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0: {
        std::vector<uint8_t> report = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(0, 12));
        keyboard.setFeature(report.data(), report.size());
        break;
      }
      case 1: {
        std::vector<uint8_t> block = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(0, 70));
        keyboard.writeBlock(block.data(), block.size());
        break;
      }
      case 2: {
        // The keyboard reports what its key table holds for the key, whoever
        // wrote the table: one byte of key number, and only text-macro keys
        // report their release.
        const int key = in.ConsumeIntegralInRange(-2, kKeyCount + 2);
        const bool released = in.ConsumeBool();
        if (const auto event = keyboard.keyChange(key, released)) {
          FUZZ_CHECK(key >= 0 && key < kKeyCount && event->lParam <= 0xFF && event->wParam <= 0xFFFF);
          if (released) FUZZ_CHECK(event->wParam == (0x8000u | kbd::kEventTextMacro));
        }
        break;
      }
      default: {
        const kbd::Command ask = kbd::makeVersionCommand();
        keyboard.setFeature(ask.data(), ask.size());
        kbd::Command answer{};
        keyboard.getFeature(answer.data(), answer.size());
        FUZZ_CHECK(kbd::parseFirmwareVersion(answer) == keyboard.version());
        const kbd::FirmwareVersion v = kbd::parseFirmwareVersion(answer);
        checkVersionText(v.major * 100 + v.minor);
        break;
      }
    }
  }
  return 0;
}
