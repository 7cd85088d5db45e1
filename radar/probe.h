// What the radar reads from a window under the mouse, and the outline it inverts on it.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

namespace tb::radar {

// Process names from the system's process list, and program paths. With caching on, one
// snapshot serves a whole drag: names and paths are kept by process ID until clear(), and a
// process ID the last snapshot did not hold triggers one fresh snapshot (and is then
// remembered as unknown).
class ProcessNames {
 public:
  explicit ProcessNames(bool cache = true) : cache_(cache) {}
  void set_cache(bool on) {
    cache_ = on;
    clear();
  }
  void clear() {
    names_.clear();
    paths_.clear();
  }
  // The executable name of the first listed process with this ID; "" if there is none.
  std::string name_of(DWORD pid);
  // process_path(pid), remembered for the drag.
  std::string path_of(DWORD pid);

 private:
  bool cache_;
  std::unordered_map<DWORD, std::string> names_;
  std::unordered_map<DWORD, std::string> paths_;
};

// Everything the boxes show for one window, texts in GBK.
struct Readout {
  HWND window = nullptr;
  std::string class_name;  // at most 49 bytes
  std::string title;       // at most 255 bytes
  DWORD pid = 0;
  RECT rect{};
  std::string path;  // program file of the process; "" if it cannot be read
  std::string name;  // "" unless the window is a visible top-level window
};

Readout read_window(HWND w, ProcessNames& names);
// The window's title in GBK, at most 255 bytes, never waiting on another process. `pid` is
// the window's process when the caller knows it (0: looked up).
std::string window_title(HWND w, DWORD pid = 0);

// Path of the process's main module, at most 1023 bytes; "" for pid 0 or a process that
// cannot be opened.
std::string process_path(DWORD pid);
// True when w is among the visible top-level windows.
bool is_visible_top_level(HWND w);

// Inverts a 5-pixel frame along the window's outer edge, caption and borders included.
// Applying it twice restores the screen.
void invert_outline(HWND w);

}  // namespace tb::radar
