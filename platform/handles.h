// RAII owners for kernel, GDI and COM handles: every handle is released in the scope that took it.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <utility>

#include "base/owned.h"
#include "platform/late_bind.h"

namespace tb {

struct KernelTraits {  // CreateFile style: INVALID_HANDLE_VALUE means none
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct NullKernelTraits {  // OpenProcess style: NULL means none
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
template <class G>
struct GdiTraits {
  static G invalid() { return nullptr; }
  static void close(G h) { DeleteObject(h); }
};
struct IconTraits {
  static HICON invalid() { return nullptr; }
  static void close(HICON h) { DestroyIcon(h); }
};
struct CursorTraits {  // CreateCursor/CreateIconIndirect cursors, not shared LoadCursor ones
  static HCURSOR invalid() { return nullptr; }
  static void close(HCURSOR h) { DestroyCursor(h); }
};
struct MemDcTraits {
  static HDC invalid() { return nullptr; }
  static void close(HDC h) { DeleteDC(h); }
};
struct GlobalTraits {  // GlobalAlloc memory until whoever takes it (the clipboard) is given it
  static HGLOBAL invalid() { return nullptr; }
  static void close(HGLOBAL h) { GlobalFree(h); }
};
struct ActCtxTraits {  // CreateActCtx: INVALID_HANDLE_VALUE means none
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { ReleaseActCtx(h); }
};

using UniqueHandle = Owned<HANDLE, KernelTraits>;
using ProcessHandle = Owned<HANDLE, NullKernelTraits>;
using GdiPen = Owned<HPEN, GdiTraits<HPEN>>;
using GdiBrush = Owned<HBRUSH, GdiTraits<HBRUSH>>;
using GdiBitmap = Owned<HBITMAP, GdiTraits<HBITMAP>>;
using GdiFont = Owned<HFONT, GdiTraits<HFONT>>;
using GdiRegion = Owned<HRGN, GdiTraits<HRGN>>;
using IconHandle = Owned<HICON, IconTraits>;
using CursorHandle = Owned<HCURSOR, CursorTraits>;
using MemDc = Owned<HDC, MemDcTraits>;
using GlobalMemory = Owned<HGLOBAL, GlobalTraits>;
using ActCtxHandle = Owned<HANDLE, ActCtxTraits>;

// A DC from GetDC/GetWindowDC, released to its window.
class WindowDc {
 public:
  WindowDc(HWND w, bool whole_window = false) : w_(w), dc_(whole_window ? GetWindowDC(w) : GetDC(w)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND w_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back at scope end.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// One reference to a COM object, released at scope end.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }
  // For out-parameters: whatever was held is released first, so nothing leaks on reuse.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

// COM for the current thread, undone only if this call did it (S_OK or S_FALSE); a thread
// already in another apartment keeps it.
class ComScope {
 public:
  ComScope() {
    TB_LATE(L"ole32.dll", CoInitializeEx);
    hr_ = CoInitializeEx ? CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
  }
  ~ComScope() {
    TB_LATE(L"ole32.dll", CoUninitialize);
    if (SUCCEEDED(hr_) && CoUninitialize) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // False only when COM cannot be used on this thread at all.
  bool ok() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

}  // namespace tb
