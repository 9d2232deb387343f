#include "ApplyButtonLook_win.h"

#include "Picture_win.h"
#include "SkinLoader_win.h"
#include "SkinPictures_win.h"
#include "SkinPosition.h"

namespace {
constexpr char kLooksIni[] = "skin_apply_pending.ini";

RECT rectOf(const std::string& ini, const char* key) {
  const SkinPosition p = ParseSkinPosition(ReadSkinString(ini, "BUTTONPOS", key));
  return {p.rect.left, p.rect.top, p.rect.right, p.rect.bottom};
}
}  // namespace

bool ApplyButtonLook::load() {
  if (tried_) return loaded_;
  tried_ = true;
  const std::string folder = SkinRoot();
  const std::string ini = folder + kLooksIni;
  SIZE size{};
  auto picture = [&](const char* state, UniqueBitmap& target) {
    const std::string name = ReadSkinString(ini, "SCREEN", state);
    return !name.empty() && LoadPictureFile(folder + name, target, size);
  };
  plain_ = rectOf(ini, "1");
  pending_ = rectOf(ini, "2");
  loaded_ = picture("Normal", normal_) && picture("Over", over_) && picture("Down", down_) &&
            picture("Disable", disabled_) && pending_.right > pending_.left;
  return loaded_;
}

void ApplyButtonLook::show(SkinButton& button, bool pending) {
  if (shown_ == pending) return;
  // The looks are cut from the 100 % pictures: at another scale the button
  // keeps the main window's look, and the title bar's mark says it.
  if (DpiScale(100) != 100) return;
  // Without the pictures the button keeps the main window's look.
  if (!load()) return;
  shown_ = pending;
  const RECT& r = pending ? pending_ : plain_;
  HDC dc = GetDC(button.hwnd());
  UniqueBitmap images[4];
  const HBITMAP pictures[4] = {normal_.get(), over_.get(), down_.get(), disabled_.get()};
  for (int i = 0; i < 4; ++i) CutStateImage(dc, images[i], pictures[i], r.left, r.top, r.right, r.bottom);
  ReleaseDC(button.hwnd(), dc);
  // Only the pictures change: the button keeps its styles.
  button.setImages(images[0].release(), images[1].release(), images[2].release(), images[3].release());
}
