// The real hiddriver.dll: the keyboard link over the Windows HID API.
//
// The keyboard shows up as one or more HID interfaces with our vendor and
// product id. The feature interface carries 9-byte feature reports (report id 0
// + the 8-byte command), the report interface 65-byte output reports (report
// id 0 + the 64-byte block). Input reports on the report interface become
// UM_KEYBOARD_EVENT posts: payload bytes 0..1 (low byte first) are the event
// code (wParam), bytes 2..3 (low byte first) the key data (lParam).

#include <windows.h>
// clang-format off
#include <setupapi.h>
#include <dbt.h>
extern "C" {  // the HID headers declare C functions without saying so
#include <hidsdi.h>
#include <hidpi.h>
}
// clang-format on

#include <atomic>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Handle_win.h"

namespace {

constexpr int kKeyboardVendorId = 0x04D9;
constexpr int kKeyboardProductId = 0x0A5C;
constexpr USHORT kFeatureReportBytes = 9;  // report id + 8-byte command
constexpr USHORT kOutputReportBytes = 65;  // report id + 64-byte block
constexpr UCHAR kReportId = 0;
constexpr DWORD kWriteTimeoutMs = 1000;
constexpr wchar_t kNotifyWindowClass[] = L"VarnelQuillonHidNotify";
constexpr WPARAM kArrived = 1;
constexpr WPARAM kRemoved = 0;

using FileHandle = UniqueResource<HANDLE, FileHandleTraits>;
using KernelHandle = UniqueResource<HANDLE, KernelHandleTraits>;

struct DeviceInfoListTraits {
  static HDEVINFO invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HDEVINFO h) { SetupDiDestroyDeviceInfoList(h); }
};
using DeviceInfoList = UniqueResource<HDEVINFO, DeviceInfoListTraits>;

struct Interfaces {
  std::wstring feature;
  std::wstring report;
  USHORT inputBytes = 0;
};

std::mutex lock;  // guards the handles and the ids
int vendorId = kKeyboardVendorId;
int productId = kKeyboardProductId;
HWND target = nullptr;
UINT keyboardEventMsg = 0;
UINT deviceChangeMsg = 0;
FileHandle featureDevice;
FileHandle reportDevice;
USHORT inputReportBytes = 0;
KernelHandle readerStop;
std::thread reader;
std::thread notifier;
std::atomic<HWND> notifyWindow{nullptr};

// Every HID interface of our keyboard, sorted into the two roles by its caps.
Interfaces findInterfaces() {
  Interfaces found;
  GUID hidGuid;
  HidD_GetHidGuid(&hidGuid);
  DeviceInfoList list(
      SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!list) return found;
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof data;
  for (DWORD i = 0; SetupDiEnumDeviceInterfaces(list.get(), nullptr, &hidGuid, i, &data); ++i) {
    std::vector<BYTE> buffer(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) + 256 * sizeof(wchar_t));
    DWORD required = 0;
    bool ok = false;
    for (int attempt = 0; attempt < 4 && !ok; ++attempt) {
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
      ok = SetupDiGetDeviceInterfaceDetailW(list.get(), &data, detail, static_cast<DWORD>(buffer.size()),
                                            &required, nullptr);
      if (!ok) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || required <= buffer.size()) break;
        buffer.resize(required);
      }
    }
    if (!ok) continue;
    const std::wstring path = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data())->DevicePath;
    // Access 0 opens even interfaces that the system holds exclusively.
    FileHandle probe(
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe) continue;
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!HidD_GetAttributes(probe.get(), &attributes) || attributes.VendorID != vendorId ||
        attributes.ProductID != productId)
      continue;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(probe.get(), &preparsed)) continue;
    HIDP_CAPS caps{};
    const bool capsOk = HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
    HidD_FreePreparsedData(preparsed);
    if (!capsOk) continue;
    if (found.feature.empty() && caps.FeatureReportByteLength == kFeatureReportBytes) found.feature = path;
    if (found.report.empty() && caps.OutputReportByteLength == kOutputReportBytes) {
      found.report = path;
      found.inputBytes = caps.InputReportByteLength;
    }
  }
  return found;
}

void post(UINT msg, WPARAM w, LPARAM l) {
  if (target && msg) PostMessageW(target, msg, w, l);
}

void readReports(HANDLE device, HANDLE stop, USHORT length) {
  KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done || length < 5) return;
  std::vector<BYTE> buffer(length);
  for (;;) {
    OVERLAPPED ov{};
    ov.hEvent = done.get();
    ResetEvent(done.get());
    DWORD n = 0;
    if (!ReadFile(device, buffer.data(), length, &n, &ov)) {
      if (GetLastError() != ERROR_IO_PENDING) return;
      const HANDLE waits[] = {done.get(), stop};
      if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(device);
        GetOverlappedResult(device, &ov, &n, TRUE);
        return;
      }
      if (!GetOverlappedResult(device, &ov, &n, FALSE)) return;
    }
    if (n < 5) continue;
    const BYTE* payload = buffer.data() + 1;  // after the report id
    post(keyboardEventMsg, payload[0] | payload[1] << 8, payload[2] | payload[3] << 8);
  }
}

void stopReader() {
  if (readerStop) SetEvent(readerStop.get());
  if (reader.joinable()) reader.join();
  readerStop.reset();
}

// A device path names our keyboard when it carries "VID_xxxx&PID_xxxx".
bool isOurDevice(const wchar_t* name) {
  wchar_t wanted[32];
  std::swprintf(wanted, 32, L"VID_%04X&PID_%04X", vendorId & 0xFFFF, productId & 0xFFFF);
  std::wstring upper(name);
  for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  return upper.find(wanted) != std::wstring::npos;
}

