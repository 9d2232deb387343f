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
