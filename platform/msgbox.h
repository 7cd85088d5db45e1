// Message boxes: task-modal without owner unless one is given; default title "信息：";
// the result is the platform's button code minus 1 (OK 0, Cancel 1, Yes 5, No 6).
#pragma once
#include <windows.h>

#include <string_view>

namespace tb {

int message_box(std::string_view text, UINT buttons = MB_OK, std::string_view title = "信息：",
                HWND owner = nullptr);

}  // namespace tb
