#pragma once
// Resource ids of Option.exe.
#define IDI_OPTION 128      // the program icon, big and small
#define IDB_ENTER_MASK 130  // outline of the Enter key of the keyboard picture, white outside
// Pictures in front of the macro manager's step lines (black is transparent).
#define IDB_STEP_DELAY 135
#define IDB_STEP_RELEASE 137
#define IDB_STEP_PRESS 138
#define IDB_STEP_MOUSE 146
