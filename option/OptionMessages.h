#pragma once
// Every window message, command range and name of the configuration program.
// What it exchanges with the monitor (UM_APPLY, UM_PROFILE_SWITCHED,
// UM_APPLY_DONE, UM_KEYBOARD_LINK, the two window titles) is the monitor's,
// included here; the skinned controls' own messages are in
// option/skin/SkinMessages.h.

#include <cstdint>

#include "MonitorMessages.h"

// Window messages received by the main window.
enum MainWindowMessage : unsigned {
  // From the key assignment page: its entry is ready. wParam 0, lParam 0.
  UM_KEY_ASSIGNED = 1130,
  // UM_RELOAD_SETTINGS (1254) comes from the monitor: see MonitorMessages.h.
  // So does UM_KEYBOARD_LINK (1261): the keyboard went (wParam 0) or came
  // (1); the window stays with its edits, says so and re-reads FWVersion.
  // Take the active profile, its Fn state and its pulsation from the shared
  // block. wParam 0, lParam 0.
  UM_TAKE_PROFILE = 1257,
};

// To the keyboard picture (window class kKeyboardPictureClass), from tests and
// tools that look for its keys: what it shows of one item. wParam: 0 a key,
// 1 an LED; lParam: its index. Answer: EncodePictureItem (KeyboardPictureRules.h),
// 0 for an index out of range.
constexpr unsigned UM_PICTURE_ITEM = 1150;
constexpr const char* kKeyboardPictureClass = "QuillonKeyboardPicture";

// The apply kinds, UM_APPLY's wParam.
enum ApplyKind : unsigned {
  kApplyButton = 0,   // Apply: change flags computed, busy until UM_APPLY_DONE
  kApplyReset = 1,    // after a reset: the flags were set by the reset
  kApplyPreview = 2,  // preview: at once, no busy state
};

// WM_COPYDATA to the main window from a second Option.exe run with
// --import-profile N FILE: dwData kImportProfileDataId, lpData a
// ProfileImportRequest followed by `pathLength` UTF-16 units of the file's
// full path (no terminator). The window imports the file into profile N and
// hands that profile alone to the monitor. Answers kImportDone, or 0 when the
// file was refused or the request is malformed; kImportRefusedUnapplied when
// profile N or the macro libraries hold changes not applied (the import
// would replace or write them), kImportRefusedDialogOpen while a dialog of
// the window (a manager, a key page, ...) is open.
constexpr uintptr_t kImportProfileDataId = 0x56514950;  // "VQIP"
struct ProfileImportRequest {
  uint32_t profile;  // 0..4
  uint32_t pathLength;
};
constexpr uint32_t kMaxImportPathLength = 32767;
constexpr intptr_t kImportDone = 1;
constexpr intptr_t kImportRefusedUnapplied = 2;
constexpr intptr_t kImportRefusedDialogOpen = 3;

// Pop-up menu commands.
enum MainMenuCommand : unsigned {
  ID_MACRO_MANAGER = 4001,
  ID_TEXT_MACRO_MANAGER = 4002,
};

constexpr const char* kOptionInstanceMutexName = "Varnel_Quillon_configure";
constexpr int kOptionIconId = 128;
constexpr const char* kNoBlockMessage = "Could not map view of file.";
