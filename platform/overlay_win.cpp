#include "platform/overlay_win.h"

#include <memory>

#include "platform/handles.h"

namespace tb {

namespace {

constexpr wchar_t kClass[] = L"TarvoOutlines";
constexpr UINT_PTR kLifeTimer = 1;

struct Outlines {
  std::vector<RECT> frames;  // outer edges, client coordinates
  COLORREF colour, edge;
  int thickness;
};

HWND g_shown = nullptr;

void paint(HWND h, const Outlines& o) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  // The window's region is the frames: what is painted outside them is not there.
  GdiBrush ink(CreateSolidBrush(o.colour)), edge(CreateSolidBrush(o.edge));
  FillRect(dc, &ps.rcPaint, edge.get());
  for (const RECT& f : o.frames) {
    const RECT r{f.left + 1, f.top + 1, f.right - 1, f.bottom - 1};
    const int t = o.thickness;
    const RECT sides[] = {{r.left, r.top, r.right, r.top + t},
                          {r.left, r.bottom - t, r.right, r.bottom},
                          {r.left, r.top + t, r.left + t, r.bottom - t},
                          {r.right - t, r.top + t, r.right, r.bottom - t}};
    for (const RECT& s : sides) FillRect(dc, &s, ink.get());
  }
  EndPaint(h, &ps);
}

LRESULT CALLBACK outlines_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* o = reinterpret_cast<Outlines*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE: {  // the window owns its outlines from here to WM_NCDESTROY
      auto* given = static_cast<std::unique_ptr<Outlines>*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(given->release()));
      break;
    }
    case WM_PAINT:
      if (o) paint(h, *o);
      else ValidateRect(h, nullptr);
      return 0;
    case WM_TIMER:
      if (wp == kLifeTimer) DestroyWindow(h);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_NCDESTROY:
      delete o;
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      if (g_shown == h) g_shown = nullptr;
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

bool show_outlines(const std::vector<RECT>& boxes, COLORREF colour, COLORREF edge, int thickness, unsigned ms) {
  hide_outlines();
  if (boxes.empty() || thickness <= 0) return false;
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = outlines_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassW(&wc) != 0;
  }();
  if (!registered) return false;
  // One window over all the frames, cut to them by its region: only the frames' pixels are
  // there to draw and compose, however far apart the boxes lie.
  const int out = thickness + 1;
  RECT all = boxes.front();
  for (const RECT& b : boxes) UnionRect(&all, &all, &b);
  InflateRect(&all, out, out);
  auto o = std::make_unique<Outlines>(Outlines{{}, colour, edge, thickness});
  GdiRegion shape(CreateRectRgn(0, 0, 0, 0));
  for (RECT f : boxes) {
    OffsetRect(&f, -all.left, -all.top);
    GdiRegion ring(CreateRectRgn(f.left - out, f.top - out, f.right + out, f.bottom + out)),
        inside(CreateRectRgn(f.left, f.top, f.right, f.bottom));
    CombineRgn(ring.get(), ring.get(), inside.get(), RGN_DIFF);
    CombineRgn(shape.get(), shape.get(), ring.get(), RGN_OR);
    InflateRect(&f, out, out);
    o->frames.push_back(f);
  }
  HWND h = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                           kClass, L"", WS_POPUP, all.left, all.top, all.right - all.left, all.bottom - all.top,
                           nullptr, nullptr, GetModuleHandleW(nullptr), &o);
  if (!h) return false;
  g_shown = h;
  // Layered and transparent: clicks on the frames go to the windows beneath them.
  SetLayeredWindowAttributes(h, 0, 255, LWA_ALPHA);
  if (SetWindowRgn(h, shape.get(), FALSE)) shape.release();  // the system owns it now
  SetTimer(h, kLifeTimer, ms, nullptr);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  UpdateWindow(h);  // drawn now, before a message box takes the thread
  return true;
}

void hide_outlines() {
  if (g_shown) DestroyWindow(g_shown);
}

HWND outlines_window() { return g_shown; }

}  // namespace tb