LRESULT CALLBACK notifyProc(HWND window, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_DEVICECHANGE && (w == DBT_DEVICEARRIVAL || w == DBT_DEVICEREMOVECOMPLETE) && l) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(l);
    if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
      const auto* dev = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(l);
      std::lock_guard<std::mutex> guard(lock);
      if (isOurDevice(dev->dbcc_name)) post(deviceChangeMsg, w == DBT_DEVICEARRIVAL ? kArrived : kRemoved, 0);
    }
    return TRUE;
  }
  if (msg == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, msg, w, l);
}

// The notification window's own thread: it lives from Open_DevMonitor to Close_DevMonitor.
void runNotifier(HANDLE ready) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = notifyProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kNotifyWindowClass;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, kNotifyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
  HDEVNOTIFY notification = nullptr;
  if (window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    notification = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  }
  notifyWindow = window;
  SetEvent(ready);
  if (!window) return;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  if (notification) UnregisterDeviceNotification(notification);
  notifyWindow = nullptr;
}

FileHandle openDevice(const std::wstring& path, DWORD flags) {
  if (path.empty()) return FileHandle();
  return FileHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr));
}

}  // namespace

extern "C" {

__declspec(dllexport) void __cdecl Set_VIDPID(int vid, int pid) {
  std::lock_guard<std::mutex> guard(lock);
  vendorId = vid;
  productId = pid;
}

__declspec(dllexport) void __cdecl Open_DevMonitor(HWND window, UINT keyboardEvent, UINT deviceChange) {
  {
    std::lock_guard<std::mutex> guard(lock);
    target = window;
    keyboardEventMsg = keyboardEvent;
    deviceChangeMsg = deviceChange;
  }
  if (notifier.joinable()) return;
  KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready) return;
  notifier = std::thread(runNotifier, ready.get());
  WaitForSingleObject(ready.get(), INFINITE);
}

__declspec(dllexport) void __cdecl Close_DevMonitor() {
  if (HWND window = notifyWindow.load()) PostMessageW(window, WM_CLOSE, 0, 0);
  if (notifier.joinable()) notifier.join();
  std::lock_guard<std::mutex> guard(lock);
  target = nullptr;
}

__declspec(dllexport) void __cdecl Open_FeatureDevice() {
  std::lock_guard<std::mutex> guard(lock);
  if (featureDevice) return;
  featureDevice = openDevice(findInterfaces().feature, 0);
}

__declspec(dllexport) void __cdecl Close_FeatureDevice() {
  std::lock_guard<std::mutex> guard(lock);
  featureDevice.reset();
}

__declspec(dllexport) int __cdecl Open_ReportDevice() {
  std::lock_guard<std::mutex> guard(lock);
  if (reportDevice) return 1;
  const Interfaces found = findInterfaces();
  reportDevice = openDevice(found.report, FILE_FLAG_OVERLAPPED);
  if (!reportDevice) return 0;
  inputReportBytes = found.inputBytes;
  readerStop.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (readerStop && inputReportBytes > 0)
    reader = std::thread(readReports, reportDevice.get(), readerStop.get(), inputReportBytes);
  return 1;
}

__declspec(dllexport) void __cdecl Close_ReportDevice() {
  // The reader posts without the lock, so it is stopped before the lock is taken.
  stopReader();
  std::lock_guard<std::mutex> guard(lock);
  reportDevice.reset();
}

__declspec(dllexport) int __cdecl SetFeature(unsigned char* data, int length) {
  if (!data || length <= 0 || length > kFeatureReportBytes - 1) return 0;
  std::lock_guard<std::mutex> guard(lock);
  if (!featureDevice) return 0;
  BYTE report[kFeatureReportBytes] = {kReportId};
  std::memcpy(report + 1, data, static_cast<size_t>(length));
  return HidD_SetFeature(featureDevice.get(), report, sizeof report) ? 1 : 0;
}

__declspec(dllexport) int __cdecl GetFeature(unsigned char* data, int length) {
  if (!data || length <= 0 || length > kFeatureReportBytes - 1) return 0;
  std::lock_guard<std::mutex> guard(lock);
  if (!featureDevice) return 0;
  BYTE report[kFeatureReportBytes] = {kReportId};
  std::memcpy(report + 1, data, static_cast<size_t>(length));
  if (!HidD_GetFeature(featureDevice.get(), report, sizeof report)) return 0;
  std::memcpy(data, report + 1, static_cast<size_t>(length));
  return 1;
}

__declspec(dllexport) int __cdecl WriteUSB(unsigned char* data, int length) {
  if (!data || length <= 0 || length > kOutputReportBytes - 1) return 0;
  std::lock_guard<std::mutex> guard(lock);
  if (!reportDevice) return 0;
  BYTE report[kOutputReportBytes] = {kReportId};
  std::memcpy(report + 1, data, static_cast<size_t>(length));
  KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return 0;
  OVERLAPPED ov{};
  ov.hEvent = done.get();
  DWORD n = 0;
  if (!WriteFile(reportDevice.get(), report, sizeof report, &n, &ov)) {
    if (GetLastError() != ERROR_IO_PENDING) return 0;
    if (WaitForSingleObject(done.get(), kWriteTimeoutMs) != WAIT_OBJECT_0) {
      CancelIo(reportDevice.get());
      GetOverlappedResult(reportDevice.get(), &ov, &n, TRUE);
      return 0;
    }
    if (!GetOverlappedResult(reportDevice.get(), &ov, &n, FALSE)) return 0;
  }
  return n == sizeof report ? 1 : 0;
}

// Input reports arrive as UM_KEYBOARD_EVENT posts from the reader thread.
__declspec(dllexport) int __cdecl ReadUSB(unsigned char*, int) { return 0; }

}  // extern "C"
