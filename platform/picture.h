// Pixel surfaces and picture decoding: a 32-bit top-down DIB section with its own memory DC,
// and the Windows Imaging Component for every picture format it knows.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tb {

// A DIB section of 0x00RRGGBB pixels (see base/colour.h), top row first, `width` pixels a
// row, selected into a memory DC of its own for GDI drawing. Empty when it could not be made.
class Dib {
 public:
  static constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;  // 64 Mpixel, 256 MB

  Dib() = default;
  // Empty when either side is <= 0, the picture is over kMaxPixels, or GDI refuses.
  static Dib make(int width, int height);

  Dib(Dib&& o) noexcept;
  Dib& operator=(Dib&& o) noexcept;
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  ~Dib();

  explicit operator bool() const { return bitmap_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  // After GDI drawing into dc(), call GdiFlush() before reading the pixels.
  std::uint32_t* pixels() const { return pixels_; }
  std::size_t pixel_count() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }

  void fill(COLORREF colour);
  // Takes the bitmap out of the DC and hands it to the caller, who deletes it with
  // DeleteObject; the Dib is empty afterwards.
  HBITMAP release();

 private:
  void reset();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;  // the DC's own bitmap, put back before the DC goes
  std::uint32_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
};

// The first frame of a picture in any format WIC decodes (BMP, PNG, JPEG, GIF, ICO, ...),
// converted to 32 bits and laid on backdrop (a COLORREF) by its alpha, since GDI ignores
// alpha. Empty when the bytes are no picture or it is over Dib::kMaxPixels.
Dib decode(std::string_view bytes, COLORREF backdrop);
// A plain BMP file (uncompressed rows, no alpha) decoded straight into a picture of its size
// that exists already: no new memory, which for a large picture costs more than the decoding.
// False, the picture untouched, for any other file or size.
bool decode_bmp_over(std::string_view bytes, HDC dc, std::uint32_t* pixels, int width, int height);

// A Dib of the bitmap's size holding its pixels; empty when it cannot be read.
Dib copy_of(HBITMAP bitmap);

// Draws the whole of source into the rectangle (x, y, w, h) of target: copied pixel for pixel
// when the sizes agree, scaled with halftone otherwise. False when nothing could be drawn.
bool scale_into(Dib& target, int x, int y, int w, int h, HBITMAP source);

}  // namespace tb
