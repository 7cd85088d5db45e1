#include "tests/support/win_test_util.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "base/encoding.h"

namespace tb::test {

void pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  MSG m;
  do {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

bool wait_until(const std::function<bool()>& done, DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (!done()) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return done();
    pump(10);
  }
  return true;
}

void post_click(HWND h, POINT at) {
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void send_click(HWND h, POINT at) {
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

POINT middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void send_drop(HWND h, const std::vector<std::string>& paths, POINT at) {
  std::wstring list;
  for (const std::string& p : paths) list += to_wide(p) + L'\0';
  list += L'\0';
  HGLOBAL g = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(GlobalLock(g));
  df->pFiles = sizeof(DROPFILES);
  df->pt = at;
  df->fWide = TRUE;
  memcpy(df + 1, list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(g);
  SendMessageW(h, WM_DROPFILES, reinterpret_cast<WPARAM>(g), 0);
}

namespace {
int g_menu_item = 0;
void CALLBACK pick_menu_item(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  // A click on the item, as a hand does: keys may be taken by a window's hotkeys.
  RECT r{};
  GetMenuItemRect(nullptr, reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)), g_menu_item, &r);
  move_pointer(middle(r));
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}
std::string clipboard_bytes(UINT format) {
  std::string out;
  if (!OpenClipboard(nullptr)) return out;
  if (HANDLE h = GetClipboardData(format)) {
    if (const void* p = GlobalLock(h)) {
      out.assign(static_cast<const char*>(p), GlobalSize(h));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return out;
}
}  // namespace

void choose_next_menu_item(int index) {
  g_menu_item = index;
  SetTimer(nullptr, 0, 50, pick_menu_item);
}

std::string clipboard_unicode_text() {
  const std::string b = clipboard_bytes(CF_UNICODETEXT);
  std::wstring w(reinterpret_cast<const wchar_t*>(b.data()), b.size() / sizeof(wchar_t));
  return to_gbk(w.substr(0, w.find(L'\0')));
}

std::string clipboard_plain_text() {
  const std::string b = clipboard_bytes(CF_TEXT);
  return b.substr(0, b.find('\0'));
}

std::wstring class_of(HWND h) {
  wchar_t buf[256] = {};
  GetClassNameW(h, buf, 256);
  return buf;
}

void move_pointer(POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = static_cast<LONG>((p.x * 65536LL + w / 2) / w);
  in.mi.dy = static_cast<LONG>((p.y * 65536LL + h / 2) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  SetCursorPos(p.x, p.y);
}

void send_keys(std::initializer_list<WORD> vks) {
  std::vector<INPUT> in;
  for (WORD vk : vks) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    in.push_back(i);
  }
  for (auto it = vks.end(); it != vks.begin();) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *--it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

bool save_screen_bmp(const RECT& r, const std::wstring& path) {
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + stride * static_cast<DWORD>(h);
  bool ok = false;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD n;
    ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) && WriteFile(f, &bi.bmiHeader, sizeof(BITMAPINFOHEADER), &n, nullptr) &&
         WriteFile(f, bits, stride * static_cast<DWORD>(h), &n, nullptr);
    CloseHandle(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

std::wstring host_path(const char* posix) {
  std::wstring w = L"Z:";
  for (const char* p = posix; *p; ++p) w += (*p == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return w;
}

}  // namespace tb::test
