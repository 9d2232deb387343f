// The keyboard picture from the keyboard: the arrows walk a focus mark from
// key to key (or LED to LED), Enter or Space opens the key's page (or is the
// LED's click; with Ctrl held it paints the LED, as Ctrl+click does). The
// focused item's name follows the window's text, with a focus event, so that
// a screen reader says which key the mark is on.
#include "FocusRules.h"
#include "KeyboardPicture_win.h"
#include "SkinFocus_win.h"

std::vector<SkinRect> KeyboardPicture::focusItems() const {
  std::vector<SkinRect> items;
  if (mode_ == KeyboardPictureMode::Keys) {
    items.assign(std::begin(layout_.keys), std::end(layout_.keys));
  } else if (mode_ == KeyboardPictureMode::Leds) {
    items.resize(kLedCount);
    for (int i = 0; i < kLedCount; ++i)
      if (layout_.ledPlaced(i)) items[size_t(i)] = layout_.leds[i];
  }
  return items;
}

PictureItem KeyboardPicture::focusedItem() const {
  if (focus_ < 0) return {};
  if (mode_ == KeyboardPictureMode::Keys && focus_ < kKeyCount) return PictureItem::Key(focus_);
  if (mode_ == KeyboardPictureMode::Leds && focus_ < kLedCount) return PictureItem::Led(focus_);
  return {};
}

void KeyboardPicture::moveFocusTo(int index) {
  if (index == focus_) return;
  invalidate(focusedItem());
  focus_ = index;
  const PictureItem item = focusedItem();
  invalidate(item);
  std::string text = kKeyboardName;
  if (item) {
    const int entry = (item.kind == PictureItem::Kind::Key ? kKeyEntryBase : kLedEntryBase) + item.index;
    auto name = names_.find(entry);
    text += ": " + (name != names_.end() && !name->second.empty() ? name->second
                                                                  : "key " + std::to_string(item.index + 1));
  }
  SetWindowTextA(hwnd_, text.c_str());
  if (GetFocus() == hwnd_) {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, CHILDID_SELF);
  }
}

void KeyboardPicture::focusChanged(bool gained) {
  if (gained && !focusedItem()) {
    moveFocusTo(NeighbourItem(focusItems(), -1, kKeyRight));  // the first key
    return;
  }
  invalidate(focusedItem());  // the mark comes or goes
}

bool KeyboardPicture::keyPressed(WPARAM key, LPARAM flags) {
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      moveFocusTo(NeighbourItem(focusItems(), focusedItem() ? focus_ : -1, unsigned(key)));
      return true;
    case VK_RETURN:
    case VK_SPACE: {
      if (flags & (1L << 30)) return true;  // held: one click only
      const PictureItem item = focusedItem();
      if (!item) return true;
      if (item.kind == PictureItem::Kind::Key) {
        if (onKeyClicked) onKeyClicked(item.index);
      } else if (onLedClicked) {
        onLedClicked(item.index);  // Ctrl as held now: the page paints with it
      }
      return true;
    }
  }
  return false;
}

void KeyboardPicture::drawFocusMark(HDC dc, const RECT& area) {
  if (!ShowsFocusMark(hwnd_)) return;
  const SkinRect r = layout_.rectOf(focusedItem());
  if (r.width() <= 0 || r.height() <= 0) return;
  if (r.left >= area.right || r.right <= area.left || r.top >= area.bottom || r.bottom <= area.top) return;
  DrawFocusMark(dc, {r.left, r.top, r.right, r.bottom});
}
