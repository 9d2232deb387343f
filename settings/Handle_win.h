#pragma once
// Small owners for Win32 handles: non-copyable, movable, with get/release/reset.

#include <windows.h>

#include <utility>

template <typename T, typename Traits>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::invalid(); }
  T release() { return std::exchange(value_, Traits::invalid()); }
  void reset(T value = Traits::invalid()) {
    if (value_ != Traits::invalid()) Traits::close(value_);
    value_ = value;
  }

 private:
  T value_ = Traits::invalid();
};

struct KernelHandleTraits {
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
// For the few calls (CreateFile, toolhelp) that fail with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct ModuleTraits {
  static HMODULE invalid() { return nullptr; }
  static void close(HMODULE h) { FreeLibrary(h); }
};
struct GdiObjectTraits {
  static HGDIOBJ invalid() { return nullptr; }
  static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcTraits {
  static HDC invalid() { return nullptr; }
  static void close(HDC h) { DeleteDC(h); }
};
struct MappedViewTraits {
  static void* invalid() { return nullptr; }
  static void close(void* p) { UnmapViewOfFile(p); }
};
struct HookTraits {
  static HHOOK invalid() { return nullptr; }
  static void close(HHOOK h) { UnhookWindowsHookEx(h); }
};
struct WinEventHookTraits {
  static HWINEVENTHOOK invalid() { return nullptr; }
  static void close(HWINEVENTHOOK h) { UnhookWinEvent(h); }
};
struct WindowTraits {
  static HWND invalid() { return nullptr; }
  static void close(HWND h) { DestroyWindow(h); }
};

using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
using UniqueFileHandle = UniqueResource<HANDLE, FileHandleTraits>;
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectTraits>;
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;
using UniqueMappedView = UniqueResource<void*, MappedViewTraits>;
using UniqueHook = UniqueResource<HHOOK, HookTraits>;
using UniqueWindow = UniqueResource<HWND, WindowTraits>;
using UniqueWinEventHook = UniqueResource<HWINEVENTHOOK, WinEventHookTraits>;

// GDI objects of a known type, for when the type matters to the caller.
template <typename T>
struct TypedGdiTraits {
  static T invalid() { return nullptr; }
  static void close(T h) { DeleteObject(h); }
};
using UniqueBitmap = UniqueResource<HBITMAP, TypedGdiTraits<HBITMAP>>;
using UniqueRegion = UniqueResource<HRGN, TypedGdiTraits<HRGN>>;
using UniqueFont = UniqueResource<HFONT, TypedGdiTraits<HFONT>>;
using UniqueBrush = UniqueResource<HBRUSH, TypedGdiTraits<HBRUSH>>;
