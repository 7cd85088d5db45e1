// The list control's behaviour at run time: the message handlers on the list window and on
// its parent, hover, selection, clicks, the nine events and the avatar flash timer.
#pragma once
#include <windows.h>

namespace tb::grouplist {

// Repaints the row given as the first parameter; answers 1.
constexpr UINT kRepaintRow = WM_USER + 1;  // 0x401

// Hooks the list window and its parent; every message the control does not take goes on to
// the procedure the window had before (for the parent: the first list's, then the owner's).
void install_handlers(HWND list, HWND parent);

// The 300 ms avatar flash timer of a list window (identifier 1).
void start_flash_timer(HWND list);

}  // namespace tb::grouplist
