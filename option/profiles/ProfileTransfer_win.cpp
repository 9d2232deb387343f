#include "ProfileTransfer_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>

#include "Handle_win.h"
#include "OptionMessages.h"
#include "OptionRules.h"
#include "ProfileShareRules.h"
#include "TextCodec_win.h"

namespace {

std::string systemMessage(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text ? text : L"";
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
    message.pop_back();
  if (message.empty()) message = L"error " + std::to_wstring(code);
  return utf8FromWide(message);
}

std::string failed(const char* what, const std::wstring& path) {
  return std::string(what) + " " + utf8FromWide(path) + ": " + systemMessage(GetLastError()) + ".";
}

constexpr wchar_t kFilter[] = L"Varnel Quillon profile (*.vqprofile)\0*.vqprofile\0All files (*.*)\0*.*\0";

std::wstring documentsFolder() {
  wchar_t folder[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE);
  return folder;
}

}  // namespace

bool ReadProfileFileAt(const std::wstring& path, SharedProfile& shared, std::string& error) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = failed("Cannot open", path);
    return false;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    error = failed("Cannot read", path);
    return false;
  }
  // Refused before it is read: a profile is never this large.
  if (size.QuadPart > LONGLONG(kMaxProfileFileBytes)) {
    error = "The file is too large to be a profile (" + std::to_string(size.QuadPart >> 20) + " MB).";
    return false;
  }
  std::string bytes(size_t(size.QuadPart), '\0');
  DWORD done = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr) || done != bytes.size())) {
    error = failed("Cannot read", path);
    return false;
  }
  error = readProfileFile(bytes, shared, systemTextCodec());
  return error.empty();
}

bool WriteProfileFileAt(const std::wstring& path, const ProfileRecord& profile, const MacroLibrary& macros,
                        std::string& error) {
  const std::string text = writeProfileFile(profile, macros, kSoftwareVersionText, systemTextCodec());
  // Beside the target, then over it: a full disk never leaves half a file.
  const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  {
    UniqueFileHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      error = failed("Cannot write", path);
      return false;
    }
    DWORD done = 0;
    if (!WriteFile(file.get(), text.data(), DWORD(text.size()), &done, nullptr) || done != text.size() ||
        !FlushFileBuffers(file.get())) {
      error = failed("Cannot write", path);
      file.reset();
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = failed("Cannot write", path);
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

bool SendProfileToMonitor(SharedBlock& block, int profile, const ProfileRecord& imported) {
  if (!block.isOpen() && !block.open()) return false;
  HWND monitor = FindWindowA(nullptr, kMonitorWindowTitle);
  if (!monitor) return false;
  UniqueHandle mutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSettingsMutexName));
  if (!mutex) return false;
  // Read, change and write back under one hold of the mutex (the copies
  // take it again, which the owner may): whatever the monitor or another
  // apply wrote in between stays.
  const DWORD wait = WaitForSingleObject(mutex.get(), INFINITE);
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) return false;
  auto image = std::make_unique<SettingsImage>();
  bool sent = block.copyFromBlock(*image);
  if (sent) {
    replaceProfileInBlock(*image, profile, imported);
    sent = block.copyToBlock(*image);
  }
  ReleaseMutex(mutex.get());
  if (sent) PostMessageA(monitor, UM_APPLY, kApplyPreview, 0);
  return sent;
}

namespace {

// The system's file dialog for profile files, starting in the user's
// documents; empty when cancelled.
std::wstring chooseProfileFile(HWND owner, bool save, const std::string& suggestedName) {
  const std::wstring folder = documentsFolder();
  wchar_t file[MAX_PATH] = {};
  lstrcpynW(file, wideFromUtf8(suggestedName).c_str(), MAX_PATH);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrDefExt = L"vqprofile";
  dialog.lpstrTitle = save ? L"Export profile" : L"Import profile";
  dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  return chosen ? std::wstring(file) : std::wstring();
}

}  // namespace

std::wstring ChooseProfileFileToSave(HWND owner, const std::string& suggestedName) {
  return chooseProfileFile(owner, true, suggestedName);
}

std::wstring ChooseProfileFileToOpen(HWND owner) { return chooseProfileFile(owner, false, {}); }
