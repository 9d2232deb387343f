#include "KeyboardWords.h"

std::string keyboardHint(KeyboardPictureMode mode) {
  switch (mode) {
    case KeyboardPictureMode::Keys:
      return "Click a key to assign its function";
    case KeyboardPictureMode::Leds:
      return "Click a key to see its colour  \xB7  Ctrl+click paints it in the key colour";
    case KeyboardPictureMode::Empty:
      break;
  }
  return "Keys are painted one by one in the Custom effect with PER KEY";
}

KeyboardLegend keyboardLegend(KeyboardPictureMode mode) {
  switch (mode) {
    case KeyboardPictureMode::Keys:
      return {};
    case KeyboardPictureMode::Leds:
      return {false,
              "KEY LIGHTS",
              {"Each key shows the colour", "it lights in.", "", "Ctrl+click a key to paint it",
               "in the KEY COLOUR above."}};
    case KeyboardPictureMode::Empty:
      break;
  }
  return {false,
          "KEY LIGHTS",
          {"The whole keyboard lights in", "the effect chosen above.", "", "Choose Custom and PER KEY",
           "to paint keys one by one."}};
}
