#pragma once
// The keyboard on the bus. The driver finds it by the same pair.

#include <cstdint>

constexpr uint16_t kKeyboardVendorId = 0x04D9;
constexpr uint16_t kKeyboardProductId = 0x0A5C;
