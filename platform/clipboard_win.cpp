#include "platform/clipboard_win.h"

#include <cstring>

#include "base/encoding.h"
#include "platform/handles.h"

namespace tb {

namespace {
// Hands a copy of the bytes to the open clipboard; it owns them afterwards.
bool put_bytes(UINT format, const void* data, std::size_t size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!mem) return false;
  if (void* p = GlobalLock(mem)) {
    memcpy(p, data, size);
    GlobalUnlock(mem);
    if (SetClipboardData(format, mem)) return true;
  }
  GlobalFree(mem);
  return false;
}
}  // namespace

bool Clipboard::put_text(std::wstring_view w) {
  if (!open_ || !EmptyClipboard()) return false;
  const std::wstring text(w);
  return put_bytes(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool Clipboard::put_gbk_text(std::string_view gbk) {
  if (!put_text(to_wide(gbk))) return false;
  const std::string bytes(gbk);
  const LCID chinese = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
  return put_bytes(CF_TEXT, bytes.c_str(), bytes.size() + 1) && put_bytes(CF_LOCALE, &chinese, sizeof chinese);
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
