#include "imagetool/capture_dll/toolbar.h"

#include <initializer_list>

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

}  // namespace capture
