// Painting off screen: one scope for every painter (the framework, the grouped list, the
// capture library). Header-only, so the capture DLL, which links no framework, uses it too.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/handles.h"

namespace tb {

// Draws into a memory bitmap the size of `area` and copies it to `target` in one step when
// the scope ends: nothing half-drawn reaches the screen. Drawing uses the target's own
// coordinates. With `pixels`, the bitmap is a top-down 32-bit DIB section whose pixels
// (0x00RRGGBB, `area`'s width a line) can be worked on directly; call GdiFlush() first.
// When no memory can be had, dc() is the target itself and drawing goes straight there.
class DoubleBuffer {
 public:
  DoubleBuffer(HDC target, const RECT& area, bool pixels = false) : target_(target), area_(area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    mem_.reset(CreateCompatibleDC(target));
    if (!mem_) return;
    if (pixels) {
      BITMAPINFO bi{};
      bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      void* bits = nullptr;
      bitmap_.reset(CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
      pixels_ = static_cast<std::uint32_t*>(bits);
    } else {
      bitmap_.reset(CreateCompatibleBitmap(target, w, h));
    }
    if (!bitmap_) {
      mem_.reset();
      return;
    }
    old_ = SelectObject(mem_.get(), bitmap_.get());
    SetViewportOrgEx(mem_.get(), -area.left, -area.top, nullptr);
  }
  ~DoubleBuffer() {
    if (!mem_) return;
    SetViewportOrgEx(mem_.get(), 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, mem_.get(), 0, 0,
           SRCCOPY);
    SelectObject(mem_.get(), old_);
  }
  DoubleBuffer(const DoubleBuffer&) = delete;
  DoubleBuffer& operator=(const DoubleBuffer&) = delete;

  HDC dc() const { return mem_ ? mem_.get() : target_; }
  // The DIB's pixels when asked for and made; nullptr otherwise (drawing then goes direct).
  std::uint32_t* pixels() const { return mem_ ? pixels_ : nullptr; }
  int width() const { return area_.right - area_.left; }
  int height() const { return area_.bottom - area_.top; }

 private:
  HDC target_;
  RECT area_;
  MemDc mem_;
  GdiBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
};

}  // namespace tb
