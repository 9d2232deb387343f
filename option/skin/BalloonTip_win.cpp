#include "BalloonTip_win.h"

#include <algorithm>
#include <vector>

#include "SkinControl_win.h"
#include "SkinPictures_win.h"

namespace {
constexpr char kClassName[] = "QuillonBalloonTip";
constexpr char kFace[] = "Akzidenz Grotesk BE";
constexpr char kFallbackFace[] = "Play";  // the skin's own face, shipped beside the program
constexpr int kFontHeight = 14;
constexpr int kPadX = 8, kPadY = 6;  // text inset, and the outline's corner ellipse
constexpr int kTailHeight = 10, kTailWidth = 12;
constexpr int kTailInset = 8;  // from the body's right edge to the tail's tip

enum : UINT_PTR { kTimerShow = 1, kTimerWatch = 2, kTimerHide = 3 };

std::vector<BalloonTip*>& liveBalloons() {
  static std::vector<BalloonTip*> balloons;  // the UI thread's only
  return balloons;
}

HRGN outline(SIZE body) {
  HRGN region = CreateRoundRectRgn(0, 0, body.cx + 1, body.cy + 1, DpiScale(kPadX), DpiScale(kPadY));
  const int inset = DpiScale(kTailInset);
  const POINT tail[] = {{body.cx - inset - DpiScale(kTailWidth), body.cy - 1},
                        {body.cx - inset, body.cy - 1},
                        {body.cx - inset + DpiScale(4), body.cy + DpiScale(kTailHeight)}};
  HRGN triangle = CreatePolygonRgn(tail, 3, WINDING);
  CombineRgn(region, region, triangle, RGN_OR);
  DeleteObject(triangle);
  return region;
}
}  // namespace

BalloonTip::~BalloonTip() {
  auto& live = liveBalloons();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void BalloonTip::RelayAll(const MSG& msg) {
  for (BalloonTip* tip : std::vector<BalloonTip*>(liveBalloons())) tip->relay(msg);
}

bool BalloonTip::create(HWND owner) {
  if (!RegisterProgramClass(kClassName, proc, CS_SAVEBITS)) return false;
  window_.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "", WS_POPUP,
                                0, 0, 0, 0, owner, nullptr, GetModuleHandleA(nullptr), this));
  if (window_ && std::find(liveBalloons().begin(), liveBalloons().end(), this) == liveBalloons().end())
    liveBalloons().push_back(this);
  return bool(window_);
}

bool BalloonTip::visible() const { return window_ && IsWindowVisible(window_.get()); }

void BalloonTip::show(const std::string& text, int offsetX, int offsetY, const POINT* at) {
  if (!window_) return;
  if (at)
    at_ = *at;
  else
    GetCursorPos(&at_);
  text_ = text;
  offsetX_ = offsetX;
  offsetY_ = offsetY;
  // The control it explains stays in sight: the balloon goes beside it.
  avoid_ = RECT{};
  if (HWND under = WindowFromPoint(at_); under && (GetWindowLongPtrA(under, GWL_STYLE) & WS_CHILD))
    GetWindowRect(under, &avoid_);
  KillTimer(window_.get(), kTimerWatch);
  KillTimer(window_.get(), kTimerHide);
  SetTimer(window_.get(), kTimerShow, kShowDelayMs, nullptr);
}

void BalloonTip::hide() {
  if (!window_) return;
  for (UINT_PTR id : {kTimerShow, kTimerWatch, kTimerHide}) KillTimer(window_.get(), id);
  ShowWindow(window_.get(), SW_HIDE);
}

void BalloonTip::setTipText(HWND window, const std::string& text) { tips_[window] = text; }

void BalloonTip::relay(const MSG& msg) {
  switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      hide();
      break;
    case WM_MOUSEMOVE: {
      auto found = tips_.find(msg.hwnd);
      if (found != tips_.end() && !(visible() && found->second == text_)) show(found->second, -15, 15);
      break;
    }
  }
}

