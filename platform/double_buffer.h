// Painting off screen: one scope for every painter (the framework, the grouped list, the
// capture library). Header-only, so the capture DLL, which links no framework, uses it too.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/handles.h"

namespace tb {

// The memory side of a DoubleBuffer kept from one paint to the next, for a painter that paints
// often at one size (a list's rows): made on first use and made again only when the width
// changes or a taller area comes. With `pixels` it is a DIB section, as DoubleBuffer makes.
class BackBuffer {
 public:
  explicit BackBuffer(bool pixels = false) : with_pixels_(pixels) {}
  ~BackBuffer() { release(); }
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // Ready for a w x h area drawn for `target`; false when no memory could be had.
  bool fit(HDC target, int w, int h) {
    if (w <= 0 || h <= 0) return false;
    if (mem_ && w == w_ && h <= h_) return true;
    release();
    mem_.reset(CreateCompatibleDC(target));
    if (!mem_) return false;
    if (with_pixels_) {
      BITMAPINFO bi{};
      bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      void* bits = nullptr;
      bitmap_.reset(CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
      pixels_ = static_cast<std::uint32_t*>(bits);
    } else {
      bitmap_.reset(CreateCompatibleBitmap(target, w, h));
    }
    if (!bitmap_) {
      release();
      return false;
    }
    old_ = SelectObject(mem_.get(), bitmap_.get());
    w_ = w, h_ = h;
    return true;
  }
  HDC dc() const { return mem_.get(); }
  // Lines of the surface's width, top down; nullptr unless made with pixels.
  std::uint32_t* pixels() const { return mem_ ? pixels_ : nullptr; }

 private:
  void release() {
    if (mem_ && old_) SelectObject(mem_.get(), old_);  // the bitmap is deleted unselected
    old_ = nullptr;
    bitmap_.reset();
    mem_.reset();
    pixels_ = nullptr;
    w_ = h_ = 0;
  }
  bool with_pixels_;
  MemDc mem_;
  GdiBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  int w_ = 0, h_ = 0;
};

// Draws into a memory bitmap the size of `area` and copies it to `target` in one step when
// the scope ends: nothing half-drawn reaches the screen. Drawing uses the target's own
// coordinates. With `pixels`, the bitmap is a top-down 32-bit DIB section whose pixels
// (0x00RRGGBB, `area`'s width a line) can be worked on directly; call GdiFlush() first.
// When no memory can be had, dc() is the target itself and drawing goes straight there.
class DoubleBuffer {
 public:
  DoubleBuffer(HDC target, const RECT& area, bool pixels = false) : target_(target), area_(area), own_(pixels) {
    use(own_);
  }
  // Draws on `kept` instead of a bitmap of its own; pixels() are there when `kept` has them.
  DoubleBuffer(HDC target, const RECT& area, BackBuffer& kept) : target_(target), area_(area) { use(kept); }
  ~DoubleBuffer() {
    if (!buffer_) return;
    SetViewportOrgEx(buffer_->dc(), 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, width(), height(), buffer_->dc(), 0, 0, SRCCOPY);
  }
  DoubleBuffer(const DoubleBuffer&) = delete;
  DoubleBuffer& operator=(const DoubleBuffer&) = delete;

  HDC dc() const { return buffer_ ? buffer_->dc() : target_; }
  // The DIB's pixels when asked for and made; nullptr otherwise (drawing then goes direct).
  std::uint32_t* pixels() const { return buffer_ ? buffer_->pixels() : nullptr; }
  int width() const { return area_.right - area_.left; }
  int height() const { return area_.bottom - area_.top; }

 private:
  void use(BackBuffer& b) {
    if (!b.fit(target_, width(), height())) return;
    buffer_ = &b;
    SetViewportOrgEx(b.dc(), -area_.left, -area_.top, nullptr);
  }

  HDC target_;
  RECT area_;
  BackBuffer own_;
  BackBuffer* buffer_ = nullptr;
};

}  // namespace tb
