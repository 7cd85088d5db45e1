// Helpers for Win32 tests under Wine: pumping messages, waiting, synthetic input and
// screenshots saved as BMP files.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tb::test {

// Pumps this thread's messages for `ms` milliseconds.
void pump(DWORD ms);
// Pumps messages until `done` is true or `ms` elapse; returns `done()`.
bool wait_until(const std::function<bool()>& done, DWORD ms = 5000);
// Clicks a window of this or another process at `at` (client coordinates), with posted or
// sent button messages; a row drawn by its container is clicked in its container.
void post_click(HWND h, POINT at = {2, 2});
void send_click(HWND h, POINT at = {2, 2});
POINT middle(const RECT& r);
// Sends a real WM_DROPFILES with these paths (GBK), dropped at `at` in h's client area.
void send_drop(HWND h, const std::vector<std::string>& paths, POINT at = {0, 0});
// Chooses item `index` of the next pop-up menu this thread opens, with the keys a user
// presses (a timer acts once the menu is up).
void choose_next_menu_item(int index);
// The clipboard's text in its Unicode form, as GBK, and its plain-text bytes; "" when absent.
std::string clipboard_unicode_text();
std::string clipboard_plain_text();
// The window class's name.
std::wstring class_of(HWND h);
// Moves the pointer with real input through Wine, as the user's hand does.
void move_pointer(POINT p);
// Presses and releases keys through SendInput (modifiers first, released in reverse).
void send_keys(std::initializer_list<WORD> vks);
// Saves the screen rectangle `r` as a 24-bit BMP file.
bool save_screen_bmp(const RECT& r, const std::wstring& path);
// A Linux path given at build time, as Wine sees it (Z:\...).
std::wstring host_path(const char* posix);

}  // namespace tb::test