HFONT BalloonTip::font() {
  if (font_ && fontScale_ == CurrentSkinScale()) return font_.get();
  fontScale_ = CurrentSkinScale();
  // The balloon's own face is seldom installed; the skin's face stands in.
  for (const char* face : {kFace, kFallbackFace}) {
    font_.reset(
        CreateFontA(DpiScale(kFontHeight), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_.get());
    char chosen[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof chosen, chosen);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (lstrcmpiA(chosen, face) == 0) break;
  }
  return font_.get();
}

void BalloonTip::place() {
  HWND w = window_.get();
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, font());
  RECT text{0, 0, 0, 0};
  DrawTextA(dc, text_.c_str(), int(text_.size()), &text, DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  const int padX = DpiScale(kPadX), padY = DpiScale(kPadY);
  InflateRect(&text, padX, padY);
  body_ = {text.right - text.left, text.bottom - text.top};
  const int width = body_.cx + DpiScale(4), height = body_.cy + DpiScale(kTailHeight);
  SetWindowRgn(w, outline(body_), FALSE);  // the system owns the region from here
  POINT origin{at_.x + DpiScale(offsetX_) - width + padX, at_.y + DpiScale(offsetY_) - height + padY};
  const RECT placed{origin.x, origin.y, origin.x + width, origin.y + height};
  RECT overlap;
  if (IntersectRect(&overlap, &placed, &avoid_)) {
    // Above the control, the tail's tip at its middle; left of it where the
    // screen has no room above.
    const int tipX = body_.cx - DpiScale(kTailInset) + DpiScale(4);
    origin = {(avoid_.left + avoid_.right) / 2 - tipX, avoid_.top - height};
    MONITORINFO screen{sizeof screen, {}, {}, 0};
    if (GetMonitorInfoA(MonitorFromRect(&avoid_, MONITOR_DEFAULTTONEAREST), &screen) &&
        origin.y < screen.rcWork.top)
      origin = {avoid_.left - width, std::max(LONG(screen.rcWork.top), avoid_.top)};
  }
  SetWindowTextA(w, text_.c_str());  // what it says, for tests and screen readers
  const RECT kept = KeepOnWorkArea({origin.x, origin.y, origin.x + width, origin.y + height});
  SetWindowPos(w, HWND_TOPMOST, kept.left, kept.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(w, nullptr, TRUE);
}

void BalloonTip::onTimer(UINT_PTR id) {
  HWND w = window_.get();
  switch (id) {
    case kTimerShow:
      KillTimer(w, kTimerShow);
      place();
      SetTimer(w, kTimerWatch, kWatchPeriodMs, nullptr);
      break;
    case kTimerWatch: {
      POINT now;
      GetCursorPos(&now);
      if (now.x != at_.x || now.y != at_.y) {
        KillTimer(w, kTimerWatch);
        SetTimer(w, kTimerHide, kHidePauseMs, nullptr);
      }
      break;
    }
    case kTimerHide:
      hide();
      break;
  }
}

void BalloonTip::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_.get(), &ps);
  HRGN shape = outline(body_);
  FillRgn(dc, shape, GetSysColorBrush(COLOR_WINDOW));
  FrameRgn(dc, shape, GetSysColorBrush(COLOR_WINDOWTEXT), 1, 1);
  DeleteObject(shape);
  HGDIOBJ old = SelectObject(dc, font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT text{DpiScale(kPadX), DpiScale(kPadY), body_.cx, body_.cy};
  DrawTextA(dc, text_.c_str(), int(text_.size()), &text, DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(window_.get(), &ps);
}

LRESULT CALLBACK BalloonTip::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<BalloonTip*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_TIMER:
      if (self) self->onTimer(wParam);
      return 0;
    case WM_PAINT:
      if (self) {
        self->paint();
        return 0;
      }
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      // A click on the balloon goes to what lies under it, which acts; the
      // press closes the balloon on its way (relay()).
      return HTTRANSPARENT;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
