#pragma once
// The monitor's application object: single instance, COM, the main window and
// its message loop.

#include <windows.h>

#include <memory>

#include "Handle_win.h"
#include "MonitorWnd_win.h"

class CMonitorApp {
 public:
  // Runs the program; returns its exit code.
  int run(HINSTANCE instance, const char* commandLine);

 private:
  bool initInstance(HINSTANCE instance, const char* commandLine);

  UniqueHandle instanceMutex_;
  std::unique_ptr<CMonitorWnd> mainWindow_;
};
