#pragma once
// hiddriver.dll of the program folder, bound by name. A missing library or a
// missing export leaves the keyboard absent; nothing here throws or traces.

#include <windows.h>

#include <cstdint>
#include <string>

#include "Handle_win.h"

class KeyboardLink {
 public:
  using SetVidPidFn = void(__cdecl*)(int vendorId, int productId);
  using OpenDevMonitorFn = void(__cdecl*)(HWND window, UINT keyEventMessage, UINT deviceChangeMessage);
  using VoidFn = void(__cdecl*)();
  using OpenReportDeviceFn = int(__cdecl*)();
  using ReportFn = int(__cdecl*)(unsigned char* buffer, int length);
  using ReadUsbFn = int(__cdecl*)();

  bool bind(const std::string& folder);
  void unbind();
  bool bound() const { return bool(module_); }

  // Start-up open: identity is set separately, then monitor, feature, report.
  void setIdentity(int vendorId, int productId);
  bool open(HWND window, UINT keyEventMessage, UINT deviceChangeMessage);
  // Arrival: the device monitor stays open, only the two devices are reopened.
  bool reopenDevices();
  void closeDevices();
  // Shutdown: feature device, report device, device monitor.
  void closeAll();

  // Each is false when the driver did not take the report (no keyboard).
  bool setFeature(unsigned char* buffer, int length);
  bool getFeature(unsigned char* buffer, int length);
  void writeUsb(unsigned char* buffer, int length);

 private:
  UniqueModule module_;
  SetVidPidFn setVidPid_ = nullptr;
  OpenDevMonitorFn openDevMonitor_ = nullptr;
  VoidFn closeDevMonitor_ = nullptr;
  VoidFn openFeatureDevice_ = nullptr;
  VoidFn closeFeatureDevice_ = nullptr;
  OpenReportDeviceFn openReportDevice_ = nullptr;
  VoidFn closeReportDevice_ = nullptr;
  ReportFn setFeature_ = nullptr;
  ReportFn getFeature_ = nullptr;
  ReportFn writeUsb_ = nullptr;
  ReadUsbFn readUsb_ = nullptr;  // bound like the others, never called
};
