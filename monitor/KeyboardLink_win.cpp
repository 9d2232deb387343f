#include "KeyboardLink_win.h"

#include "MonitorMessages.h"

namespace {

template <typename Fn>
void bindExport(HMODULE module, const char* name, Fn& target) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool KeyboardLink::bind(const std::string& folder) {
  module_.reset(LoadLibraryA((folder + kHidDriverLibrary).c_str()));
  if (!module_) return false;
  HMODULE m = module_.get();
  bindExport(m, "Set_VIDPID", setVidPid_);
  bindExport(m, "Open_DevMonitor", openDevMonitor_);
  bindExport(m, "Close_DevMonitor", closeDevMonitor_);
  bindExport(m, "Open_FeatureDevice", openFeatureDevice_);
  bindExport(m, "Close_FeatureDevice", closeFeatureDevice_);
  bindExport(m, "Open_ReportDevice", openReportDevice_);
  bindExport(m, "Close_ReportDevice", closeReportDevice_);
  bindExport(m, "SetFeature", setFeature_);
  bindExport(m, "GetFeature", getFeature_);
  bindExport(m, "WriteUSB", writeUsb_);
  bindExport(m, "ReadUSB", readUsb_);
  return true;
}

void KeyboardLink::unbind() {
  setVidPid_ = nullptr;
  openDevMonitor_ = nullptr;
  closeDevMonitor_ = nullptr;
  openFeatureDevice_ = nullptr;
  closeFeatureDevice_ = nullptr;
  openReportDevice_ = nullptr;
  closeReportDevice_ = nullptr;
  setFeature_ = nullptr;
  getFeature_ = nullptr;
  writeUsb_ = nullptr;
  readUsb_ = nullptr;
  module_.reset();
}

void KeyboardLink::setIdentity(int vendorId, int productId) {
  if (setVidPid_) setVidPid_(vendorId, productId);
}

bool KeyboardLink::open(HWND window, UINT keyEventMessage, UINT deviceChangeMessage) {
  if (!setVidPid_ || !openDevMonitor_ || !openFeatureDevice_ || !openReportDevice_) return false;
  openDevMonitor_(window, keyEventMessage, deviceChangeMessage);
  openFeatureDevice_();
  return openReportDevice_() != 0;
}

bool KeyboardLink::reopenDevices() {
  if (!openFeatureDevice_ || !openReportDevice_) return false;
  openFeatureDevice_();
  return openReportDevice_() != 0;
}

void KeyboardLink::closeDevices() {
  if (closeFeatureDevice_) closeFeatureDevice_();
  if (closeReportDevice_) closeReportDevice_();
}

void KeyboardLink::closeAll() {
  closeDevices();
  if (closeDevMonitor_) closeDevMonitor_();
}

bool KeyboardLink::setFeature(unsigned char* buffer, int length) {
  return setFeature_ && setFeature_(buffer, length) != 0;
}

bool KeyboardLink::getFeature(unsigned char* buffer, int length) {
  return getFeature_ && getFeature_(buffer, length) != 0;
}

void KeyboardLink::writeUsb(unsigned char* buffer, int length) {
  if (writeUsb_) writeUsb_(buffer, length);
}
