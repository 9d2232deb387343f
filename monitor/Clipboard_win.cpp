#include "Clipboard_win.h"

#include <cstring>

namespace {

constexpr DWORD kOpenRetryMs = 10;

HGLOBAL copyOfMemory(const void* bytes, size_t size) {
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!copy) return nullptr;
  if (void* target = GlobalLock(copy)) {
    if (size) std::memcpy(target, bytes, size);
    GlobalUnlock(copy);
    return copy;
  }
  GlobalFree(copy);
  return nullptr;
}

HGLOBAL copyOfGlobal(HANDLE data) {
  const SIZE_T size = GlobalSize(data);
  const void* source = GlobalLock(data);
  if (!source) return nullptr;
  HGLOBAL copy = copyOfMemory(source, size);
  GlobalUnlock(data);
  return copy;
}

// Formats whose data is a GDI object or a handle that only its owner knows.
bool isHandleFormat(UINT format) {
  return format == CF_METAFILEPICT || format == CF_PALETTE || format == CF_OWNERDISPLAY ||
         (format >= CF_DSPTEXT && format <= CF_DSPENHMETAFILE) ||
         (format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST);
}

// Readers that honour them keep the text out of clipboard history, out of
// the cloud clipboard and out of clipboard watchers.
void markPrivate() {
  static const UINT formats[] = {RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"),
                                 RegisterClipboardFormatA("CanIncludeInClipboardHistory"),
                                 RegisterClipboardFormatA("CanUploadToCloudClipboard")};
  const DWORD no = 0;
  for (UINT format : formats) {
    if (!format) continue;
    if (HGLOBAL data = copyOfMemory(&no, sizeof no))
      if (!SetClipboardData(format, data)) GlobalFree(data);
  }
}

}  // namespace

bool openClipboardFor(HWND owner, DWORD ms) {
  const ULONGLONG start = GetTickCount64();
  while (!OpenClipboard(owner)) {
    if (GetTickCount64() - start >= ms) return false;
    Sleep(kOpenRetryMs);
  }
  return true;
}

void SavedClipboard::take() {
  clear();
  bool dib = false;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (isHandleFormat(format)) continue;
    HANDLE data = GetClipboardData(format);
    if (!data) continue;
    HANDLE copy = nullptr;
    if (format == CF_ENHMETAFILE) {
      copy = CopyEnhMetaFileA(static_cast<HENHMETAFILE>(data), nullptr);
    } else if (format == CF_BITMAP) {
      copy = CopyImage(data, IMAGE_BITMAP, 0, 0, 0);
    } else {
      copy = copyOfGlobal(data);
      dib = dib || format == CF_DIB || format == CF_DIBV5;
    }
    if (copy) entries_.push_back({format, copy});
  }
  // The system makes the bitmap from the DIB again.
  if (dib)
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
      if (it->format == CF_BITMAP) {
        release(*it);
        entries_.erase(it);
        break;
      }
}

void SavedClipboard::put() {
  for (Entry& entry : entries_) {
    if (SetClipboardData(entry.format, entry.data)) entry.data = nullptr;  // the clipboard's now
  }
  clear();
}

void SavedClipboard::clear() {
  for (const Entry& entry : entries_) release(entry);
  entries_.clear();
}

void SavedClipboard::release(const Entry& entry) {
  if (!entry.data) return;
  if (entry.format == CF_ENHMETAFILE)
    DeleteEnhMetaFile(static_cast<HENHMETAFILE>(entry.data));
  else if (entry.format == CF_BITMAP)
    DeleteObject(entry.data);
  else
    GlobalFree(entry.data);
}

void PastedText::offer(const std::string& ansiText) {
  std::wstring wide;
  if (const int length = MultiByteToWideChar(CP_ACP, 0, ansiText.data(), int(ansiText.size()), nullptr, 0)) {
    wide.resize(size_t(length));
    MultiByteToWideChar(CP_ACP, 0, ansiText.data(), int(ansiText.size()), wide.data(), length);
  }
  {
    std::lock_guard lock(mutex_);
    ansi_ = ansiText;
    wide_ = std::move(wide);
    offered_ = true;
    taken_ = false;
  }
  // Rendered when read: see render().
  SetClipboardData(CF_UNICODETEXT, nullptr);
  SetClipboardData(CF_TEXT, nullptr);
  markPrivate();
}

void PastedText::withdraw() {
  std::lock_guard lock(mutex_);
  offered_ = false;
  // The text leaves this memory too: it may be a password.
  std::fill(ansi_.begin(), ansi_.end(), '\0');
  std::fill(wide_.begin(), wide_.end(), L'\0');
  ansi_.clear();
  wide_.clear();
}

void PastedText::render(UINT format) {
  if (format != CF_TEXT && format != CF_UNICODETEXT) return;
  // The reader: the window that opened the clipboard. A program other than
  // the one in front is a watcher, not the paste.
  if (HWND reader = GetOpenClipboardWindow()) {
    DWORD readerProcess = 0, frontProcess = 0;
    GetWindowThreadProcessId(reader, &readerProcess);
    if (HWND front = GetForegroundWindow()) GetWindowThreadProcessId(front, &frontProcess);
    if (readerProcess != frontProcess) return;
  }
  std::lock_guard lock(mutex_);
  if (!offered_) return;
  HGLOBAL data = format == CF_TEXT ? copyOfMemory(ansi_.c_str(), ansi_.size() + 1)
                                   : copyOfMemory(wide_.c_str(), (wide_.size() + 1) * sizeof(wchar_t));
  if (!data) return;
  if (!SetClipboardData(format, data)) {
    GlobalFree(data);
    return;
  }
  taken_ = true;
}
