#include "platform/picture.h"

#include <wincodec.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "base/bmp.h"
#include "base/colour.h"
#include "platform/handles.h"

namespace tb {

namespace {

BITMAPINFO top_down_info(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

bool size_allowed(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= INT_MAX && height <= INT_MAX && width * height <= Dib::kMaxPixels;
}

}  // namespace

Dib Dib::make(int width, int height) {
  Dib d;
  if (width <= 0 || height <= 0 || !size_allowed(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height)))
    return d;
  MemDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return d;
  BITMAPINFO bi = top_down_info(width, height);
  void* bits = nullptr;
  GdiBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp || !bits) return d;
  HGDIOBJ old = SelectObject(dc.get(), bmp.get());
  if (!old || old == HGDI_ERROR) return d;
  d.dc_ = dc.release();
  d.bitmap_ = bmp.release();
  d.old_ = old;
  d.pixels_ = static_cast<std::uint32_t*>(bits);
  d.width_ = width;
  d.height_ = height;
  return d;
}

Dib::Dib(Dib&& o) noexcept
    : dc_(std::exchange(o.dc_, nullptr)), bitmap_(std::exchange(o.bitmap_, nullptr)),
      old_(std::exchange(o.old_, nullptr)), pixels_(std::exchange(o.pixels_, nullptr)),
      width_(std::exchange(o.width_, 0)), height_(std::exchange(o.height_, 0)) {}

Dib& Dib::operator=(Dib&& o) noexcept {
  if (this != &o) {
    reset();
    dc_ = std::exchange(o.dc_, nullptr);
    bitmap_ = std::exchange(o.bitmap_, nullptr);
    old_ = std::exchange(o.old_, nullptr);
    pixels_ = std::exchange(o.pixels_, nullptr);
    width_ = std::exchange(o.width_, 0);
    height_ = std::exchange(o.height_, 0);
  }
  return *this;
}

Dib::~Dib() { reset(); }

void Dib::reset() {
  if (HBITMAP b = release()) DeleteObject(b);
}

HBITMAP Dib::release() {
  if (dc_) {
    if (old_) SelectObject(dc_, old_);  // a bitmap still selected somewhere cannot be used or deleted
    DeleteDC(dc_);
  }
  HBITMAP b = bitmap_;
  dc_ = nullptr;
  bitmap_ = nullptr;
  old_ = nullptr;
  pixels_ = nullptr;
  width_ = height_ = 0;
  return b;
}

void Dib::fill(COLORREF colour) {
  if (!pixels_) return;
  GdiFlush();  // drawing still queued for the DC would land on top afterwards
  std::fill(pixels_, pixels_ + pixel_count(), colour::to_pixel(colour));
}

namespace {
// One factory per thread, kept: starting COM and making a factory for every picture costs
// more than decoding a launcher icon.
IWICImagingFactory* wic_factory() {
  struct Held {
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
  };
  thread_local Held held;
  thread_local bool tried = false;
  if (!tried) {
    tried = true;
    TB_LATE(L"ole32.dll", CoCreateInstance);
    if (held.com.ok() && CoCreateInstance)
      CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                       held.factory.put_void());
  }
  return held.factory.get();
}
}  // namespace

namespace {
// A BMP file of uncompressed rows without an alpha channel, converted by GDI in one call:
// under Wine this is several times faster than the imaging component for large pictures.
// Its size, or 0 x 0 when the file is of another kind (the imaging component decodes it).
SIZE plain_bmp_size(std::string_view bytes) {
  if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M') return {};
  const DibLayout l = dib_layout(bytes.substr(14));
  if (l.pixel_offset == 0 || (l.compression != BI_RGB && l.compression != BI_BITFIELDS)) return {};
  // Pixels placed elsewhere than right after the table (a gap, a profile) are left to WIC.
  const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])); };
  if ((byte(10) | byte(11) << 8 | byte(12) << 16 | byte(13) << 24) != 14 + l.pixel_offset) return {};
  // Only a V4/V5 header can carry an alpha mask; such pictures need compositing.
  if (l.bits == 32 && l.alpha_mask != 0) return {};
  const std::int64_t rows = l.height < 0 ? -static_cast<std::int64_t>(l.height) : l.height;
  if (!size_allowed(static_cast<UINT>(l.width), static_cast<UINT>(rows))) return {};
  return SIZE{l.width, static_cast<LONG>(rows)};
}

