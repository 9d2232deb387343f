#include "NumberSpinField_win.h"

#include <windowsx.h>

#include <algorithm>

#include "LightingMessages.h"
#include "SkinFocus_win.h"
#include "SkinHelp_win.h"
#include "SkinMessages.h"
#include "SkinPictures_win.h"

namespace {
constexpr int kArrowWidth = 14;
constexpr COLORREF kArrowBackground = RGB(0x4D, 0x4D, 0x4D);
constexpr COLORREF kArrowColour = RGB(0xFF, 0xFF, 0xFF);
constexpr int kArrowHalfWidth = 3;
}  // namespace

NumberSpinField* NumberSpinField::Create(HWND parent, int id, const SkinPosition& position) {
  const SkinRect& r = position.rect;
  HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, r.left, r.top, r.width(),
                                r.height(), parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                GetModuleHandleA(nullptr), nullptr);
  auto* field = new NumberSpinField;
  if (!field->attach(window)) {
    delete field;
    if (window) DestroyWindow(window);
    return nullptr;
  }
  SkinPosition editPosition = position;
  editPosition.rect = {0, 0, std::max(r.width() - DpiScale(kArrowWidth), 0), r.height()};
  field->edit_ = BitmapEdit::Create(window, id, editPosition);
  field->help_ = position.text;
  NameControl(window, position.text);
  if (field->edit_) field->edit_->setDecimalFilter(true);
  field->setRange(kColorByteRange);
  field->setValue(0);
  return field;
}

void NumberSpinField::setRange(const SpinRange& range) {
  range_ = range;
  if (edit_) SendMessageA(edit_->hwnd(), EM_LIMITTEXT, WPARAM(SpinTextLimit(range_)), 0);
}

std::string NumberSpinField::text() const {
  if (!edit_) return {};
  char buffer[32] = {};
  GetWindowTextA(edit_->hwnd(), buffer, sizeof buffer);
  return buffer;
}

void NumberSpinField::setTextQuietly(int value) {
  value_ = value;
  if (!edit_) return;
  settingQuietly_ = true;
  SetWindowTextA(edit_->hwnd(), SpinText(value).c_str());
  settingQuietly_ = false;
}

void NumberSpinField::setValue(int value) { setTextQuietly(SettleSpinValue(range_, value).value); }

// As if typed: the edit reports the change and the value is settled from the text.
void NumberSpinField::replaceText(int value) {
  if (!edit_) return;
  SendMessageA(edit_->hwnd(), EM_SETSEL, 0, -1);
  SendMessageA(edit_->hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(SpinText(value).c_str()));
}

void NumberSpinField::stepUp() {
  if (auto next = SpinUp(range_, ParseSpinText(text()))) replaceText(*next);
}

void NumberSpinField::stepDown() {
  if (auto next = SpinDown(range_, ParseSpinText(text()))) replaceText(*next);
}

void NumberSpinField::settle() {
  int typed = ParseSpinText(text());
  SpinSettled settled = SettleSpinValue(range_, typed);
  if (settled.rewrite) setTextQuietly(settled.value);  // the value is reported just below, once
  value_ = settled.value;
  if (HWND parent = GetParent(hwnd()))
    PostMessageA(parent, MSG_NUMBER_CHANGED, WPARAM(value_), GetDlgCtrlID(hwnd()));
}

RECT NumberSpinField::arrowRect(bool up) const {
  RECT r;
  GetClientRect(hwnd(), &r);
  int middle = r.bottom / 2;
  return up ? RECT{r.right - DpiScale(kArrowWidth), 0, r.right, middle}
            : RECT{r.right - DpiScale(kArrowWidth), middle, r.right, r.bottom};
}

void NumberSpinField::paintArrows() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  UniqueBrush background(CreateSolidBrush(kArrowBackground));
  UniqueBrush arrow(CreateSolidBrush(kArrowColour));
  for (bool up : {true, false}) {
    RECT r = arrowRect(up);
    FillRect(dc, &r, background.get());
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int tipY = up ? cy - 2 : cy + 2, baseY = up ? cy + 1 : cy - 1;
    POINT tip[3] = {
        {cx, tipY}, {cx - DpiScale(kArrowHalfWidth), baseY}, {cx + DpiScale(kArrowHalfWidth), baseY}};
    HGDIOBJ oldBrush = SelectObject(dc, arrow.get());
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    Polygon(dc, tip, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
  }
  EndPaint(hwnd(), &ps);
}

LRESULT NumberSpinField::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT reflected = 0;
  if (ReflectToControl(hwnd(), message, wParam, lParam, reflected)) return reflected;
  if (message == BitmapEdit::KillFocusMessage()) {
    if (quietChanges_ > 0)
      --quietChanges_;
    else if (lParam == 0)
      settle();
    return 0;
  }
  switch (message) {
    case MSG_EDIT_ARROW:
      if (wParam == VK_UP) stepUp();
      if (wParam == VK_DOWN) stepDown();
      return 1;
    case WM_COMMAND:
      // The edit has just posted its change notice; remember the ones we caused.
      if (HIWORD(wParam) == EN_CHANGE && settingQuietly_) ++quietChanges_;
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {  // a quick second click is one more step
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT up = arrowRect(true), down = arrowRect(false);
      if (PtInRect(&up, p)) stepUp();
      if (PtInRect(&down, p)) stepDown();
      return 0;
    }
    case WM_MOUSEMOVE:
      if (help_ != QuickHelpText()) {
        SetQuickHelpText(help_);
        PostShowHelp(hwnd(), 1);
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paintArrows();
      return 0;
  }
  return defaultProc(message, wParam, lParam);
}
