// The one way to take over a window procedure, and the reflection of a parent's
// notifications to the control they concern. UI thread only.
#pragma once
#include <windows.h>

#include <functional>

namespace tb {

// Sees a message before the window's own procedure; returns true when it answered it
// (the answer goes in `result` and the procedure is not called).
using MessageHook = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)>;

// Hooks `w`; the newest hook sees a message first. Hooks are dropped when the window is
// destroyed (each still sees WM_NCDESTROY). Returns an identifier for unhook_window, 0 on failure.
int hook_window(HWND w, MessageHook hook);
void unhook_window(HWND w, int id);
bool is_hooked(HWND w);
// From inside a hook of `w`: lets the older hooks and then the window's own procedure handle
// the message now and gives their answer, so the hook can act after them.
LRESULT call_next(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// A parent's notification as the control it concerns sees it: kReflected + the message.
constexpr UINT kReflected = WM_USER + 0x1C00;

// The control a parent's WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* or
// WM_HSCROLL/WM_VSCROLL concerns; nullptr for other messages or when there is none.
HWND notification_target(HWND parent, UINT msg, WPARAM wp, LPARAM lp);
// Offers the notification to its control's hooks as kReflected + msg; true when one answered.
bool reflect_notification(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

}  // namespace tb