// Converts the checked file's rows into a picture of its size.
bool put_plain_bmp(std::string_view bytes, HDC dc, std::uint32_t* pixels, SIZE size) {
  const std::string_view dib = bytes.substr(14);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
  const auto rows = static_cast<UINT>(size.cy);
  if (SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(size.cx), rows, 0, 0, 0, rows,
                        dib.data() + dib_layout(dib).pixel_offset, info, DIB_RGB_COLORS) != static_cast<int>(rows))
    return false;
  GdiFlush();
  for (std::size_t i = 0, n = static_cast<std::size_t>(size.cx) * rows; i < n; ++i) pixels[i] &= 0xFFFFFF;
  return true;
}

Dib decode_plain_bmp(std::string_view bytes) {
  const SIZE size = plain_bmp_size(bytes);
  if (size.cx <= 0) return {};
  Dib d = Dib::make(size.cx, size.cy);
  return d && put_plain_bmp(bytes, d.dc(), d.pixels(), size) ? std::move(d) : Dib();
}
}  // namespace

bool decode_bmp_over(std::string_view bytes, HDC dc, std::uint32_t* pixels, int width, int height) {
  const SIZE size = plain_bmp_size(bytes);
  return dc && pixels && size.cx == width && size.cy == height && width > 0 &&
         put_plain_bmp(bytes, dc, pixels, size);
}

Dib decode(std::string_view bytes, COLORREF backdrop) {
  if (bytes.empty() || bytes.size() > UINT_MAX) return {};
  if (Dib plain = decode_plain_bmp(bytes)) return plain;
  IWICImagingFactory* factory = wic_factory();
  if (!factory) return {};
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  // The stream reads the caller's bytes in place; they outlive every object here.
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return {};
  UINT w = 0, h = 0;
  if (FAILED(converter->GetSize(&w, &h)) || !size_allowed(w, h)) return {};
  Dib d = Dib::make(static_cast<int>(w), static_cast<int>(h));
  if (!d) return {};
  // At most 256 MB, so the byte count fits a UINT.
  if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(d.pixel_count() * 4),
                                   reinterpret_cast<BYTE*>(d.pixels()))))
    return {};
  const std::uint32_t back = colour::to_pixel(backdrop);
  const std::uint32_t br = colour::pixel_red(back), bg = colour::pixel_green(back), bb = colour::pixel_blue(back);
  auto mix = [](std::uint32_t c, std::uint32_t b, std::uint32_t a) { return (c * a + b * (255 - a) + 127) / 255; };
  std::uint32_t* px = d.pixels();
  for (std::size_t i = 0, n = d.pixel_count(); i < n; ++i) {
    const std::uint32_t p = px[i], a = p >> 24;
    // Most pictures are opaque throughout: those pixels only lose their alpha byte.
    if (a == 255) {
      px[i] = p & 0xFFFFFF;
      continue;
    }
    px[i] = colour::pixel(mix(colour::pixel_red(p), br, a), mix(colour::pixel_green(p), bg, a),
                          mix(colour::pixel_blue(p), bb, a));
  }
  return d;
}

Dib copy_of(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return {};
  Dib d = Dib::make(bm.bmWidth, bm.bmHeight);
  if (!d) return {};
  BITMAPINFO bi = top_down_info(d.width(), d.height());
  WindowDc screen(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(d.height()), d.pixels(), &bi, DIB_RGB_COLORS) !=
      d.height())
    return {};
  return d;
}

bool scale_into(Dib& target, int x, int y, int w, int h, HBITMAP source) {
  BITMAP bm{};
  if (!target || !source || !GetObjectW(source, sizeof bm, &bm)) return false;
  MemDc src(CreateCompatibleDC(target.dc()));
  if (!src) return false;
  SelectGuard put(src.get(), source);
  BOOL done;
  if (bm.bmWidth == w && bm.bmHeight == h) {
    done = BitBlt(target.dc(), x, y, w, h, src.get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(target.dc(), HALFTONE);
    SetBrushOrgEx(target.dc(), 0, 0, nullptr);
    done = StretchBlt(target.dc(), x, y, w, h, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  }
  GdiFlush();
  return done != FALSE;
}

}  // namespace tb
