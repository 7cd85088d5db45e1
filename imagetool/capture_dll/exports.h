// The exports of the region-capture DLL (手动截图.dll), all stdcall with 32-bit values. The
// linked names and ordinals come from capture.def: the internal symbols are ASCII, the
// export names GBK. Text in and out is GBK.
#pragma once
#include <windows.h>

extern "C" {

// Ordinal 1, "JT": runs a manual region capture and returns when the user has finished or
// given up. mode 1 leaves the picture of the region on the clipboard (CF_DIB, 32 bits per
// pixel with BI_BITFIELDS masks); any other mode only selects. `frame` is the COLORREF of the
// selection frame and the magnifier's cross. `reserved3` and `reserved4` take the caller's
// defaults (255, 255) and select nothing yet. Returns 1 when finished, 0 when abandoned.
int WINAPI capture_jt(int mode, int frame, int reserved3, int reserved4);

// Ordinal 2, "对话框_另存文件": the save-as dialog for a captured picture, titled "保存图片"
// with the GIF/JPG/PNG/BMP filter, owned by `owner` (may be null). On OK writes the chosen
// path, with the filter's extension added when it has none, into `path` (room for `size`
// bytes, zero-terminated) and returns its length; 0 when cancelled or too long.
int WINAPI capture_save_dialog(HWND owner, char* path, int size);

// Ordinal 3, "剪辑板_取图片": a copy of the clipboard's bitmap, or null when there is none.
// The caller deletes it with DeleteObject.
HBITMAP WINAPI capture_clipboard_picture(HWND owner);

// Ordinal 4, "目录_取临时目录": the temporary folder, ending with a backslash, into `buf`
// (room for `size` bytes); returns its length, 0 when it does not fit.
int WINAPI capture_temp_folder(char* buf, int size);

// Ordinal 5, "鼠标_改指针": makes the cursor file "sb.cur" of the temporary folder the class
// cursor of `window`. Returns 1 when the file was loaded and set.
int WINAPI capture_set_pointer(HWND window);

// Ordinal 6, "鼠标_移动": moves the pointer to screen point (x, y). Returns 1 on success.
int WINAPI capture_move_pointer(int x, int y);

// Ordinal 7, "系统_刷新屏幕": starts "RunDll32.exe USER32.DLL,UpdatePerUserSystemParameters"
// so the desktop rereads its settings; does not wait. Returns 1 when it was started.
int WINAPI capture_refresh_desktop();

// Ordinal 8, "选取区域": the selection alone, clipboard untouched. On finish writes the region
// in screen coordinates (right and bottom exclusive) to `region` and returns 1; 0 when abandoned.
int WINAPI capture_select_region(RECT* region);

}
