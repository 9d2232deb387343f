#pragma once
// Resource ids of Option.exe.
#define IDI_OPTION 128      // the program icon, big and small
#define IDB_ENTER_MASK 130  // outline of the Enter key of the keyboard picture, white outside
