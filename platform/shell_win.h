// Opening documents, folders, addresses and programs through the shell's "open" verb.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tb {

// Opens `target` (GBK) with the shell's "open" verb, no parameters, normal window; does not
// wait for it. False when the shell refused.
bool shell_open(std::string_view target);
// Starts a program of the system folder (notepad.exe, calc.exe, ...) without waiting for it.
bool start_system_program(std::string_view exe);

// Files dropped from Explorer: a window takes them once it accepts them.
void accept_dropped_files(HWND w);
struct DroppedFiles {
  std::vector<std::string> paths;  // GBK
  POINT at{};                      // where they were dropped, in the window's client area
};
// Reads a WM_DROPFILES's HDROP (its wParam) and releases it.
DroppedFiles take_dropped_files(WPARAM drop);

}  // namespace tb
