#include <cwchar>

#include "imagetool/capture_dll/overlay.h"
#include "platform/double_buffer.h"

namespace capture {

bool SelectionWindow::create() {
  const Session::VirtualScreen& v = s_.screen();
  return create_window(this, kSelectionClass, CS_DBLCLKS, 0, {v.x, v.y, v.x + v.w, v.y + v.h}, nullptr);
}

RECT SelectionWindow::label_rect(const RECT& s) const {
  int w = s_.sc(96), h = s_.sc(20), gap = s_.sc(4);
  RECT r = {s.left, s.top - gap - h, s.left + w, s.top - gap};
  if (r.top < 0) OffsetRect(&r, gap, s.top + gap - r.top);  // no room above: inside the top left corner
  if (r.right > s_.screen().w) OffsetRect(&r, s_.screen().w - r.right, 0);
  return r;
}

void SelectionWindow::invalidate_around(const RECT& s) {
  if (empty(s)) return;
  RECT r = s;
  InflateRect(&r, 3, 3);
  InvalidateRect(hwnd(), &r, FALSE);
  RECT l = label_rect(s);
  InvalidateRect(hwnd(), &l, FALSE);
}

void SelectionWindow::paint(HDC dc, const RECT& area) {
  int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  tb::DoubleBuffer buffer(dc, area);  // drawn in client coordinates
  HDC mem = buffer.dc();
  const RECT& sel = s_.selection();

  BitBlt(mem, area.left, area.top, w, h, s_.frozen(), area.left, area.top, SRCCOPY);
  bool has = !empty(sel);
  if (has) ExcludeClipRect(mem, sel.left, sel.top, sel.right, sel.bottom);
  BLENDFUNCTION dim = {AC_SRC_OVER, 0, 112, 0};
  AlphaBlend(mem, area.left, area.top, w, h, s_.black(), 0, 0, 1, 1, dim);
  SelectClipRgn(mem, nullptr);
  if (!has) return;

  tb::GdiBrush b(CreateSolidBrush(s_.frame()));
  RECT f = sel;
  for (int i = 0; i < 2; ++i) {  // two pixels just outside, so every selected pixel stays visible
    InflateRect(&f, 1, 1);
    FrameRect(mem, &f, b.get());
  }

  RECT l = label_rect(sel);
  tb::GdiBrush lb(CreateSolidBrush(RGB(40, 40, 40)));
  FillRect(mem, &l, lb.get());
  wchar_t text[40];
  swprintf(text, 40, L"%d x %d", static_cast<int>(sel.right - sel.left), static_cast<int>(sel.bottom - sel.top));
  tb::SelectGuard font(mem, s_.font());
  SetBkMode(mem, TRANSPARENT);
  SetTextColor(mem, RGB(255, 255, 255));
  DrawTextW(mem, text, -1, &l, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// A cross to select; over a selection that can be moved, the move arrows.
void SelectionWindow::set_cursor() {
  POINT p;
  GetCursorPos(&p);
  p.x -= s_.screen().x;
  p.y -= s_.screen().y;
  Session::State st = s_.state();
  bool inside = st == Session::State::Moving || (st == Session::State::Adjusting && PtInRect(&s_.selection(), p));
  SetCursor(LoadCursorW(nullptr, inside ? IDC_SIZEALL : IDC_CROSS));
}

LRESULT SelectionWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      paint(dc, ps.rcPaint);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR:
      if (LOWORD(lp) != HTCLIENT) break;
      set_cursor();
      return TRUE;
    case WM_KEYDOWN: s_.key(wp); return 0;
    case WM_LBUTTONDOWN: s_.press(client_point(lp)); return 0;
    case WM_MOUSEMOVE: s_.drag_to(client_point(lp)); return 0;
    case WM_LBUTTONUP: s_.release(client_point(lp)); return 0;
    case WM_LBUTTONDBLCLK: s_.double_press(client_point(lp)); return 0;
    case WM_RBUTTONUP: s_.abandon(); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) s_.capture_lost();
      return 0;
    case WM_CLOSE: s_.abandon(); return 0;
    case WM_DESTROY:
      if (!s_.done()) s_.abandon();
      break;
    default: break;
  }
  return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace capture
