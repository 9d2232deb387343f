#include "KeyboardPicture_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "ColorKeyButton_win.h"
#include "OptionMessages.h"
#include "OptionResources.h"
#include "Picture_win.h"
#include "SkinControl_win.h"
#include "SkinFocus_win.h"
#include "SkinHelp_win.h"
#include "SkinLoader_win.h"
#include "SkinPictures_win.h"

namespace {

RECT toRect(const SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool meets(const SkinRect& r, const RECT& area) {
  return r.width() > 0 && r.height() > 0 && r.left < area.right && r.right > area.left &&
         r.top < area.bottom && r.bottom > area.top;
}

// The rectangles of a region, for hit tests without a window.
std::vector<SkinRect> rectsOf(HRGN region) {
  std::vector<SkinRect> rects;
  const DWORD size = region ? GetRegionData(region, 0, nullptr) : 0;
  if (!size) return rects;
  std::vector<BYTE> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (!GetRegionData(region, size, data)) return rects;
  const auto* r = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    rects.push_back({r[i].left, r[i].top, r[i].right, r[i].bottom});
  return rects;
}

}  // namespace

KeyboardPicture::~KeyboardPicture() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool KeyboardPicture::create(HWND parent, POINT at) {
  RegisterProgramClass(kKeyboardPictureClass, staticProc, CS_DBLCLKS);
  HWND made = CreateWindowExA(0, kKeyboardPictureClass, kKeyboardName, WS_CHILD | WS_TABSTOP, at.x, at.y, 0,
                              0, parent, nullptr, GetModuleHandleA(nullptr), this);
  if (!made) return false;
  // Enter opens the focused key's page; it is no OK of the window.
  SetPropA(made, kTakesKeysProperty, reinterpret_cast<HANDLE>(kTakesEnter));
  load();
  return true;
}

LRESULT CALLBACK KeyboardPicture::staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<KeyboardPicture*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<KeyboardPicture*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropA(hwnd, kTakesKeysProperty);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->tooltip_.release();  // an owned pop-up: gone with this window
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->onMessage(message, wParam, lParam);
}

