// The selection machinery behind JT and 选取区域: a frozen copy of the virtual screen shown
// in a topmost window, the toolbar and the magnifier, on the calling thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

// Window classes, registered on first use with this DLL's instance.
inline constexpr wchar_t kSelectionClass[] = L"TarvoCaptureSelection";
inline constexpr wchar_t kToolbarClass[] = L"TarvoCaptureToolbar";
inline constexpr wchar_t kMagnifierClass[] = L"TarvoCaptureMagnifier";

HINSTANCE module();

// The pixels of a region, 0x00RRGGBB, top row first.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

enum class Outcome { Finished, Abandoned };

// Runs one selection until finished or abandoned. On finish `region` holds the region in
// screen coordinates and `picture` its pixels from the frozen copy.
Outcome run_selection(COLORREF frame, bool to_clipboard, RECT& region, Picture& picture);

// Output of a picture (picture_out.cpp).
bool put_on_clipboard(HWND owner, const Picture& p);
// Writes by the file's extension: .bmp classic 24-bit, .png/.jpg/.gif through WIC.
bool save_picture(const std::string& gbk_path, const Picture& p);
// The save-as dialog; "" when cancelled.
std::string ask_save_path(HWND owner);

}  // namespace capture
