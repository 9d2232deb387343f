#include "ResetWarnDialog_win.h"

#include <string>

namespace {
std::string skinFile(int number) {
  if (number < 1 || number > 5) return "skin_reset_warn.ini";
  return "skin_profile" + std::to_string(number) + "_reset_warn.ini";
}
}  // namespace

ResetWarnDialog::ResetWarnDialog(int skinNumber) : WarningDialog(skinFile(skinNumber)) {}
