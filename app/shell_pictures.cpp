#include "app/shell_pictures.h"

#include <algorithm>
#include <string>

#include "platform/handles.h"

namespace tb::pictures {

namespace {
using theme::Face;
int sc(int v, int pct) { return MulDiv(v, pct, 100); }

void line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void rounded(HDC dc, const RECT& r, COLORREF fill, COLORREF edge, int radius) {
  GdiBrush b(CreateSolidBrush(fill));
  GdiPen p(CreatePen(PS_SOLID, 1, edge));
  SelectGuard sb(dc, b.get());
  SelectGuard sp(dc, p.get());
  RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
}

void hover_back(HDC dc, const RECT& r, Face f, int pct) {
  theme::fill(dc, r, theme::kBody);
  if (f != Face::Normal) rounded(dc, r, f == Face::Hover ? theme::kHover : theme::kPressed, theme::kAccentLight, sc(6, pct));
}
}  // namespace

Painter caption_label(std::string_view label, int pct) {
  std::string l(label);
  return [l, pct](HDC dc, const RECT& r, Face f) { theme::button_face(dc, r, l, f, pct, true); };
}

Painter minimise_button(int pct) {
  return [pct](HDC dc, const RECT& r, Face f) { theme::minimise_glyph(dc, r, f, pct); };
}

Painter close_button(int pct) {
  return [pct](HDC dc, const RECT& r, Face f) { theme::close_glyph(dc, r, f, pct); };
}

Painter avatar(int pct) {
  return [pct](HDC dc, const RECT& r, Face) {
    theme::fill(dc, r, theme::kBody);
    RECT c = r;
    InflateRect(&c, -sc(3, pct), -sc(3, pct));
    GdiBrush b(CreateSolidBrush(theme::kAccent));
    GdiPen p(CreatePen(PS_SOLID, sc(2, pct), theme::kAccentLight));
    SelectGuard sb(dc, b.get());
    SelectGuard sp(dc, p.get());
    Ellipse(dc, c.left, c.top, c.right, c.bottom);
    theme::text(dc, c, "T", theme::kCaptionText, theme::ui_font(sc(22, pct), true));
  };
}

Painter tab_selected(std::string_view label, int pct) {
  std::string l(label);
  return [l, pct](HDC dc, const RECT& r, Face) {
    theme::fill(dc, r, theme::kBody);
    RECT card{r.left + sc(4, pct), r.top, r.right - sc(4, pct), r.bottom};
    theme::fill(dc, card, theme::kPanel);
    RECT bar{card.left, card.top, card.right, card.top + std::max(2, sc(3, pct))};
    theme::fill(dc, bar, theme::kAccent);
    theme::text(dc, card, l, theme::kAccent, theme::ui_font(sc(13, pct), true));
  };
}

Painter tab_idle(std::string_view label, int pct) {
  std::string l(label);
  return [l, pct](HDC dc, const RECT& r, Face f) {
    theme::fill(dc, r, theme::kBody);
    RECT card{r.left + sc(4, pct), r.top + sc(3, pct), r.right - sc(4, pct), r.bottom};
    if (f != Face::Normal) theme::fill(dc, card, f == Face::Hover ? theme::kHover : theme::kPressed);
    theme::text(dc, card, l, theme::kMuted, theme::ui_font(sc(13, pct)));
  };
}

Painter search_frame(int pct) {
  return [pct](HDC dc, const RECT& r, Face) {
    theme::fill(dc, r, theme::kBody);
    rounded(dc, r, theme::kPanel, theme::kBorder, sc(8, pct));
    // Magnifier on the right.
    int cx = r.right - sc(22, pct), cy = (r.top + r.bottom) / 2 - sc(1, pct), rad = sc(5, pct);
    GdiPen p(CreatePen(PS_SOLID, std::max(1, sc(2, pct)), theme::kMuted));
    SelectGuard sp(dc, p.get());
    SelectGuard sb(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, cx - rad, cy - rad, cx + rad, cy + rad);
    line(dc, cx + rad - 1, cy + rad - 1, cx + rad + sc(4, pct), cy + rad + sc(4, pct));
  };
}

Painter tool(ToolIcon icon, int pct) {
  return [icon, pct](HDC dc, const RECT& r, Face f) {
    hover_back(dc, r, f, pct);
    int w = r.right - r.left, h = r.bottom - r.top;
    int s = std::min(w, h);
    int cx = r.left + w / 2, cy = r.top + h / 2;
    int u = std::max(1, s / 12);  // one icon unit
    GdiPen pen(CreatePen(PS_SOLID, std::max(1, sc(2, pct)), theme::kAccent));
    SelectGuard sp(dc, pen.get());
    SelectGuard sb(dc, GetStockObject(NULL_BRUSH));
    switch (icon) {
      case ToolIcon::Radar:
        Ellipse(dc, cx - 4 * u, cy - 4 * u, cx + 4 * u + 1, cy + 4 * u + 1);
        Ellipse(dc, cx - 2 * u, cy - 2 * u, cx + 2 * u + 1, cy + 2 * u + 1);
        line(dc, cx, cy - 5 * u, cx, cy + 5 * u + 1);
        line(dc, cx - 5 * u, cy, cx + 5 * u + 1, cy);
        break;
      case ToolIcon::ImageTool: {
        const COLORREF cols[4] = {RGB(231, 76, 60), RGB(46, 174, 96), RGB(52, 120, 230), RGB(243, 178, 40)};
        for (int i = 0; i < 4; ++i) {
          int x = cx - 4 * u + (i % 2) * 4 * u + (i % 2), y = cy - 4 * u + (i / 2) * 4 * u + (i / 2);
          RECT q{x, y, x + 4 * u, y + 4 * u};
          theme::fill(dc, q, cols[i]);
        }
        break;
      }
      case ToolIcon::CodeManager:
        line(dc, cx - 2 * u, cy - 4 * u, cx - 5 * u, cy);
        line(dc, cx - 5 * u, cy, cx - 2 * u, cy + 4 * u);
        line(dc, cx + 2 * u, cy - 4 * u, cx + 5 * u, cy);
        line(dc, cx + 5 * u, cy, cx + 2 * u, cy + 4 * u);
        line(dc, cx + u, cy - 5 * u, cx - u, cy + 5 * u);
        break;
      case ToolIcon::Notepad:
        Rectangle(dc, cx - 4 * u, cy - 5 * u, cx + 4 * u + 1, cy + 5 * u + 1);
        for (int i = -2; i <= 2; i += 2) line(dc, cx - 2 * u, cy + i * u, cx + 2 * u + 1, cy + i * u);
        break;
      case ToolIcon::Calculator:
        Rectangle(dc, cx - 4 * u, cy - 5 * u, cx + 4 * u + 1, cy + 5 * u + 1);
        line(dc, cx - 2 * u, cy - 3 * u, cx + 2 * u + 1, cy - 3 * u);
        for (int yy = 0; yy < 2; ++yy)
          for (int xx = 0; xx < 3; ++xx) {
            RECT k{cx - 3 * u + xx * 2 * u + xx / 2, cy + yy * 2 * u, cx - 3 * u + xx * 2 * u + u + xx / 2,
                   cy + yy * 2 * u + u};
            theme::fill(dc, k, theme::kAccent);
          }
        break;
      case ToolIcon::Paint: {
        Ellipse(dc, cx - 5 * u, cy - 4 * u, cx + 5 * u + 1, cy + 4 * u + 1);
        const COLORREF cols[3] = {RGB(231, 76, 60), RGB(46, 174, 96), RGB(52, 120, 230)};
        for (int i = 0; i < 3; ++i) {
          int x = cx - 3 * u + i * 2 * u + i, y = cy - 2 * u;
          RECT q{x, y, x + u + 1, y + u + 1};
          theme::fill(dc, q, cols[i]);
        }
        break;
      }
    }
  };
}

Painter contact_card(int pct) {
  return [pct](HDC dc, const RECT& r, Face f) {
    theme::fill(dc, r, theme::kBody);
    rounded(dc, r, f == Face::Normal ? theme::kPanel : theme::kHover, f == Face::Normal ? theme::kBorder : theme::kAccent,
            sc(8, pct));
    RECT bar{r.left + sc(8, pct), r.top + sc(10, pct), r.left + sc(11, pct), r.bottom - sc(10, pct)};
    theme::fill(dc, bar, theme::kAccent);
    RECT t1{r.left + sc(20, pct), r.top + sc(6, pct), r.right - sc(6, pct), r.top + sc(28, pct)};
    theme::text(dc, t1, "联系作者", theme::kText, theme::ui_font(sc(14, pct), true), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    RECT t2{r.left + sc(20, pct), r.top + sc(27, pct), r.right - sc(6, pct), r.bottom - sc(5, pct)};
    theme::text(dc, t2, "脚本定制 · 问题咨询", theme::kMuted, theme::ui_font(sc(12, pct)),
                DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  };
}

}  // namespace tb::pictures
