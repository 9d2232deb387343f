#pragma once
// Fixed names and numbers of the macro page and the two managers that their
// windows use: skins, control ids, menu commands and the title.

// Macro page, the macro category's sub-page of the key assignment page.
constexpr const char* kMacroPageSkin = "buttons\\skin_Macro_section.ini";
constexpr int kMacroPageListId = 8192;
constexpr int kCmdOpenMacroManager = 4001;
constexpr int kCmdOpenTextMacroManager = 4002;
constexpr int kTextOpenMacroManager = 1086;  // language library ids
constexpr int kTextOpenTextMacroManager = 1087;
constexpr int kManagerMenuMinWidth = 163;

// Macro manager.
constexpr const char* kMacroManagerSkin = "skin_macro_manager.ini";
constexpr const char* kMacroManagerTitle = "Varnel Quillon Macro Manager";
constexpr int kMacroNameListId = 4096;
constexpr int kStepListId = 4097;
constexpr int kRepeatEditId = 4010;

// Text macro manager.
constexpr const char* kTextMacroManagerSkin = "skin_text_macro_manager.ini";
constexpr int kTextMacroNameListId = 4096;
constexpr int kTextDelayEditId = 4010;
constexpr int kTextEditId = 5010;

// Warnings of both managers.
constexpr const char* kDeleteMacroWarningSkin = "skin_delete_macro_warn.ini";
constexpr const char* kNoMacroWarningSkin = "skin_macro_set_warn.ini";