// What the first paint shows: the rest picture, the outline and where the
// items lie. The hover and pressed pictures come when the mouse first
// hovers or presses an item (a few milliseconds each, and half a megabyte
// that a start without a hover never holds), the colour pictures when a key
// first shows one.
void KeyboardPicture::load() {
  iniPath_ = SkinRoot() + "skin_main.ini";
  auto screenPicture = [&](const char* key) {
    const std::string name = ReadSkinString(iniPath_, "SCREEN", key);
    return name.empty() ? name : SkinRoot() + name;
  };
  LoadSkinPicture(screenPicture("Normal"), background_, size_);
  UniqueBitmap mask;
  SIZE ignored{};
  LoadSkinPicture(screenPicture("Mask"), mask, ignored, PictureFilter::Outline);
  SetWindowPos(hwnd_, nullptr, 0, 0, size_.cx, size_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The outline is all the window keeps of its mask.
  if (UniqueRegion outline = RegionFromMask(mask.get(), RGB(255, 255, 255), 0))
    if (SetWindowRgn(hwnd_, outline.get(), TRUE)) outline.release();
  mask.reset();

  const std::map<int, SkinPosition> positions = readPositions();
  auto at = [&](int key) {
    auto found = positions.find(key);
    return found == positions.end() ? SkinPosition{} : found->second;
  };
  for (int k = 0; k < kKeyCount; ++k) {
    const SkinPosition position = at(kKeyEntryBase + k);
    layout_.keys[k] = position.rect;
    keyTexts_[k] = position.text;
  }
  for (int i = 0; i < kLedCount; ++i) layout_.leds[i] = at(kLedEntryBase + i).rect;
  names_ = ReadSkinSection(iniPath_, "NAMES");
  UniqueBitmap enterMask = LoadSkinResourcePicture(IDB_ENTER_MASK, PictureFilter::Outline);
  enterOutline_ = RegionFromMask(enterMask.get(), RGB(255, 255, 255), 0);
  layout_.enterOutline = rectsOf(enterOutline_.get());
}

// The keys' and LEDs' places, read as one section: 231 reads of one key
// each cost the system a look at the file every time.
std::map<int, SkinPosition> KeyboardPicture::readPositions() const {
  std::map<int, SkinPosition> positions;
  for (const auto& [key, value] : ReadSkinSection(iniPath_, "BUTTONPOS")) {
    const bool ours = (key >= kKeyEntryBase && key < kKeyEntryBase + kKeyCount) ||
                      (key >= kLedEntryBase && key < kLedEntryBase + kLedCount);
    if (!ours) continue;
    SkinPosition& position = positions[key] = ParseSkinPosition(value);
    position.rect = DpiScale(position.rect);
  }
  return positions;
}

HBITMAP KeyboardPicture::picture(StateImage state, KeyLook look) {
  auto decode = [&](UniqueBitmap& into, const char* key) {
    if (into) return;
    const std::string name = ReadSkinString(iniPath_, "SCREEN", key);
    SIZE ignored{};
    if (!name.empty()) LoadSkinPicture(SkinRoot() + name, into, ignored);
  };
  switch (state) {
    case StateImage::Over:
      decode(over_, "Over");
      return over_.get();
    case StateImage::Down:
      decode(down_, "Down");
      return down_.get();
    case StateImage::Disabled:  // keys are hidden before they are disabled
      return nullptr;
    case StateImage::Normal:
      break;
  }
  if (look == KeyLook::Normal) return background_.get();
  const size_t colour = size_t(look) - size_t(KeyLook::Green);
  decode(colours_[colour], kKeyLookPictures[colour]);
  return colours_[colour] ? colours_[colour].get() : background_.get();
}

void KeyboardPicture::paint(HDC dc, const RECT& area) {
  UniqueMemoryDc canvas(CreateCompatibleDC(dc));
  UniqueBitmap surface(CreateCompatibleBitmap(dc, size_.cx, size_.cy));
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!canvas || !surface || !source) return;
  HGDIOBJ oldSurface = SelectObject(canvas.get(), surface.get());
  HGDIOBJ oldSource = SelectObject(source.get(), background_.get());
  if (background_)
    BitBlt(canvas.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, source.get(),
           area.left, area.top, SRCCOPY);
  // From the last item to the first: where two overlap, the first lies on top.
  if (mode_ == KeyboardPictureMode::Keys) {
    for (int k = kKeyCount - 1; k >= 0; --k)
      if (meets(layout_.keys[k], area)) drawKey(canvas.get(), source.get(), k);
  } else if (mode_ == KeyboardPictureMode::Leds) {
    for (int i = kLedCount - 1; i >= 0; --i)
      if (layout_.ledPlaced(i) && meets(layout_.leds[i], area)) drawLed(canvas.get(), source.get(), i);
  }
  drawFocusMark(canvas.get(), area);
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, canvas.get(), area.left,
         area.top, SRCCOPY);
  SelectObject(source.get(), oldSource);
  SelectObject(canvas.get(), oldSurface);
}

void KeyboardPicture::drawKey(HDC dc, HDC source, int key) {
  const StateImage state = input_.look(PictureItem::Key(key));
  if (state == StateImage::Normal && looks_[key] == KeyLook::Normal) return;  // the background shows it
  HBITMAP image = picture(state, looks_[key]);
  if (!image) return;
  const SkinRect& r = layout_.keys[key];
  SelectObject(source, image);
  UniqueRegion clip;
  if (key == kEnterKeyIndex && enterOutline_) {
    clip.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(clip.get(), enterOutline_.get(), nullptr, RGN_COPY);
    OffsetRgn(clip.get(), r.left, r.top);
    SelectClipRgn(dc, clip.get());
  }
  BitBlt(dc, r.left, r.top, r.width(), r.height(), source, r.left, r.top, SRCCOPY);
  if (clip) SelectClipRgn(dc, nullptr);
}

