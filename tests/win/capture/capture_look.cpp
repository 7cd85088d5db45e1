// Not a test: shows some text, runs a capture and holds it with a selection made and the
// pointer resting beside it, so the overlay can be looked at (import -window root).
#include <windows.h>

#include <thread>

#include "imagetool/capture_dll/session.h"
#include "imagetool/capture_library_win.h"

namespace {

void mouse_at(int x, int y, DWORD flags) {
  SetCursorPos(x, y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
  Sleep(40);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HWND back = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT",
                              L"// 找图并点击\r\nFindPic 0, 0, 1024, 768, \"按钮.bmp\", 0.9, intX, intY\r\n"
                              L"If intX > 0 And intY > 0 Then\r\n    MoveTo intX, intY\r\n    LeftClick 1\r\nEnd If\r\n"
                              L"Delay 500\r\nGetColor(320, 240)\r\n",
                              WS_POPUP | WS_VISIBLE | WS_BORDER | ES_MULTILINE, 120, 100, 620, 360, back, nullptr,
                              nullptr, nullptr);
  HFONT font = CreateFontW(-22, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Microsoft YaHei");
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  MSG m;
  for (DWORD end = GetTickCount() + 500; GetTickCount() < end;)
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);

  wchar_t v[16] = {};
  DWORD hold = GetEnvironmentVariableW(L"TB_CAPTURE_LOOK_MS", v, 16) ? static_cast<DWORD>(_wtoi(v)) : 3000;
  std::thread driver([hold] {
    while (!FindWindowW(capture::kSelectionClass, nullptr)) Sleep(20);
    Sleep(200);
    mouse_at(150, 130, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 8; ++i) mouse_at(150 + 52 * i, 130 + 26 * i, MOUSEEVENTF_MOVE);
    mouse_at(566, 338, MOUSEEVENTF_LEFTUP);
    mouse_at(598, 146, MOUSEEVENTF_MOVE);  // over text outside the selection
    Sleep(hold);
    INPUT k[2] = {};
    k[0].type = k[1].type = INPUT_KEYBOARD;
    k[0].ki.wVk = k[1].ki.wVk = VK_ESCAPE;
    k[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, k, sizeof(INPUT));
  });
  tb::imagetool::run_region_capture();
  driver.join();
  DestroyWindow(back);
  DeleteObject(font);
  return 0;
}
