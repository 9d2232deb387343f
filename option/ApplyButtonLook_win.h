#pragma once
// The Apply button's two looks from "skin_apply_pending.ini": entry 1 as the
// main window draws it, entry 2 with a lit mark while changes are not
// applied. The pictures are read the first time the look changes.

#include <optional>

#include "Handle_win.h"
#include "SkinButton_win.h"

class ApplyButtonLook {
 public:
  void show(SkinButton& button, bool pending);

 private:
  bool load();

  bool tried_ = false, loaded_ = false;
  std::optional<bool> shown_;
  UniqueBitmap normal_, over_, down_, disabled_;
  RECT plain_{}, pending_{};
};
