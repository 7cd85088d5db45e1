#include "widgets/grouplist/pictures_win.h"

#include <windows.h>
#include <wincodec.h>

#include <climits>
#include <cstring>
#include <vector>

#include "platform/handles.h"
#include "widgets/grouplist/grey.h"

namespace tb::grouplist {

namespace {

constexpr std::uint64_t kMaxPixels = 1u << 26;  // refuse pictures that would need over 256 MB

template <class T>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p_) p_->Release();
  }
  T** put() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// COM for the current thread, undone only if this call did it.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

HBITMAP to_handle(std::intptr_t h) { return reinterpret_cast<HBITMAP>(h); }
std::intptr_t from_handle(HBITMAP h) { return reinterpret_cast<std::intptr_t>(h); }

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

// A DIB section holding the pixels (B, G, R, X per pixel, top row first).
HBITMAP make_dib(int width, int height, const std::vector<BYTE>& pixels) {
  BITMAPINFO bi = top_down_info(width, height);
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp && bits) std::memcpy(bits, pixels.data(), pixels.size());
  return bmp;
}

bool read_pixels(HBITMAP bmp, int& width, int& height, std::vector<BYTE>& pixels) {
  BITMAP bm{};
  if (!GetObjectW(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
  width = bm.bmWidth;
  height = bm.bmHeight;
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
  BITMAPINFO bi = top_down_info(width, height);
  WindowDc screen(nullptr);
  return GetDIBits(screen.get(), bmp, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS) == height;
}

}  // namespace

Picture WicPictures::load(std::string_view bytes, Colour backdrop) {
  if (bytes.empty() || bytes.size() > UINT_MAX) return {};
  ComScope com;
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put()))))
    return {};
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
  if (FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > INT_MAX / 4 ||
      static_cast<std::uint64_t>(w) * h > kMaxPixels)
    return {};
  std::vector<BYTE> px(static_cast<std::size_t>(w) * h * 4);
  if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(px.size()), px.data()))) return {};
  // GDI ignores alpha: lay transparent parts on the backdrop they will be shown on.
  const unsigned back[3] = {(backdrop >> 16) & 0xFF, (backdrop >> 8) & 0xFF, backdrop & 0xFF};  // B, G, R
  for (std::size_t i = 0; i < px.size(); i += 4) {
    unsigned a = px[i + 3];
    for (int c = 0; c < 3; ++c) px[i + c] = static_cast<BYTE>((px[i + c] * a + back[c] * (255 - a) + 127) / 255);
    px[i + 3] = 0;
  }
  HBITMAP bmp = make_dib(static_cast<int>(w), static_cast<int>(h), px);
  if (!bmp) return {};
  return {from_handle(bmp), static_cast<int>(w), static_cast<int>(h)};
}

std::intptr_t WicPictures::make_grey(std::intptr_t bitmap) {
  int w = 0, h = 0;
  std::vector<BYTE> px;
  if (!bitmap || !read_pixels(to_handle(bitmap), w, h, px)) return 0;
  grey_pixels(px.data(), px.size() / 4);
  return from_handle(make_dib(w, h, px));
}

std::intptr_t WicPictures::extend_strip(std::intptr_t strip, int cells, const Picture& picture) {
  WindowDc screen(nullptr);
  HBITMAP fresh = CreateCompatibleBitmap(screen.get(), (cells + 1) * 16, 16);
  if (!fresh) return 0;
  {
    MemDc dst(CreateCompatibleDC(screen.get()));
    MemDc src(CreateCompatibleDC(screen.get()));
    if (!dst || !src) {
      DeleteObject(fresh);
      return 0;
    }
    SelectGuard put(dst.get(), fresh);
    if (strip && cells > 0) {
      SelectGuard old(src.get(), to_handle(strip));
      BitBlt(dst.get(), 0, 0, cells * 16, 16, src.get(), 0, 0, SRCCOPY);
    }
    SelectGuard pic(src.get(), to_handle(picture.bitmap));
    SetStretchBltMode(dst.get(), HALFTONE);
    SetBrushOrgEx(dst.get(), 0, 0, nullptr);
    StretchBlt(dst.get(), cells * 16, 0, 16, 16, src.get(), 0, 0, picture.width, picture.height, SRCCOPY);
  }
  if (strip) DeleteObject(to_handle(strip));
  DeleteObject(to_handle(picture.bitmap));
  return from_handle(fresh);
}

void WicPictures::destroy(std::intptr_t bitmap) {
  if (bitmap) DeleteObject(to_handle(bitmap));
}

}  // namespace tb::grouplist
