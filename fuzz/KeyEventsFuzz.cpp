// UM_KEYBOARD_EVENT as the keyboard link (or any program) may post it: every
// wParam and lParam. An event only ever launches the program of a launch key
// of the active profile, and only ever plays the text macro of a text-macro
// key, whatever the image's current profile and function codes hold.

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

#include "FuzzSupport.h"
#include "KeyEvent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static const auto image = std::make_unique<SettingsImage>();  // kept: 3 MB
  *image = fuzz::defaultImage();
  image->currentProfile = in.ConsumeIntegral<int32_t>();
  // Function codes of the active-looking profile's keys from the input.
  const int profile =
      image->currentProfile >= 0 && image->currentProfile < kProfileCount ? image->currentProfile : 0;
  for (KeyAssignment& key : image->profiles[profile].keys) key.functionCode = in.ConsumeIntegral<uint8_t>();

  while (in.remaining_bytes() >= 2 * sizeof(uint64_t)) {
    const auto wParam = uintptr_t(in.ConsumeIntegral<uint64_t>());
    const auto lParam = intptr_t(in.ConsumeIntegral<int64_t>());
    const KeyEvent event = decodeKeyEvent(wParam, lParam);
    FUZZ_CHECK(event.code <= 0xFFFF && event.keyNumber >= 0 && event.keyNumber <= 0xFF &&
               event.extra <= 0xFF);
    const KeyAction action = keyActionFor(event, *image);
    if (action.kind == KeyActionKind::None) continue;
    FUZZ_CHECK(image->currentProfile >= 0 && image->currentProfile < kProfileCount);
    FUZZ_CHECK(action.keyIndex == event.keyNumber - 1 && action.keyIndex >= 0 && action.keyIndex < kKeyCount);
    const uint8_t code = image->profiles[image->currentProfile].keys[action.keyIndex].functionCode;
    if (action.kind == KeyActionKind::Launch) {
      FUZZ_CHECK(code == kFunctionLaunch && !action.released);
      FUZZ_CHECK(event.code == kEventKeyUsed || event.code == kEventTextMacroPressed);
    } else {
      FUZZ_CHECK(code == kFunctionTextMacro);
      FUZZ_CHECK(action.released == (event.code == kEventTextMacroReleased));
    }
  }
  return 0;
}
