#include "imagetool/capture_dll/toolbar.h"

#include <initializer_list>

#include "imagetool/capture_dll/overlay.h"
#include "platform/double_buffer.h"
#include "platform/handles.h"

namespace capture {

namespace {

constexpr COLORREF kBack = RGB(248, 248, 248), kBorder = RGB(168, 168, 168), kGlyph = RGB(64, 64, 64);
constexpr COLORREF kHot = RGB(224, 236, 250), kHotBorder = RGB(150, 185, 230), kPressed = RGB(198, 218, 244);

int sc(int v, int dpi) { return MulDiv(v, dpi, 96); }

RECT button_rect(const ToolButton& b, int dpi) {
  return {sc(b.x, dpi), sc(b.y, dpi), sc(b.x + b.w, dpi), sc(b.y + b.h, dpi)};
}

COLORREF shade(COLORREF c, int percent) {  // percent < 100 darkens, > 100 lightens towards white
  auto ch = [percent](int v) { return percent <= 100 ? v * percent / 100 : v + (255 - v) * (percent - 100) / 100; };
  return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

void fill(HDC dc, const RECT& r, COLORREF c) {
  tb::GdiBrush b(CreateSolidBrush(c));
  FillRect(dc, &r, b.get());
}

void frame(HDC dc, const RECT& r, COLORREF c) {
  tb::GdiBrush b(CreateSolidBrush(c));
  FrameRect(dc, &r, b.get());
}

// Glyphs are designed on the 24 x 22 button around its centre (12, 11), in design pixels.
// The glyph pen, selected for one scope.
struct Pen {
  Pen(HDC dc, int width) : pen(CreatePen(PS_SOLID, width, kGlyph)), select(dc, pen.get()) {}
  tb::GdiPen pen;
  tb::SelectGuard select;
};

// A solid glyph shape in the glyph colour.
void fill_polygon(HDC dc, const POINT* pts, int n) {
  tb::GdiBrush b(CreateSolidBrush(kGlyph));
  tb::SelectGuard brush(dc, b.get());
  Pen pen(dc, 1);
  Polygon(dc, pts, n);
}

// One arrow outline pointing left; the other directions turn it.

void arrow(HDC dc, const RECT& r, int dpi, Command dir) {
  static constexpr POINT shape[] = {{-6, 0}, {-1, -5}, {-1, -2}, {6, -2}, {6, 2}, {-1, 2}, {-1, 5}};
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  POINT pts[7];
  for (int i = 0; i < 7; ++i) {
    POINT p = shape[i];
    switch (dir) {
      case Command::Right: p = {-p.x, p.y}; break;
      case Command::Up: p = {p.y, p.x}; break;
      case Command::Down: p = {p.y, -p.x}; break;
      default: break;
    }
    pts[i] = {cx + sc(p.x, dpi), cy + sc(p.y, dpi)};
  }
  fill_polygon(dc, pts, 7);
}

void undo_glyph(HDC dc, const RECT& r, int dpi) {
  auto X = [&](int v) { return r.left + sc(v, dpi); };
  auto Y = [&](int v) { return r.top + sc(v, dpi); };
  {
    Pen pen(dc, sc(2, dpi));
    MoveToEx(dc, X(9), Y(7), nullptr);
    LineTo(dc, X(14), Y(7));
    Arc(dc, X(10), Y(7), X(19), Y(16), X(14), Y(16), X(14), Y(7));  // the return bend on the right
    MoveToEx(dc, X(14), Y(16), nullptr);
    LineTo(dc, X(8), Y(16));
  }
  POINT head[] = {{X(5), Y(7)}, {X(10), Y(3)}, {X(10), Y(11)}};
  fill_polygon(dc, head, 3);
}

void save_glyph(HDC dc, const RECT& r, int dpi) {  // an arrow down into a tray
  auto X = [&](int v) { return r.left + sc(v, dpi); };
  auto Y = [&](int v) { return r.top + sc(v, dpi); };
  {
    Pen pen(dc, sc(2, dpi));
    MoveToEx(dc, X(12), Y(4), nullptr);
    LineTo(dc, X(12), Y(11));
    MoveToEx(dc, X(6), Y(12), nullptr);
    LineTo(dc, X(6), Y(17));
    LineTo(dc, X(18), Y(17));
    LineTo(dc, X(18), Y(12));
  }
  POINT head[] = {{X(8), Y(10)}, {X(16), Y(10)}, {X(12), Y(14)}};
  fill_polygon(dc, head, 3);
}

void close_glyph(HDC dc, const RECT& r, int dpi) {
  auto X = [&](int v) { return r.left + sc(v, dpi); };
  auto Y = [&](int v) { return r.top + sc(v, dpi); };
  Pen pen(dc, sc(2, dpi));
  MoveToEx(dc, X(7), Y(6), nullptr);
  LineTo(dc, X(17), Y(16));
  MoveToEx(dc, X(17), Y(6), nullptr);
  LineTo(dc, X(7), Y(16));
}

}  // namespace

int toolbar_hit(POINT p, int dpi) {
  for (int i = 0; i < kToolButtonCount; ++i) {
    RECT r = button_rect(kToolButtons[i], dpi);
    if (PtInRect(&r, p)) return i;
  }
  return -1;
}

void paint_toolbar(HDC dc, int dpi, int hot, int pressed, COLORREF accent, HFONT font) {
  RECT all = {0, 0, sc(kToolbarWidth, dpi), sc(kToolbarHeight, dpi)};
  fill(dc, all, kBack);
  frame(dc, all, kBorder);
  for (int sep : {107, 193}) {  // between the moves and the actions, and before 完成
    RECT s = {sc(sep, dpi), sc(6, dpi), sc(sep, dpi) + 1, sc(22, dpi)};
    fill(dc, s, RGB(214, 214, 214));
  }
  for (int i = 0; i < kToolButtonCount; ++i) {
    const ToolButton& b = kToolButtons[i];
    RECT r = button_rect(b, dpi);
    if (b.command == Command::Finish) {
      fill(dc, r, i == pressed ? shade(accent, 80) : i == hot ? shade(accent, 115) : accent);
      tb::SelectGuard f(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      DrawTextW(dc, L"完成", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      continue;
    }
    if (i == pressed || i == hot) {
      fill(dc, r, i == pressed ? kPressed : kHot);
      frame(dc, r, kHotBorder);
    }
    switch (b.command) {
      case Command::Undo: undo_glyph(dc, r, dpi); break;
      case Command::Save: save_glyph(dc, r, dpi); break;
      case Command::Close: close_glyph(dc, r, dpi); break;
      default: arrow(dc, r, dpi, b.command); break;
    }
  }
}

// ---- The toolbar's window ----

bool ToolbarWindow::create(HWND owner) {
  return create_window(this, kToolbarClass, 0, WS_EX_NOACTIVATE, {0, 0, s_.sc(kToolbarWidth), s_.sc(kToolbarHeight)},
                       owner);
}

void ToolbarWindow::show(bool show) {
  hot_ = pressed_ = -1;
  if (show) {
    place();
  } else {
    ShowWindow(hwnd(), SW_HIDE);
  }
}

// Under the selection's bottom right corner on its monitor; above it, or inside it, where there is no room.
void ToolbarWindow::place() {
  int w = s_.sc(kToolbarWidth), h = s_.sc(kToolbarHeight), gap = s_.sc(4);
  const RECT& sel = s_.selection();
  const Session::VirtualScreen& v = s_.screen();
  RECT s = {sel.left + v.x, sel.top + v.y, sel.right + v.x, sel.bottom + v.y};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint({s.right - 1, s.bottom - 1}, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT& m = mi.rcMonitor;
  int x = s.right - w, y = s.bottom + gap;
  if (y + h > m.bottom) y = s.top - gap - h;    // no room below: above
  if (y < m.top) y = s.bottom - gap - h;        // nor above: inside, along the bottom
  x = x + w > m.right ? m.right - w : x < m.left ? m.left : x;
  y = y + h > m.bottom ? m.bottom - h : y < m.top ? m.top : y;
  SetWindowPos(hwnd(), HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

bool ToolbarWindow::covers(POINT screen) const {
  RECT r;
  return IsWindowVisible(hwnd()) && GetWindowRect(hwnd(), &r) && PtInRect(&r, screen);
}

void ToolbarWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  {
    RECT r;
    GetClientRect(hwnd(), &r);
    tb::DoubleBuffer buffer(dc, r);
    paint_toolbar(buffer.dc(), s_.dpi(), hot_, pressed_, s_.frame(), s_.font());
  }
  EndPaint(hwnd(), &ps);
}

void ToolbarWindow::on_move(POINT p) {
  int hot = toolbar_hit(p, s_.dpi());
  if (!tracking_) {
    TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, hwnd(), 0};
    tracking_ = TrackMouseEvent(&t);
  }
  if (hot != hot_) {
    hot_ = hot;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  s_.follow_pointer();
}

void ToolbarWindow::on_press(POINT p) {
  pressed_ = toolbar_hit(p, s_.dpi());
  SetCapture(hwnd());
  InvalidateRect(hwnd(), nullptr, FALSE);
}

// A button acts when released over the button it was pressed on.
void ToolbarWindow::on_release(POINT p) {
  int hit = toolbar_hit(p, s_.dpi()), was = pressed_;
  pressed_ = -1;
  ReleaseCapture();
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (hit >= 0 && hit == was) s_.command(kToolButtons[hit].command);
}

LRESULT ToolbarWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // the keyboard stays with the selection window
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_ARROW)); return TRUE;
    case WM_MOUSEMOVE: on_move(client_point(lp)); return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      hot_ = -1;
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: on_press(client_point(lp)); return 0;
    case WM_LBUTTONUP: on_release(client_point(lp)); return 0;
    case WM_CLOSE: s_.abandon(); return 0;
    default: break;
  }
  return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace capture
