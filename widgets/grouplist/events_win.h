// The list control's behaviour at run time: the message handlers on the list window and on
// its parent, hover, selection, clicks, the nine events and the avatar flash timer.
#pragma once
#include <windows.h>

namespace tb::grouplist {

class ListBoxWindow;

// Repaints the row given as the first parameter; answers 1.
constexpr UINT kRepaintRow = WM_USER + 1;  // 0x401

// The hooks of one list window, to be taken off when its object goes.
struct MessageHooks {
  HWND list = nullptr, parent = nullptr;
  int on_list = 0, on_parent = 0;
};

// Hooks the list window of `w` and its parent; every message the control does not take goes on
// to the procedure the window had before (for the parent: the first list's, then the owner's).
MessageHooks install_handlers(ListBoxWindow& w, HWND parent);
// Takes the hooks off the windows that still have them.
void remove_handlers(const MessageHooks& hooks);

// The 300 ms avatar flash timer of a list window (identifier 1).
void start_flash_timer(HWND list);

}  // namespace tb::grouplist
