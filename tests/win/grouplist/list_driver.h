// Drives a list control on a real window under Wine: a frameless parent the list fills, items
// with flat-colour pictures, real mouse input, screen pixels and an event log. Shared by the
// drawing tests and the paint benchmark.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/bmp.h"
#include "widgets/grouplist/grouplist.h"
#include "widgets/grouplist/grouplist_win.h"
#include "widgets/grouplist/instance.h"
#include "widgets/grouplist/listbox_win.h"
#include "tests/support/win_test_util.h"

namespace list_test {

using namespace tb::grouplist;

// A bottom-up 24-bit BMP; pixels left of split get `left`, the rest `right` (0x00RRGGBB).
inline std::string bmp_file(int w, int h, DWORD right, DWORD left = 0xFFFFFFFF, int split = 0) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[static_cast<std::size_t>(y * w + x)] = x < split ? left : right;
  return tb::bmp24_file(px.data(), w, h);
}

// Pumps this thread's messages for at least `ms` milliseconds.
inline void pump(DWORD ms = 0) { tb::test::pump(ms); }

struct Event {
  int kind;  // 1..9 in the handlers' order
  int a, b, c;
  bool operator==(const Event& o) const { return kind == o.kind && a == o.a && b == o.b && c == o.c; }
};

class ListDriver {
 public:
  // A popup parent at (x, y), so its window and client rectangles are the same.
  ListDriver(int view, bool enlarge, int w = 240, int h = 420, int x = 40, int y = 40, Colour bg = 0xFFFFFF) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TbListDriverParent";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, wc.lpszClassName, L"list", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ok = parent && list.Create(reinterpret_cast<std::intptr_t>(parent), 0, view, enlarge, bg);
    if (!ok) return;
    EventHandlers hs;
    std::array<EventHandler*, 9> slots{&hs.item_clicked,  &hs.item_double_clicked,  &hs.item_right_clicked,
                                       &hs.row_entered,   &hs.row_left,             &hs.group_clicked,
                                       &hs.group_double_clicked, &hs.group_right_clicked, &hs.service_icon_clicked};
    for (int k = 0; k < 9; ++k)
      *slots[static_cast<std::size_t>(k)] = [this, k](int a, int b, int c) { events.push_back({k + 1, a, b, c}); };
    list.SetEventHandlers(hs);
    pump(30);
  }
  ~ListDriver() {
    if (parent) DestroyWindow(parent);
  }
  ListDriver(const ListDriver&) = delete;
  ListDriver& operator=(const ListDriver&) = delete;

  HWND hwnd() const { return reinterpret_cast<HWND>(list.list_window()); }
  Instance& in() const { return *list.instance(); }
  ListBoxWindow& box() const { return dynamic_cast<ListBoxWindow&>(in().window()); }

  int group(const char* name, bool expanded, Colour colour = 0) { return list.AddGroup(name, expanded, colour); }
  int item(int group, const char* name, bool online, DWORD avatar_rgb = 0x3070C0, std::vector<int> icons = {},
           const char* signature = "", Colour name_colour = 0) {
    ItemRecord r;
    r.group = group;
    r.name = name;
    r.online = online;
    r.signature = signature;
    r.name_colour = name_colour;
    r.avatar = bmp_file(32, 32, avatar_rgb);
    return list.AddItem(r, icons, !icons.empty()) ? r.handle : 0;
  }

  RECT row_rect(int row) const {
    RECT r{};
    SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  int height(int row) const { return static_cast<int>(SendMessageW(hwnd(), LB_GETITEMHEIGHT, row, 0)); }
  // A pixel of the list as shown, 0x00BBGGRR, at row-relative (x, y).
  COLORREF px(int row, int x, int y) const {
    RECT r = row_rect(row);
    HDC dc = GetDC(hwnd());
    COLORREF c = GetPixel(dc, r.left + x, r.top + y);
    ReleaseDC(hwnd(), dc);
    return c;
  }
  // Screen point of the row-relative (x, y).
  POINT at(int row, int x, int y) const {
    RECT r = row_rect(row);
    POINT p{r.left + x, r.top + y};
    ClientToScreen(hwnd(), &p);
    return p;
  }
  // Mouse messages straight to the list, in client coordinates.
  void send(UINT msg, int x, int y, WPARAM keys = 0) const { SendMessageW(hwnd(), msg, keys, MAKELPARAM(x, y)); }
  void click(int x, int y) const {
    send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    send(WM_LBUTTONUP, x, y);
  }

  HWND parent = nullptr;
  GroupList list{win32_list_host()};
  bool ok = false;
  std::vector<Event> events;
};

// Real pointer input through Wine.
inline void move_to(POINT p) { tb::test::move_pointer(p); }
inline void buttons(std::initializer_list<DWORD> flags) {
  for (DWORD f : flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = f;
    SendInput(1, &in, sizeof in);
  }
}

}  // namespace list_test
