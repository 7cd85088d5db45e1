#include <algorithm>

#include "imagetool/capture_dll/overlay.h"
#include "platform/double_buffer.h"

namespace capture {

namespace {

constexpr int kMagnifierSize = 80;  // design pixels; the cross runs through 39
constexpr int kZoom = 4;
constexpr UINT_PTR kMagnifierTimer = 1;  // 时钟1
constexpr UINT kMagnifierInterval = 80;

}  // namespace

bool MagnifierWindow::create(HWND owner) {
  int size = s_.sc(kMagnifierSize);
  return create_window(this, kMagnifierClass, 0, WS_EX_NOACTIVATE, {0, 0, size, size}, owner);
}

void MagnifierWindow::start() {
  SetTimer(hwnd(), kMagnifierTimer, kMagnifierInterval, nullptr);
  follow();
}

void MagnifierWindow::stop() { KillTimer(hwnd(), kMagnifierTimer); }

void MagnifierWindow::hide() { ShowWindow(hwnd(), SW_HIDE); }

void MagnifierWindow::follow() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  if (s_.modal() || s_.toolbar_covers(p)) {
    if (IsWindowVisible(hwnd())) hide();
    return;
  }
  const Session::VirtualScreen& v = s_.screen();
  int size = s_.sc(kMagnifierSize), off = s_.sc(20);
  int x = p.x + off, y = p.y + off;
  if (x + size > v.x + v.w) x = p.x - off - size;  // keep it on the screen, beside the pointer
  if (y + size > v.y + v.h) y = p.y - off - size;
  SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (p.x != shown_at_.x || p.y != shown_at_.y) {
    shown_at_ = p;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void MagnifierWindow::paint(HDC dc) {
  auto sc = [this](int v) { return s_.sc(v); };
  int size = sc(kMagnifierSize);
  RECT all = {0, 0, size, size};
  tb::DoubleBuffer buffer(dc, all);
  HDC mem = buffer.dc();
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  // Source pixels around the pointer, clipped to the frozen copy; the pointer's pixel lands on the cross.
  const Session::VirtualScreen& v = s_.screen();
  int zoom = sc(kZoom), span = (size + zoom - 1) / zoom;
  int cx = shown_at_.x - v.x, cy = shown_at_.y - v.y;
  int sx = cx - span / 2, sy = cy - span / 2;
  int dx = sc(39) - (span / 2) * zoom, dy = dx;
  int x0 = std::max(sx, 0), y0 = std::max(sy, 0), x1 = std::min(sx + span, v.w), y1 = std::min(sy + span, v.h);
  if (x1 > x0 && y1 > y0) {
    SetStretchBltMode(mem, COLORONCOLOR);
    StretchBlt(mem, dx + (x0 - sx) * zoom, dy + (y0 - sy) * zoom, (x1 - x0) * zoom, (y1 - y0) * zoom, s_.frozen(), x0,
               y0, x1 - x0, y1 - y0, SRCCOPY);
  }
  tb::GdiBrush cross(CreateSolidBrush(s_.frame()));
  RECT h = {sc(1), sc(39), sc(79), sc(39) + 1};  // 外形框1
  RECT vl = {sc(39), sc(1), sc(39) + 1, sc(79)};  // 外形框2
  FillRect(mem, &h, cross.get());
  FillRect(mem, &vl, cross.get());
  tb::GdiBrush border(CreateSolidBrush(RGB(40, 40, 40)));
  FrameRect(mem, &all, border.get());
}

LRESULT MagnifierWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_TIMER:
      if (wp == kMagnifierTimer) follow();
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;  // never in the way of the pointer
    case WM_CLOSE: s_.abandon(); return 0;
    default: break;
  }
  return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace capture
