#include "MonitorApp_win.h"

#include <objbase.h>

#include "CommandLine_win.h"
#include "MonitorMessages.h"
#include "SystemLibraries_win.h"

bool CMonitorApp::initInstance(HINSTANCE instance, const char* commandLine) {
  bool openOptionAtStart = commandLine && commandLine[0] == '1';

  instanceMutex_.reset(CreateMutexA(nullptr, FALSE, kInstanceMutexName));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    instanceMutex_.reset();
    // The running monitor brings up Option on our behalf.
    if (openOptionAtStart) {
      if (HWND monitor = FindWindowA(nullptr, kMonitorWindowTitle)) {
        PostMessageA(monitor, WM_COMMAND, ID_TRAY_OPEN, 0);
      }
    }
    return false;
  }

  mainWindow_ = std::make_unique<CMonitorWnd>(openOptionAtStart);
  mainWindow_->bindKeyboard();
  // Balanced by the main window's shutdown, which ends COM for this thread.
  CoInitialize(nullptr);
  return mainWindow_->create(instance);
}

int CMonitorApp::run(HINSTANCE instance, const char* commandLine) {
  // --profile N and --help are answered without a monitor of our own.
  if (const std::optional<int> answered = RunMonitorCommandLine(commandLine)) return *answered;
  int exitCode = 0;
  if (initInstance(instance, commandLine)) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    exitCode = static_cast<int>(msg.wParam);
  }
  mainWindow_.reset();
  if (instanceMutex_) ReleaseMutex(instanceMutex_.get());
  instanceMutex_.reset();
  return exitCode;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  UseSystemLibraryFolders();
  CMonitorApp app;
  return app.run(instance, commandLine);
}
