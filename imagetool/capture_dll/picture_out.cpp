#include <windows.h>
#include <commdlg.h>
#include <wincodec.h>

#include <cstring>

#include "base/bmp.h"
#include "base/encoding.h"
#include "base/fileio.h"
#include "imagetool/capture_dll/session.h"
#include "platform/handles.h"

namespace capture {

namespace {

std::wstring lower_extension(const std::wstring& path) {
  std::size_t dot = path.find_last_of(L'.');
  std::size_t slash = path.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return {};
  std::wstring e = path.substr(dot);
  for (wchar_t& c : e) c = static_cast<wchar_t>(towlower(c));
  return e;
}

// GIF takes 8-bit indexed pixels, through an optimised 256-colour palette of the picture.
HRESULT write_indexed(IWICImagingFactory* factory, IWICBitmapFrameEncode* frame, IWICBitmap* source) {
  tb::ComPtr<IWICPalette> palette;
  tb::ComPtr<IWICFormatConverter> indexed;
  WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
  HRESULT hr = factory->CreatePalette(palette.put());
  if (SUCCEEDED(hr)) hr = palette->InitializeFromBitmap(source, 256, FALSE);
  if (SUCCEEDED(hr)) hr = factory->CreateFormatConverter(indexed.put());
  if (SUCCEEDED(hr))
    hr = indexed->Initialize(source, GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeNone, palette.get(), 0,
                             WICBitmapPaletteTypeCustom);
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr)) hr = frame->SetPalette(palette.get());
  if (SUCCEEDED(hr)) hr = frame->WriteSource(indexed.get(), nullptr);
  return hr;
}

// Encodes through the platform's WIC encoder.
bool save_wic(const std::wstring& path, const GUID& container, const Picture& p) {
  tb::ComScope com;  // first in, last out: every reference below is released before it ends
  tb::ComPtr<IWICImagingFactory> factory;
  tb::ComPtr<IWICBitmap> source;
  tb::ComPtr<IWICStream> stream;
  tb::ComPtr<IWICBitmapEncoder> encoder;
  tb::ComPtr<IWICBitmapFrameEncode> frame;
  tb::ComPtr<IPropertyBag2> props;
  UINT stride = static_cast<UINT>(p.width) * 4;
  auto* bytes = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(p.pixels.data()));
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()));
  if (SUCCEEDED(hr))
    hr = factory->CreateBitmapFromMemory(p.width, p.height, GUID_WICPixelFormat32bppBGR, stride,
                                         stride * static_cast<UINT>(p.height), bytes, source.put());
  if (SUCCEEDED(hr)) hr = factory->CreateStream(stream.put());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(container, nullptr, encoder.put());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.put(), props.put());
  if (SUCCEEDED(hr)) hr = frame->Initialize(props.get());
  if (SUCCEEDED(hr)) hr = frame->SetSize(p.width, p.height);
  if (SUCCEEDED(hr))  // the encoder converts to the format it takes, but for GIF's palette
    hr = container == GUID_ContainerFormatGif ? write_indexed(factory.get(), frame.get(), source.get())
                                              : frame->WriteSource(source.get(), nullptr);
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  return SUCCEEDED(hr);
}

}  // namespace

bool put_on_clipboard(HWND owner, const Picture& p) {
  // 32 bits with BI_BITFIELDS masks: the header and masks take 52 bytes, as for a 32-bit screen.
  const DWORD masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  SIZE_T pixels = static_cast<SIZE_T>(p.width) * p.height * 4;
  tb::GlobalMemory mem(GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + sizeof masks + pixels));
  auto* out = mem ? static_cast<BYTE*>(GlobalLock(mem.get())) : nullptr;
  if (!out) return false;
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = p.width;
  h.biHeight = p.height;  // bottom-up
  h.biPlanes = 1;
  h.biBitCount = 32;
  h.biCompression = BI_BITFIELDS;
  h.biSizeImage = static_cast<DWORD>(pixels);
  std::memcpy(out, &h, sizeof h);
  std::memcpy(out + sizeof h, masks, sizeof masks);
  BYTE* rows = out + sizeof h + sizeof masks;
  for (int y = 0; y < p.height; ++y)
    std::memcpy(rows + static_cast<SIZE_T>(p.height - 1 - y) * p.width * 4,
                p.pixels.data() + static_cast<SIZE_T>(y) * p.width, static_cast<SIZE_T>(p.width) * 4);
  GlobalUnlock(mem.get());

  bool opened = false;
  for (int i = 0; i < 10 && !(opened = OpenClipboard(owner)); ++i) Sleep(20);  // another program may hold it
  bool ok = opened && EmptyClipboard() && SetClipboardData(CF_DIB, mem.get());
  if (opened) CloseClipboard();
  if (ok) mem.release();  // the clipboard's now
  return ok;
}

bool save_picture(const std::string& gbk_path, const Picture& p) {
  std::wstring path = tb::to_wide(gbk_path);
  std::wstring ext = lower_extension(path);
  if (ext == L".png") return save_wic(path, GUID_ContainerFormatPng, p);
  if (ext == L".jpg" || ext == L".jpeg") return save_wic(path, GUID_ContainerFormatJpeg, p);
  if (ext == L".gif") return save_wic(path, GUID_ContainerFormatGif, p);
  return tb::write_file_atomic(gbk_path, tb::bmp24_file(p.pixels.data(), p.width, p.height));
}

std::string ask_save_path(HWND owner) {
  // Filter pairs as the design gives them, '|' turned into the dialog's NULs.
  std::wstring filter = tb::to_wide("GIF图片(*.gif)|*.gif|JPG图片(*.jpg)|*.jpg|PNG图片(*.png)|*.png|BMP图片(*.bmp)|*.bmp");
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  std::wstring title = tb::to_wide("保存图片");
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 3;  // PNG: lossless and small
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  // The dialog in the system's current look: the DLL's own manifest names the common
  // controls' version 6, whatever the host's says.
  ACTCTXW a{sizeof a};
  a.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  a.hModule = module();
  a.lpResourceName = MAKEINTRESOURCEW(2);
  tb::ActCtxHandle context(CreateActCtxW(&a));
  ULONG_PTR cookie = 0;
  const bool active = context && ActivateActCtx(context.get(), &cookie);
  const BOOL chosen = GetSaveFileNameW(&ofn);
  if (active) DeactivateActCtx(0, cookie);
  if (!chosen) return {};
  std::wstring path = file;
  static const wchar_t* const exts[] = {L".gif", L".jpg", L".png", L".bmp"};
  if (lower_extension(path).empty() && ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= 4)
    path += exts[ofn.nFilterIndex - 1];
  return tb::to_gbk(path);
}

}  // namespace capture