void KeyboardPicture::drawLed(HDC dc, HDC source, int led) {
  const SkinRect& r = layout_.leds[led];
  const StateImage state = input_.look(PictureItem::Led(led));
  if (state != StateImage::Normal) {
    if (HBITMAP image = picture(state, KeyLook::Normal)) {
      SelectObject(source, image);
      BitBlt(dc, r.left, r.top, r.width(), r.height(), source, r.left, r.top, SRCCOPY);
    }
  }
  const COLORREF colour = ShownLedColor(leds_, input_, led);
  if (ColorKeyOverlayFor(ColorKeyDrawMode::KeyColour, true, colour) != ColorKeyOverlay::Blend) return;
  const int w = r.width(), h = r.height();
  if (w > ledCanvasSize_.cx || h > ledCanvasSize_.cy) {
    ledCanvas_.reset(CreateCompatibleDC(dc));
    ledSurface_.reset(CreateCompatibleBitmap(dc, w, h));
    ledCanvasSize_ = {w, h};
    if (ledCanvas_ && ledSurface_) SelectObject(ledCanvas_.get(), ledSurface_.get());
  }
  if (!ledCanvas_ || !ledSurface_) return;
  // The key's colour in the shape of a key, black around it, laid over the
  // key at half strength: the black darkens its corners, as on the keyboard.
  PaintColorKey(ledCanvas_.get(), ColorKeyShape::CutCorners, w, h, colour);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, kColorKeyAlpha, 0};
  AlphaBlend(dc, r.left, r.top, w, h, ledCanvas_.get(), 0, 0, w, h, blend);
}

void KeyboardPicture::invalidate(PictureItem item) {
  const SkinRect r = layout_.rectOf(item);
  if (r.width() <= 0 || r.height() <= 0) return;
  const RECT rect = toRect(r);
  InvalidateRect(hwnd_, &rect, FALSE);
}

void KeyboardPicture::apply(const PictureEffect& effect) {
  for (const PictureItem& item : effect.repaint) invalidate(item);
  // The keys give the main window their quick help, as the key buttons did.
  if (effect.hoverLeft.kind == PictureItem::Kind::Key) {
    SetQuickHelpText(std::string());
    PostShowHelp(hwnd_, 0);
  }
  if (effect.hoverEntered.kind == PictureItem::Kind::Key) {
    SetQuickHelpText(keyTexts_[effect.hoverEntered.index]);
    PostShowHelp(hwnd_, 1);
    if (!tooltip_) showTooltips(mode_ == KeyboardPictureMode::Keys);
  }
  if (effect.capture && GetCapture() != hwnd_) SetCapture(hwnd_);
  if (effect.release && GetCapture() == hwnd_) ReleaseCapture();
}

