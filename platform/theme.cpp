#include "platform/theme.h"

#include <algorithm>
#include <map>
#include <utility>

#include "base/encoding.h"
#include "platform/handles.h"

namespace tb::theme {

namespace {
int sc(int v, int pct) { return MulDiv(v, pct, 100); }
}  // namespace

HFONT ui_font(int px_height, bool bold) {
  static std::map<std::pair<int, bool>, GdiFont> cache;
  auto& f = cache[{px_height, bold}];
  if (!f) {
    f.reset(CreateFontW(-px_height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                        L"\x5FAE\x8F6F\x96C5\x9ED1"));  // 微软雅黑
  }
  return f.get();
}

void fill(HDC dc, const RECT& r, COLORREF c) {
  GdiBrush b(CreateSolidBrush(c));
  FillRect(dc, &r, b.get());
}

void frame(HDC dc, const RECT& r, COLORREF c) {
  GdiBrush b(CreateSolidBrush(c));
  FrameRect(dc, &r, b.get());
}

void text(HDC dc, const RECT& r, std::string_view gbk, COLORREF c, HFONT f, UINT format) {
  SelectGuard font(dc, f);
  int old_mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old = SetTextColor(dc, c);
  std::wstring w = to_wide(gbk);
  RECT rr = r;
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &rr, format | DT_NOPREFIX);
  SetTextColor(dc, old);
  SetBkMode(dc, old_mode);
}

void window_background(HDC dc, const RECT& r, std::string_view caption, int pct, bool caption_bar) {
  fill(dc, r, kBody);
  if (caption_bar) {
    RECT band{r.left, r.top, r.right, r.top + sc(kCaptionHeight, pct)};
    fill(dc, band, kAccent);
    RECT line{band.left, band.bottom - 1, band.right, band.bottom};
    fill(dc, line, kAccentDark);
    if (!caption.empty()) {
      RECT t{band.left + sc(10, pct), band.top, band.right, band.bottom};
      text(dc, t, caption, kCaptionText, ui_font(sc(13, pct), true), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
  }
  frame(dc, r, kAccentDark);
}

void button_face(HDC dc, const RECT& r, std::string_view label, Face f, int pct, bool on_caption) {
  COLORREF bg, fg;
  if (on_caption) {
    bg = f == Face::Normal ? kAccent : (f == Face::Hover ? kAccentDark : RGB(20, 60, 150));
    fg = kCaptionText;
  } else {
    bg = f == Face::Normal ? kPanel : (f == Face::Hover ? kHover : kPressed);
    fg = kText;
  }
  fill(dc, r, bg);
  if (!on_caption) frame(dc, r, f == Face::Normal ? kBorder : kAccent);
  text(dc, r, label, fg, ui_font(sc(12, pct)));
}

void minimise_glyph(HDC dc, const RECT& r, Face f, int pct) {
  fill(dc, r, f == Face::Normal ? kAccent : kAccentDark);
  int w = sc(10, pct), h = std::max(1, sc(2, pct));
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 + sc(2, pct);
  RECT bar{cx - w / 2, cy, cx - w / 2 + w, cy + h};
  fill(dc, bar, kCaptionText);
}

void close_glyph(HDC dc, const RECT& r, Face f, int pct) {
  fill(dc, r, f == Face::Normal ? kAccent : kDanger);
  int half = sc(4, pct);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  GdiPen pen(CreatePen(PS_SOLID, std::max(1, sc(2, pct)), kCaptionText));
  SelectGuard p(dc, pen.get());
  MoveToEx(dc, cx - half, cy - half, nullptr);
  LineTo(dc, cx + half + 1, cy + half + 1);
  MoveToEx(dc, cx + half, cy - half, nullptr);
  LineTo(dc, cx - half - 1, cy + half + 1);
}

}  // namespace tb::theme
