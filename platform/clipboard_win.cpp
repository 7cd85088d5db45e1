#include "platform/clipboard_win.h"

#include <cstring>

#include "platform/handles.h"

namespace tb {

bool Clipboard::put_text(std::wstring_view w) {
  if (!open_ || !EmptyClipboard()) return false;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
  if (!mem) return false;
  if (auto* p = static_cast<wchar_t*>(GlobalLock(mem))) {
    w.copy(p, w.size());
    p[w.size()] = L'\0';
    GlobalUnlock(mem);
    if (SetClipboardData(CF_UNICODETEXT, mem)) return true;  // the clipboard owns it now
  }
  GlobalFree(mem);
  return false;
}

namespace {
// Hands the picture to the open clipboard as CF_BITMAP; the clipboard owns it afterwards.
bool hand_over(Dib picture) {
  if (!picture) return false;
  HBITMAP bitmap = picture.release();
  if (SetClipboardData(CF_BITMAP, bitmap)) return true;
  DeleteObject(bitmap);
  return false;
}
}  // namespace

bool ClipboardPicture::promise(HWND owner, std::function<Dib()> make) {
  Clipboard c(owner);
  if (!c || !EmptyClipboard()) return false;
  make_ = std::move(make);
  return SetClipboardData(CF_BITMAP, nullptr) == nullptr && GetClipboardOwner() == owner;
}

bool ClipboardPicture::handle(HWND owner, UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_RENDERFORMAT:
      // The clipboard is open already, by the program that asked.
      if (wp == CF_BITMAP && make_) hand_over(make_());
      return true;
    case WM_RENDERALLFORMATS: {
      Clipboard c(owner);
      if (c && GetClipboardOwner() == owner && make_) hand_over(make_());
      make_ = nullptr;
      return true;
    }
    case WM_DESTROYCLIPBOARD:
      make_ = nullptr;  // another program took the clipboard: nothing is promised any more
      return true;
    default:
      return false;
  }
}

std::string Clipboard::dib_bytes() const {
  if (!open_) return {};
  HANDLE data = GetClipboardData(CF_DIB);
  if (!data) return {};
  const SIZE_T size = GlobalSize(data);
  const void* p = GlobalLock(data);
  std::string out;
  if (p && size) out.assign(static_cast<const char*>(p), size);
  if (p) GlobalUnlock(data);
  return out;
}

}  // namespace tb
