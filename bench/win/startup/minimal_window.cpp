// The yardstick for start-up time: one empty window, shown, and a message loop. Like the
// toolbox's benchmark build it signals its first idle pass, after its first paint.
#include <windows.h>

#include <string>

#include "bench/win/startup/startup_signal.h"

static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"TbMinimal";
  RegisterClassW(&wc);
  HWND h = CreateWindowW(L"TbMinimal", L"minimal", WS_OVERLAPPEDWINDOW, 50, 50, 267, 597, nullptr, nullptr, inst, nullptr);
  ShowWindow(h, SW_SHOW);
  bool told = false;
  MSG m;
  for (;;) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) return 0;
      DispatchMessageW(&m);
    }
    if (!told) tb::startup::signal(tb::startup::kWindow);
    told = true;
    WaitMessage();
  }
}