PictureItem KeyboardPicture::itemAt(LPARAM point) const {
  return ItemAt(layout_, mode_, GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

void KeyboardPicture::mouseMoved(WPARAM wParam, LPARAM lParam) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  apply(input_.ctrl((wParam & MK_CONTROL) != 0));
  PictureItem under = itemAt(lParam);
  // Nothing hovers while another program is in front.
  if (!input_.pressed() && !GetActiveWindow()) under = {};
  apply(input_.move(under));
}

void KeyboardPicture::pressed(WPARAM wParam, LPARAM lParam) {
  ActivateTopLevelOf(hwnd_);
  const bool ctrl = (wParam & MK_CONTROL) != 0 || GetKeyState(VK_CONTROL) < 0;
  apply(input_.press(itemAt(lParam), ctrl));
}

void KeyboardPicture::released(WPARAM wParam, LPARAM lParam) {
  apply(input_.ctrl((wParam & MK_CONTROL) != 0));
  const PictureEffect effect = input_.release(itemAt(lParam));
  apply(effect);
  if (!effect.clicked) return;
  // The key looks released before its page opens over it.
  UpdateWindow(hwnd_);
  if (effect.clicked.kind == PictureItem::Kind::Key) {
    if (onKeyClicked) onKeyClicked(effect.clicked.index);
  } else if (onLedClicked) {
    onLedClicked(effect.clicked.index);
  }
}

// One tooltip for all keys, made when the mouse first comes to a key: most
// starts never need it.
void KeyboardPicture::showTooltips(bool shown) {
  if (!tooltip_ && shown) {
    tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
    if (!tooltip_) return;
    for (int k = 0; k < kKeyCount; ++k) {
      if (keyTexts_[k].empty() || layout_.keys[k].width() <= 0) continue;
      TOOLINFOA tool{};
      tool.cbSize = TTTOOLINFOA_V1_SIZE;
      tool.uFlags = TTF_SUBCLASS;
      tool.hwnd = hwnd_;
      tool.uId = UINT_PTR(k) + 1;
      tool.rect = toRect(layout_.keys[k]);
      tool.lpszText = const_cast<char*>(keyTexts_[k].c_str());
      SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    // It watches the mouse from now on; tell it where it is.
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(hwnd_, &at);
    MSG move{hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y), DWORD(GetMessageTime()), {}};
    SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  }
  if (!tooltip_) return;
  if (!shown) SendMessageA(tooltip_.get(), TTM_POP, 0, 0);
  SendMessageA(tooltip_.get(), TTM_ACTIVATE, shown, 0);
}

void KeyboardPicture::refresh(const ProfileRecord& profile, KeyboardPictureMode mode) {
  if (mode != mode_) {
    // Other items lie under the mouse now: no hover or press carries over.
    apply(input_.cancel());
    mode_ = mode;
    moveFocusTo(-1);
    InvalidateRect(hwnd_, nullptr, FALSE);
    showTooltips(mode == KeyboardPictureMode::Keys);
  }
  for (int k = 0; k < kKeyCount; ++k) {
    const KeyLook look = keyLookOf(profile.keys[k], k);
    if (look == looks_[k]) continue;
    looks_[k] = look;
    if (mode_ == KeyboardPictureMode::Keys) invalidate(PictureItem::Key(k));
  }
  const LedColors colours = LedColorsOf(profile);
  for (int i = 0; i < kLedCount; ++i)
    if (colours.own[i] != leds_.own[i] || (colours.ctrlClick != leds_.ctrlClick && input_.painting(i)))
      if (mode_ == KeyboardPictureMode::Leds) invalidate(PictureItem::Led(i));
  leds_ = colours;
}

LRESULT KeyboardPicture::describe(WPARAM kind, LPARAM index) const {
  const bool visible = IsWindowVisible(hwnd_) != FALSE;
  PictureItemReport report;
  if (kind == 0 && index >= 0 && index < kKeyCount) {
    const SkinRect& r = layout_.keys[index];
    report.shown = visible && mode_ == KeyboardPictureMode::Keys && r.width() > 0 && r.height() > 0;
    report.state = input_.look(PictureItem::Key(int(index)));
    report.look = looks_[index];
  } else if (kind == 1 && index >= 0 && index < kLedCount) {
    report.shown = visible && mode_ == KeyboardPictureMode::Leds && layout_.ledPlaced(int(index));
    report.state = input_.look(PictureItem::Led(int(index)));
    report.color = ShownLedColor(leds_, input_, int(index));
  } else {
    return 0;
  }
  return LRESULT(EncodePictureItem(report));
}

LRESULT KeyboardPicture::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      paint(dc, ps.rcPaint);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam), RECT{0, 0, size_.cx, size_.cy});
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_MOUSEMOVE:
      mouseMoved(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed(wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      released(wParam, lParam);
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      apply(input_.leave());
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_ && input_.pressed()) apply(input_.cancel());
      return 0;
    case WM_CANCELMODE:
      apply(input_.cancel());
      break;
    case WM_SHOWWINDOW:
      if (!wParam) apply(input_.cancel());
      break;
    case WM_KEYDOWN:
      if (keyPressed(wParam, lParam)) return 0;
      [[fallthrough]];
    case WM_KEYUP:
      if (wParam == VK_CONTROL) apply(input_.ctrl(message == WM_KEYDOWN));
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focusChanged(message == WM_SETFOCUS);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(hwnd_, &at);
        const PictureItem item = ItemAt(layout_, mode_, at.x, at.y);
        const bool hand = item.kind == PictureItem::Kind::Key && item.index != kEnterKeyIndex;
        SetCursor(LoadCursor(nullptr, hand ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    case UM_PICTURE_ITEM:
      return describe(wParam, lParam);
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}
