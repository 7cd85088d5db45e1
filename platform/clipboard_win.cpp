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

bool Clipboard::put_picture(const Dib& picture) {
  if (!open_ || !picture) return false;
  // A device-dependent copy: the clipboard owns it, and every reader can convert it.
  HDC screen = GetDC(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(screen, picture.width(), picture.height());
  HDC to = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  bool ok = false;
  if (copy && to) {
    HGDIOBJ old = SelectObject(to, copy);
    ok = BitBlt(to, 0, 0, picture.width(), picture.height(), picture.dc(), 0, 0, SRCCOPY) != 0;
    SelectObject(to, old);
  }
  if (to) DeleteDC(to);
  if (ok && EmptyClipboard() && SetClipboardData(CF_BITMAP, copy)) return true;
  if (copy) DeleteObject(copy);
  return false;
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
