#include "imagetool/capture_dll/exports.h"

#include <cstring>
#include <string>

#include "base/encoding.h"
#include "imagetool/capture_dll/session.h"
#include "platform/handles.h"

namespace {

// Copies GBK text with its terminator into a caller's buffer; its length, or 0 when it does not fit.
int give(const std::string& s, char* buf, int size) {
  if (!buf || size <= 0 || s.empty() || s.size() + 1 > static_cast<std::size_t>(size)) return 0;
  std::memcpy(buf, s.c_str(), s.size() + 1);
  return static_cast<int>(s.size());
}

std::string temp_folder() {
  wchar_t buf[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  if (n == 0 || n > MAX_PATH) return {};
  std::wstring w(buf, n);
  if (w.back() != L'\\') w += L'\\';
  return tb::to_gbk(w);
}

}  // namespace

extern "C" {

int WINAPI capture_jt(int mode, int frame, int, int) {
  RECT region;
  capture::Picture picture;
  return capture::run_selection(static_cast<COLORREF>(frame) & 0xFFFFFF, mode == 1, region, picture) ==
         capture::Outcome::Finished;
}

int WINAPI capture_save_dialog(HWND owner, char* path, int size) {
  return give(capture::ask_save_path(owner), path, size);
}

HBITMAP WINAPI capture_clipboard_picture(HWND owner) {
  if (!OpenClipboard(owner)) return nullptr;
  HBITMAP copy = nullptr;
  if (auto shown = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)))
    copy = static_cast<HBITMAP>(CopyImage(shown, IMAGE_BITMAP, 0, 0, 0));  // the clipboard keeps its own
  CloseClipboard();
  return copy;
}

int WINAPI capture_temp_folder(char* buf, int size) { return give(temp_folder(), buf, size); }

int WINAPI capture_set_pointer(HWND window) {
  std::string folder = temp_folder();
  if (!window || folder.empty()) return 0;
  HCURSOR c = LoadCursorFromFileW(tb::to_wide(folder + "sb.cur").c_str());
  if (!c) return 0;
  SetClassLongPtrW(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(c));
  return 1;
}

int WINAPI capture_move_pointer(int x, int y) { return SetCursorPos(x, y) ? 1 : 0; }

int WINAPI capture_refresh_desktop() {
  wchar_t cmd[] = L"RunDll32.exe USER32.DLL,UpdatePerUserSystemParameters";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) return 0;
  tb::ProcessHandle process(pi.hProcess), thread(pi.hThread);  // not waited for
  return 1;
}

int WINAPI capture_select_region(RECT* region) {
  RECT r{};
  capture::Picture picture;
  if (capture::run_selection(RGB(0, 136, 255), false, r, picture) != capture::Outcome::Finished) return 0;
  if (region) *region = r;
  return 1;
}

}
