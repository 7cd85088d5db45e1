// A second process for the radar tests: it owns top-level windows and a child control,
// and pumps its messages so calls from the radar (SetWindowText, MoveWindow) are answered,
// until a test tells it to stop.
#include <windows.h>

#include <string>

#include "tests/win/radar/target_windows.h"

namespace {

LRESULT CALLBACK target_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      LONG_PTR colour = GetWindowLongPtrW(w, GWLP_USERDATA);
      HBRUSH b = CreateSolidBrush(colour ? static_cast<COLORREF>(colour) : RGB(40, 120, 90));
      FillRect(dc, &ps.rcPaint, b);
      DeleteObject(b);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    case radar_target::kStopAnswering:
      Sleep(static_cast<DWORD>(wp));
      ExitProcess(2);
    default:
      return DefWindowProcW(w, msg, wp, lp);
  }
}

void register_class(const wchar_t* name) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = target_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  using namespace radar_target;
  register_class(kClass);
  register_class(kLongClass);
  HWND top = CreateWindowExW(kExStyle, kClass, kTitle, WS_POPUP | WS_BORDER, kTop.left, kTop.top,
                             kTop.right - kTop.left, kTop.bottom - kTop.top, nullptr, nullptr, inst, nullptr);
  CreateWindowExW(0, L"BUTTON", kChildText, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, kChild.left, kChild.top,
                  kChild.right - kChild.left, kChild.bottom - kChild.top, top, nullptr, inst, nullptr);
  std::wstring long_title(200, L'\x6807');  // 标
  HWND second = CreateWindowExW(0, kLongClass, long_title.c_str(), WS_POPUP | WS_BORDER, kSecond.left, kSecond.top,
                                kSecond.right - kSecond.left, kSecond.bottom - kSecond.top, nullptr, nullptr, inst,
                                nullptr);
  SetWindowLongPtrW(second, GWLP_USERDATA, RGB(120, 60, 140));
  ShowWindow(top, SW_SHOWNOACTIVATE);
  ShowWindow(second, SW_SHOWNOACTIVATE);
  // Never outlive a test that failed to close us.
  SetTimer(nullptr, 0, 300000, nullptr);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER && m.hwnd == nullptr) break;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
