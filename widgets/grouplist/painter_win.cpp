#include "widgets/grouplist/painter_win.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "platform/handles.h"
#include "platform/theme.h"
#include "widgets/grouplist/icon_layout.h"
#include "widgets/grouplist/instance.h"

namespace tb::grouplist {

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kSignature = 0x606060;

// Pixel centre (px, py) inside the triangle a, b, c (any winding), strictly.
bool inside(double px, double py, const double (&t)[6]) {
  auto side = [&](int i, int j) { return (t[j] - t[i]) * (py - t[i + 1]) - (t[j + 1] - t[i + 1]) * (px - t[i]); };
  double d1 = side(0, 2), d2 = side(2, 4), d3 = side(4, 0);
  return (d1 > 0 && d2 > 0 && d3 > 0) || (d1 < 0 && d2 < 0 && d3 < 0);
}

// 0x00BBGGRR as a 32-bit DIB pixel (0x00RRGGBB).
std::uint32_t to_pixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Two triangles in the flat theme's blues, outlined a shade darker, drawn at the cell size
// asked for so they stay crisp at any DPI. Pixels, collapsed cell above expanded.
std::vector<std::uint32_t> make_arrow(int cell) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(cell) * 2 * static_cast<std::size_t>(cell));
  const double k = cell / 11.0;
  // Right-pointing (collapsed) above, down-pointing (expanded) below, in 11-pixel units.
  const double right[6] = {3 * k, 0.5 * k, 8.5 * k, 5.5 * k, 3 * k, 10.5 * k};
  const double down[6] = {0.5 * k, 3 * k, 5.5 * k, 8.5 * k, 10.5 * k, 3 * k};
  for (int c = 0; c < 2; ++c) {
    const auto& t = c == 0 ? right : down;
    auto in = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < cell && y < cell && inside(x + 0.5, y + 0.5, t);
    };
    for (int y = 0; y < cell; ++y)
      for (int x = 0; x < cell; ++x) {
        COLORREF col = kMagenta;
        if (in(x, y)) {
          bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
          col = edge ? theme::kAccentDark : theme::kAccent;
        }
        px[static_cast<std::size_t>((c * cell + y) * cell + x)] = to_pixel(col);
      }
  }
  return px;
}

const std::vector<std::uint32_t>& arrow_pixels(int cell) {
  static std::map<int, std::vector<std::uint32_t>> cache;  // one per size, made once per process
  auto it = cache.find(cell);
  if (it == cache.end()) it = cache.emplace(cell, make_arrow(cell)).first;
  return it->second;
}

// The row being composed, drawn in row coordinates. GDI on dc takes the list's coordinates
// (the buffer maps them onto its bitmap), so the helpers add the row's place (left, top); the
// keyed copies work on px, w pixels a line.
struct Row {
  HDC dc;
  std::uint32_t* px;
  int left, top, w, h;
  int dpi;
  int sc(int v) const { return MulDiv(v, dpi, 96); }
  RECT at(int l, int t, int r, int b) const { return {left + l, top + t, left + r, top + b}; }
};

// Copies the sw x sh block at (sx, sy) of src (stride pixels a line), scaled to dw x dh at
// (dx, dy), leaving out pixels of the key colour.
void keyed_copy(const Row& c, int dx, int dy, int dw, int dh, const std::uint32_t* src, int stride, int sx, int sy,
                int sw, int sh, COLORREF key) {
  const std::uint32_t k = to_pixel(key);
  for (int y = 0; y < dh; ++y) {
    int ty = dy + y;
    if (ty < 0 || ty >= c.h) continue;
    const std::uint32_t* line = src + static_cast<std::size_t>(sy + y * sh / dh) * static_cast<std::size_t>(stride);
    std::uint32_t* out = c.px + static_cast<std::size_t>(ty) * static_cast<std::size_t>(c.w);
    for (int x = 0; x < dw; ++x) {
      int tx = dx + x;
      if (tx < 0 || tx >= c.w) continue;
      std::uint32_t p = line[sx + x * sw / dw] & 0xFFFFFF;
      if (p != k) out[tx] = p;
    }
  }
}

void fill(const Row& row, int l, int t, int r, int b, COLORREF c) {
  RECT rc = row.at(l, t, r, b);
  GdiBrush br(CreateSolidBrush(c));
  FillRect(row.dc, &rc, br.get());
}

void frame(const Row& row, int l, int t, int r, int b, COLORREF c) {
  RECT rc = row.at(l, t, r, b);
  GdiBrush br(CreateSolidBrush(c));
  FrameRect(row.dc, &rc, br.get());
}

