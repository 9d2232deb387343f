#pragma once
// Ids of the language library's texts, and the built-in English of each.

enum LanguageTextId : int {
  IDS_TRAY_OPEN = 1002,
  IDS_TRAY_EXIT = 1003,
  IDS_TRAY_TIP = 1004,
  IDS_EFFECT_FIRST = 1042,     // six effect names
  IDS_STEP_MENU_FIRST = 1053,  // fourteen step menu entries
  IDS_CATEGORY_FIRST = 1076,   // category 1 + (id - 1076)
  IDS_MACRO_MANAGER = 1086,
  IDS_TEXT_MACRO_MANAGER = 1087,
  IDS_PROFILE_FIRST = 1088,  // five profile names
};

// The built-in English text of an id; empty for an id the system never reads.
const char* builtinText(int id);
