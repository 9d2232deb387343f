#pragma once
// The keyboard picture's rules without a window: which key or LED lies under
// a point, how moves, presses and releases turn into looks and clicks, and
// which colour an LED shows. The picture is one window; these rules give it
// the behaviour that 105 key buttons and 126 LED buttons had on their own.

#include <cstdint>
#include <vector>

#include "ButtonLooks.h"
#include "OptionRules.h"
#include "SettingsImage.h"
#include "SkinPosition.h"

constexpr int kEnterKeyIndex = 43;  // the large Enter key, an L of its own outline

// A key or an LED of the picture, or nothing.
struct PictureItem {
  enum class Kind : uint8_t { None, Key, Led };
  Kind kind = Kind::None;
  int index = -1;

  static PictureItem Key(int i) { return {Kind::Key, i}; }
  static PictureItem Led(int i) { return {Kind::Led, i}; }
  explicit operator bool() const { return kind != Kind::None; }
  bool operator==(const PictureItem&) const = default;
};

// Where the keys and LEDs lie, in the picture's client coordinates.
struct PictureLayout {
  SkinRect keys[kKeyCount] = {};
  SkinRect leds[kLedCount] = {};
  // The Enter key's outline in its own rectangle's coordinates, as rows of
  // runs; empty: the whole rectangle counts.
  std::vector<SkinRect> enterOutline;

  // LEDs that no key carries have no size and no place on the picture.
  bool ledPlaced(int led) const;
  bool insideKey(int key, int x, int y) const;
  bool insideLed(int led, int x, int y) const;
  // The rectangle to repaint for an item; empty for none.
  SkinRect rectOf(PictureItem item) const;
};

// What the picture shows at (x, y) in `mode`: keys with the Windows-key page,
// placed LEDs in per-key colour mode, nothing otherwise. Where rectangles
// overlap, the lower index lies on top, as the first-made button did; the
// Enter key counts only inside its L.
PictureItem ItemAt(const PictureLayout& layout, KeyboardPictureMode mode, int x, int y);

// What one mouse event asks of the window.
struct PictureEffect {
  std::vector<PictureItem> repaint;
  PictureItem hoverLeft;     // the item the mouse no longer hovers
  PictureItem hoverEntered;  // the item it hovers now
  PictureItem clicked;       // a press and its release on the same item
  bool capture = false;      // take the mouse: a button went down on an item
  bool release = false;      // give it back: the button came up
};

// Hover and press of the picture's items. The mouse hovers the item under it;
// a press on an item holds the mouse until its release, and the release over
// the same item is that item's click. While the button is held no other item
// hovers, and the pressed item looks pressed only while the mouse is over it.
class PictureInput {
 public:
  // The mouse moved to `under` (None: the bare picture).
  PictureEffect move(PictureItem under);
  // Left button down at `under`, with Ctrl held or not.
  PictureEffect press(PictureItem under, bool ctrl);
  // Left button up at `under`.
  PictureEffect release(PictureItem under);
  // The mouse left the window (not while a button is held).
  PictureEffect leave();
  // The mouse was taken away, the window hidden or its items changed.
  PictureEffect cancel();
  // The Ctrl key as of the latest message: a Ctrl press held on an LED shows
  // its paint colour only while Ctrl stays down.
  PictureEffect ctrl(bool held);

  PictureItem hovered() const { return hovered_; }
  PictureItem pressed() const { return pressed_; }
  StateImage look(PictureItem item) const;
  // True while a Ctrl press on this LED, still over it, shows the paint.
  bool painting(int led) const;

 private:
  PictureItem hovered_, pressed_;
  bool over_ = false;  // the mouse is over the pressed item
  bool ctrl_ = false;
};

// The colours the LEDs take from the profile.
struct LedColors {
  uint32_t own[kLedCount] = {};
  uint32_t ctrlClick = 0;
};
LedColors LedColorsOf(const ProfileRecord& profile);

// The colour LED `led` shows: its own colour from the profile, or the
// Ctrl+click colour while a Ctrl press on it is held. Only a completed click
// stores the paint in the profile; an LED shows nothing the profile does not
// hold once the button is up.
uint32_t ShownLedColor(const LedColors& colors, const PictureInput& input, int led);

// The answer to UM_PICTURE_ITEM: whether the item is shown, its state image,
// a key's look and an LED's shown colour, in one word.
struct PictureItemReport {
  bool shown = false;
  StateImage state = StateImage::Normal;
  KeyLook look = KeyLook::Normal;
  uint32_t color = 0;  // 0x00BBGGRR
  bool operator==(const PictureItemReport&) const = default;
};
int64_t EncodePictureItem(const PictureItemReport& report);
PictureItemReport DecodePictureItem(int64_t answer);