void text(const Row& row, const std::string& gbk, int l, int t, int r, int b, COLORREF c, UINT format) {
  if (gbk.empty()) return;
  RECT rc = row.at(l, t, r, b);
  SetTextColor(row.dc, c);
  std::wstring w = to_wide(gbk);
  DrawTextW(row.dc, w.c_str(), static_cast<int>(w.size()), &rc, format | DT_NOPREFIX | DT_SINGLELINE);
}

// The item layout by the row's real height: 54 large, 30 medium, 20 small (in design pixels).
enum class Layout { Large, Medium, Small };
Layout layout_for(int height, int dpi) {
  int design = MulDiv(height, 96, dpi);
  return design >= 42 ? Layout::Large : design >= 25 ? Layout::Medium : Layout::Small;
}

// The row's rectangle in the list: the given one, or the list box's while the row is in sight.
// False when there is none or it is empty.
bool row_rect(HWND list, int row, const RECT* given, RECT& rc) {
  if (given) {
    rc = *given;
  } else {
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)) == LB_ERR)
      return false;
    RECT client;
    GetClientRect(list, &client);
    if (rc.bottom <= client.top || rc.top >= client.bottom) return false;  // scrolled out of sight
  }
  return rc.right > rc.left && rc.bottom > rc.top;
}

// The row's background and its shape in the colours of its state.
void draw_shape(const Row& r, const Instance& in, int row, bool group) {
  fill(r, 0, 0, r.w, r.h, in.background);
  const RowStyle& st = group ? in.group_style : in.item_style;
  COLORREF frame_c = st.normal_frame, fill_c = st.normal_fill;
  if (row == in.selected_row) {
    frame_c = st.selected_frame, fill_c = st.selected_fill;
  } else if (row == in.hover_row) {
    frame_c = st.hover_frame, fill_c = st.hover_fill;
  }
  if (st.shape == 1) {
    fill(r, 0, 0, r.w, r.h, fill_c);
    frame(r, 0, 0, r.w, r.h, frame_c);
  } else {
    GdiPen pen(CreatePen(PS_SOLID, 1, frame_c));
    GdiBrush brush(CreateSolidBrush(fill_c));
    SelectGuard p(r.dc, pen.get());
    SelectGuard b(r.dc, brush.get());
    RoundRect(r.dc, r.left, r.top, r.left + r.w, r.top + r.h, r.sc(5), r.sc(5));
  }
}

// A group: the arrow of its state and its name.
void draw_group(const Row& r, const ElementRecord& e) {
  const int cell = r.sc(11);
  GdiFlush();
  keyed_copy(r, r.sc(5), (r.h - cell) / 2, cell, cell, arrow_pixels(cell).data(), cell, 0, e.expanded ? cell : 0, cell,
             cell, kMagenta);
  text(r, e.name, r.sc(25), r.sc(6), r.w - r.sc(4), r.h - r.sc(2), e.name_colour, DT_LEFT | DT_TOP);
}

// The avatar's s x s box at (x, y) and the picture inside it.
void draw_avatar(const Row& r, const Instance& in, const ElementRecord& e, int x, int y, int s) {
  fill(r, x, y, x + s, y + s, 0xFFFFFF);
  frame(r, x, y, x + s, y + s, in.avatar_frame);
  // An offline item without its grey picture still shows its avatar.
  HBITMAP pic = reinterpret_cast<HBITMAP>(e.online || !e.grey_avatar ? e.avatar : e.grey_avatar);
  if (!pic || e.avatar_width <= 0 || e.avatar_height <= 0) return;
  MemDc src(CreateCompatibleDC(r.dc));
  SelectGuard a(src.get(), pic);
  SetStretchBltMode(r.dc, HALFTONE);
  SetBrushOrgEx(r.dc, 0, 0, nullptr);
  StretchBlt(r.dc, r.left + x + r.sc(2), r.top + y + r.sc(2), s - r.sc(4), s - r.sc(4), src.get(), 0, 0,
             e.avatar_width, e.avatar_height, SRCCOPY);
}

