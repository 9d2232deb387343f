#pragma once
// Small rules of the main window that need no window: the firmware version
// text and what the keyboard picture shows.

#include <string>

#include "QuillonVersion.h"
#include "SettingsImage.h"

// The stored firmware version as the main window shows it: 103 gives "1.03".
// At start-up only 100..500 count as versions; a reload accepts any value
// from 100 up. Anything else shows "N/A".
enum class FirmwareRange { StartUp, Reload };
std::string firmwareVersionText(int version, FirmwareRange range);

// The software version the main window shows beside the firmware's.
constexpr char kSoftwareVersionText[] = QUILLON_VERSION_TEXT;

// The colour pictures of the keyboard picture, in the order of their SCREEN keys.
enum class KeyLook { Normal, Green, Blue, Cyan, Red, Purple, Danlv, Dective };
constexpr const char* kKeyLookPictures[] = {"Green", "Blue", "Cyan", "Red", "Purple", "Danlv", "Dective"};

// How key `keyIndex` of the keyboard picture looks for its assignment: its
// own key (or an unknown category) shows the plain picture, anything else the
// colour of its category. A combination of one key is the key's own function
// only when that key is the one printed on it: a remap to another key, though
// standardKey holds it too, is an assignment.
KeyLook keyLookOf(const KeyAssignment& key, int keyIndex);

// Which buttons lie over the keyboard picture: the assignment keys with the
// Windows-key page, the LED buttons with the lighting page in per-key colour
// mode, and neither with any other lighting effect.
enum class ContentPage { WindowsKey = 0, Lighting = 1 };
enum class KeyboardPictureMode { Keys, Leds, Empty };
constexpr int kCustomEffect = 51;
KeyboardPictureMode keyboardPictureMode(ContentPage page, const ProfileRecord& profile);

// The line selected after line `removed` of a list went: the one now at that
// place, or the last, or none (-1) in an empty list.
int selectionAfterRemove(int removed, int remaining);
