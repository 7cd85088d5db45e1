// The yardstick for start-up time: one empty window, shown, and a message loop.
#include <windows.h>

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
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  return 0;
}