// The item's service icons from the strip's pixels, the hovered one lit.
void draw_icons(const Row& r, const Instance& in, const ElementRecord& e, const std::vector<std::uint32_t>& strip) {
  std::vector<IconSlot> slots;
  lay_out_icons(in.icon_count, e.icons, r.h, r.dpi, slots);
  const int grow = r.sc(1), stride = 16 * in.icon_count;
  for (std::size_t k = 0; k < slots.size() && !strip.empty(); ++k) {
    const IconSlot& s = slots[k];
    if (s.right >= r.w) continue;
    const bool hot = static_cast<int>(k) + 1 == in.hovered_icon;
    if (hot && in.icon_hover_fill != kNoColour)
      fill(r, s.left - grow, s.top - grow, s.right + grow, s.bottom + grow, in.icon_hover_fill);
    Colour key = static_cast<std::size_t>(s.number - 1) < in.icon_keys.size()
                     ? in.icon_keys[static_cast<std::size_t>(s.number - 1)]
                     : kMagenta;
    GdiFlush();
    keyed_copy(r, s.left, s.top, s.right - s.left, s.bottom - s.top, strip.data(), stride, (s.number - 1) * 16, 0, 16,
               16, key);
    if (hot && in.icon_hover_frame != kNoColour)
      frame(r, s.left - grow, s.top - grow, s.right + grow, s.bottom + grow, in.icon_hover_frame);
  }
}

using StripSource = std::function<const std::vector<std::uint32_t>&()>;

// An item: the avatar box (a pixel right and down in the flash phase) and the texts of the
// layout; the large layout's hover row shows the service icons too.
void draw_item(const Row& r, const Instance& in, const ElementRecord& e, int row, const StripSource& strip) {
  const Layout layout = layout_for(r.h, r.dpi);
  const int s = layout == Layout::Large ? r.sc(44) : r.sc(24);
  const int x0 = r.sc(4), y0 = (r.h - s) / 2;
  const int p = e.flash_phase ? 1 : 0;
  const COLORREF name_c = e.online ? e.name_colour : 0x000000;
  if (layout != Layout::Small) draw_avatar(r, in, e, x0 + p, y0 + p, s);
  if (layout == Layout::Large) {
    text(r, e.name, r.sc(50), y0, r.w - r.sc(4), r.h - r.sc(2), name_c, DT_LEFT | DT_TOP);
    text(r, e.signature, r.sc(50), y0 + r.sc(16), r.w - r.sc(4), y0 + r.sc(28), kSignature, DT_LEFT | DT_TOP);
    if (row == in.hover_row && !e.icons.empty() && in.icon_strip) draw_icons(r, in, e, strip());
  } else if (layout == Layout::Medium) {
    text(r, e.name, s + r.sc(6), 0, r.w - r.sc(4), r.h, name_c, DT_LEFT | DT_VCENTER);
  } else {
    text(r, e.name, r.sc(5), 0, r.w - r.sc(4), r.h, 0x000000, DT_LEFT | DT_VCENTER);
  }
}

}  // namespace

// The strip's pixels are read once per strip: a new strip (or one more cell) reads them again.
const std::vector<std::uint32_t>& RowPainter::strip_pixels(const Instance& in, HDC dc) {
  if (strip_ != in.icon_strip.get() || strip_count_ != in.icon_count) {
    strip_ = in.icon_strip.get();
    strip_count_ = in.icon_count;
    const int w = 16 * in.icon_count;
    strip_pixels_.assign(static_cast<std::size_t>(w) * 16, 0);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    if (w <= 0 ||
        GetDIBits(dc, reinterpret_cast<HBITMAP>(in.icon_strip.get()), 0, 16, strip_pixels_.data(), &bi,
                  DIB_RGB_COLORS) != 16)
      strip_pixels_.clear();
  }
  return strip_pixels_;
}

bool RowPainter::paint(HWND list, const Instance& in, int row, const RECT* rect, HDC dc, HFONT font, int dpi) {
  ElementRecord e;
  if (!in.read_element(in.handle_at(row), e)) return false;
  RECT rc;
  if (!row_rect(list, row, rect, rc)) return false;
  std::optional<WindowDc> own_dc;
  HDC target = dc;
  if (!target) {
    own_dc.emplace(list);
    target = own_dc->get();
    if (!target) return false;
  }
  DoubleBuffer buffer(target, rc, surface_);
  if (!buffer.pixels()) return false;  // no memory for the row: nothing half-drawn either
  const Row r{buffer.dc(), buffer.pixels(), rc.left, rc.top, buffer.width(), buffer.height(), dpi};
  SelectGuard put_font(r.dc, font);
  SetBkMode(r.dc, TRANSPARENT);
  const bool group = e.kind == kGroupKind;
  draw_shape(r, in, row, group);
  if (group)
    draw_group(r, e);
  else
    draw_item(r, in, e, row, [&]() -> const std::vector<std::uint32_t>& { return strip_pixels(in, target); });
  return true;
}

}  // namespace tb::grouplist
