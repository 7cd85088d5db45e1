// Inside the window framework: the record of one control, shared by the framework's files.
#pragma once
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/picture.h"
#include "platform/window.h"

namespace tb {

struct Window::Ctl {
  Window* owner = nullptr;
  const ControlDef* def = nullptr;
  std::size_t index = 0;
  HWND hwnd = nullptr;
  Painter painter;
  theme::Face face = theme::Face::Normal;
  bool pressed = false;
  bool tracking = false;
  bool swallow_char = false;  // the key's character after a handled KeyDown
  bool editing = false;       // a tree label edit is open
  HCURSOR cursor = nullptr;
  std::vector<HWND> pages;
  int page = 0;
  int line_step = 1, page_step = 10;
  std::vector<std::string> items;  // pop-up menu
  Dib dib;                          // drawing panel
  bool live = false;                // a live box (style::kLiveBox)
  std::optional<std::wstring> held; // a live box's text the edit has not been given yet
  bool handing = false;             // the held text is going into the edit
  bool frame_in_client = false;     // the edit draws its border inside its client area
  bool tip_added = false;
  bool drawn = false;   // drawn by its container (style::kDrawn): no window of its own
  bool placed = false;  // a drawn row whose page has been made
  bool shown = true;    // a drawn row's visibility
  std::string label;    // a drawn row's text
  int id() const { return kFirstControlId + static_cast<int>(index); }
};

namespace detail {
extern HINSTANCE g_inst;
// Loads the common controls (trees, tooltips) once, on first need.
void need_common_controls();
constexpr wchar_t kWindowClass[] = L"TbWindow";
constexpr wchar_t kContainerClass[] = L"TbContainer";

inline bool is_container(Kind k) {
  return k == Kind::PictureButton || k == Kind::ShapeBox || k == Kind::PictureBox || k == Kind::DrawingPanel ||
         k == Kind::GroupBox || k == Kind::Tab;
}

// A window whose frame is all client area: WM_NCPAINT has nothing to draw there, yet its
// default handling fetches a window DC, which under Wine is a round trip to the server for
// every window of the first paint.
inline bool lacks_frame(HWND h) {
  RECT w, c;
  return GetWindowRect(h, &w) && GetClientRect(h, &c) && w.right - w.left == c.right && w.bottom - w.top == c.bottom;
}

// Runs a WM_PAINT: paint(dc, client rectangle) between BeginPaint and EndPaint.
template <class Paint>
void paint_client(HWND h, Paint&& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  paint(dc, rc);
  EndPaint(h, &ps);
}
}  // namespace detail

}  // namespace tb
