// System-wide hotkeys bound to actions. Registrations are named by an identification text;
// a window's message handling is taken over at its first registration so that its hotkey
// messages reach the action. UI thread only.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

using HotkeyAction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

struct HotkeyRegistration {
  HWND window;
  std::string id_text;
  HotkeyAction action;
  int hotkey_id;  // identifier given to RegisterHotKey for this registration
};

// Binds modifiers (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8) + key to action on window
// (the own top-level window when null). Registering a text again replaces the earlier
// registration. False when the text is blank (after a notice), when there is no window,
// or when the platform refuses the combination.
bool register_hotkey(HWND window, UINT modifiers, UINT key, HotkeyAction action,
                     std::string_view id_text);

// Releases the hotkey registered under id_text and drops its registration; false if none.
bool unregister_hotkey(std::string_view id_text);

// The current registrations, in table order.
const std::vector<HotkeyRegistration>& hotkey_table();

// First visible top-level window of this process in z-order, or null.
HWND own_top_level_window();

// Message box owned by owner, or by the own top-level window when none is given; returns the
// button code minus 1 (OK 0, Cancel 1, Yes 5, No 6).
int notify(std::string_view text, UINT buttons = MB_OK, std::string_view title = "友情提醒",
           HWND owner = nullptr);

}  // namespace tb
