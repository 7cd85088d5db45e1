#include "platform/overlay_win.h"

#include <memory>

#include "platform/handles.h"

namespace tb {

namespace {

constexpr wchar_t kClass[] = L"TarvoOutlines";
constexpr UINT_PTR kLifeTimer = 1;

struct Outlines {
  GdiRegion band;  // what is drawn in the frames' colour, client coordinates
  COLORREF colour, edge;
};

HWND g_shown = nullptr;

void paint(HWND h, const Outlines& o) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  // The window's region is the frames: what is painted outside them is not there.
  GdiBrush ink(CreateSolidBrush(o.colour)), edge(CreateSolidBrush(o.edge));
  FillRect(dc, &ps.rcPaint, edge.get());
  FillRgn(dc, o.band.get(), ink.get());
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
  // there to draw and compose, however far apart the boxes lie. Boxes that overlap share one
  // frame around them all, so no frame covers another box.
  const int out = thickness + 1;
  RECT all = boxes.front();
  for (const RECT& b : boxes) UnionRect(&all, &all, &b);
  InflateRect(&all, out, out);
  GdiRegion inside(CreateRectRgn(0, 0, 0, 0)), band(CreateRectRgn(0, 0, 0, 0)), shape(CreateRectRgn(0, 0, 0, 0)),
      one(CreateRectRgn(0, 0, 0, 0));
  for (const RECT& b : boxes) {
    const int l = b.left - all.left, t = b.top - all.top, r = b.right - all.left, btm = b.bottom - all.top;
    for (auto [grow, into] : {std::pair{0, &inside}, {thickness, &band}, {out, &shape}}) {
      SetRectRgn(one.get(), l - grow, t - grow, r + grow, btm + grow);
      CombineRgn(into->get(), into->get(), one.get(), RGN_OR);
    }
  }
  CombineRgn(band.get(), band.get(), inside.get(), RGN_DIFF);
  CombineRgn(shape.get(), shape.get(), inside.get(), RGN_DIFF);
  auto o = std::make_unique<Outlines>(Outlines{std::move(band), colour, edge});
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
