#include "ColorSelectRules.h"

std::optional<ColorChannel> ChannelOfNumberField(int id) {
  switch (id) {
    case kRedFieldId:
      return ColorChannel::Red;
    case kGreenFieldId:
      return ColorChannel::Green;
    case kBlueFieldId:
      return ColorChannel::Blue;
  }
  return std::nullopt;
}

Color ColorAfterNumberField(Color current, int id, unsigned value) {
  auto channel = ChannelOfNumberField(id);
  return channel ? WithChannel(current, *channel, value) : current;
}

std::optional<Color> PresetColor(int index) {
  if (index < 0 || index >= kPresetCount) return std::nullopt;
  return kPresetColors[size_t(index)];
}

ColorTexts TextsOf(Color c) { return {RedOf(c), GreenOf(c), BlueOf(c), ColorHexText(c)}; }

std::optional<Color> ColorFromHexText(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value << 4 | unsigned(digit);
  }
  return MakeColor(uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value));
}

std::string HexFieldText(Color c) { return ColorHexText(c); }
