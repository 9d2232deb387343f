#pragma once
// The clipboard while a text macro pastes: the user's contents kept aside
// and given back, and the macro's text offered only to the paste.
//
//   macroThread                          window thread
//   open, saved.take(), empty,
//   pasted.offer(text), close
//   Control+V ..........................  WM_RENDERFORMAT: pasted.render()
//   wait for pasted.taken()
//   pasted.withdraw(), open, empty,
//   saved.put(), close

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// The formats of the clipboard that can be copied: every memory format
// (texts, pictures as DIB, file lists, registered formats), enhanced
// metafiles and plain bitmaps.
class SavedClipboard {
 public:
  SavedClipboard() = default;
  SavedClipboard(const SavedClipboard&) = delete;
  SavedClipboard& operator=(const SavedClipboard&) = delete;
  ~SavedClipboard() { clear(); }

  // Both with the clipboard open; put() after it was emptied.
  void take();
  void put();
  void clear();

 private:
  struct Entry {
    UINT format;
    HANDLE data;
  };
  static void release(const Entry& entry);
  std::vector<Entry> entries_;
};

// The macro's text, rendered by the monitor's window (the clipboard owner)
// when the paste reads it: only then does the player know that the text can
// leave the clipboard. Only the program in front, where the paste goes, gets
// it; a clipboard watcher of another program reads nothing.
class PastedText {
 public:
  // Macro thread, with the clipboard open and emptied: offers the text in
  // its two text formats, marked as kept out of clipboard history and cloud.
  void offer(const std::string& ansiText);
  void withdraw();
  bool taken() const { return taken_.load(); }
  // Window thread, WM_RENDERFORMAT.
  void render(UINT format);

 private:
  std::mutex mutex_;
  std::string ansi_;
  std::wstring wide_;
  bool offered_ = false;
  std::atomic<bool> taken_{false};
};

// Opens the clipboard for `owner`, trying again while another program holds
// it, for up to `ms`.
bool openClipboardFor(HWND owner, DWORD ms);
