#include "widgets/grouplist/painter_win.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "platform/handles.h"
#include "platform/theme.h"
#include "widgets/grouplist/icon_layout.h"
#include "widgets/grouplist/instance.h"
#include "widgets/grouplist/listbox_win.h"

namespace tb::grouplist {

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kSignature = 0x606060;

std::uint64_t g_painted = 0;
std::function<void(HWND, int)>& observer() {
  static std::function<void(HWND, int)> o;
  return o;
}

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

// The row is composed on a 32-bit DIB section: GDI draws shapes and text, and the keyed
// copies (arrow, service icons) are done on its pixels, which under Wine is many times
// faster than TransparentBlt.
struct Canvas {
  MemDc dc;
  GdiBitmap bitmap;
  std::uint32_t* bits = nullptr;
  int w = 0, h = 0;
};

bool make_canvas(HDC target, int w, int h, Canvas& c) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  c.dc = MemDc(CreateCompatibleDC(target));
  c.bitmap = GdiBitmap(CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  c.bits = static_cast<std::uint32_t*>(bits);
  c.w = w, c.h = h;
  return c.dc && c.bitmap && c.bits;
}

// Copies the sw x sh block at (sx, sy) of src (stride pixels a line), scaled to dw x dh at
// (dx, dy), leaving out pixels of the key colour.
void keyed_copy(Canvas& c, int dx, int dy, int dw, int dh, const std::uint32_t* src, int stride, int sx, int sy,
                int sw, int sh, COLORREF key) {
  const std::uint32_t k = to_pixel(key);
  for (int y = 0; y < dh; ++y) {
    int ty = dy + y;
    if (ty < 0 || ty >= c.h) continue;
    const std::uint32_t* line = src + static_cast<std::size_t>(sy + y * sh / dh) * static_cast<std::size_t>(stride);
    std::uint32_t* out = c.bits + static_cast<std::size_t>(ty) * static_cast<std::size_t>(c.w);
    for (int x = 0; x < dw; ++x) {
      int tx = dx + x;
      if (tx < 0 || tx >= c.w) continue;
      std::uint32_t p = line[sx + x * sw / dw] & 0xFFFFFF;
      if (p != k) out[tx] = p;
    }
  }
}

// The service icon strip's pixels, read once per strip.
struct StripPixels {
  std::intptr_t strip = 0;
  int count = -1;
  std::vector<std::uint32_t> px;
};

const std::vector<std::uint32_t>& strip_pixels(const Instance& in, HDC dc) {
  static std::map<const Instance*, StripPixels> cache;  // instances live as long as the process
  StripPixels& s = cache[&in];
  if (s.strip != in.icon_strip.get() || s.count != in.icon_count) {
    s.strip = in.icon_strip.get();
    s.count = in.icon_count;
    const int w = 16 * in.icon_count;
    s.px.assign(static_cast<std::size_t>(w) * 16, 0);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    if (w <= 0 || GetDIBits(dc, reinterpret_cast<HBITMAP>(in.icon_strip.get()), 0, 16, s.px.data(), &bi, DIB_RGB_COLORS) != 16)
      s.px.clear();
  }
  return s.px;
}

void fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
  RECT rc{l, t, r, b};
  GdiBrush br(CreateSolidBrush(c));
  FillRect(dc, &rc, br.get());
}

void frame(HDC dc, int l, int t, int r, int b, COLORREF c) {
  RECT rc{l, t, r, b};
  GdiBrush br(CreateSolidBrush(c));
  FrameRect(dc, &rc, br.get());
}

void text(HDC dc, const std::string& gbk, int l, int t, int r, int b, COLORREF c, UINT format) {
  if (gbk.empty()) return;
  RECT rc{l, t, r, b};
  SetTextColor(dc, c);
  std::wstring w = to_wide(gbk);
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &rc, format | DT_NOPREFIX | DT_SINGLELINE);
}

// The item layout by the row's real height: 54 large, 30 medium, 20 small (in design pixels).
enum class Layout { Large, Medium, Small };
Layout layout_for(int height, int dpi) {
  int design = MulDiv(height, 96, dpi);
  return design >= 42 ? Layout::Large : design >= 25 ? Layout::Medium : Layout::Small;
}

}  // namespace

std::uint64_t rows_painted() { return g_painted; }
void set_paint_observer(std::function<void(HWND, int)> o) { observer() = std::move(o); }

void paint_row(HWND list, int row, const RECT* given_rect, HDC given_dc) {
  Instance* in = find_instance(reinterpret_cast<std::intptr_t>(list));
  if (!in) return;
  ElementRecord e;
  if (!in->read_element(in->handle_at(row), e)) return;

  RECT rc;
  if (given_rect) {
    rc = *given_rect;
  } else {
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)) == LB_ERR) return;
    RECT client;
    GetClientRect(list, &client);
    if (rc.bottom <= client.top || rc.top >= client.bottom) return;  // scrolled out of sight
  }
  const int W = rc.right - rc.left, H = rc.bottom - rc.top;
  if (W <= 0 || H <= 0) return;
  const int dpi = in->window().dpi();
  auto sc = [dpi](int v) { return MulDiv(v, dpi, 96); };

  std::optional<WindowDc> own_dc;
  HDC target = given_dc;
  if (!target) {
    own_dc.emplace(list);
    target = own_dc->get();
    if (!target) return;
  }

  const bool group = e.kind == kGroupKind;
  const Layout layout = layout_for(H, dpi);
  const int s = layout == Layout::Large ? sc(44) : sc(24);
  const int x0 = sc(4), y0 = (H - s) / 2;

  Canvas cv;
  if (!make_canvas(target, W, H, cv)) return;
  GdiFont font = make_row_font(dpi);
  SelectGuard put_canvas(cv.dc.get(), cv.bitmap.get());
  SelectGuard put_font(cv.dc.get(), font.get());
  HDC dc = cv.dc.get();
  SetBkMode(dc, TRANSPARENT);

  fill(dc, 0, 0, W, H, in->background);

  // Row shape in the colours of its state.
  const RowStyle& st = group ? in->group_style : in->item_style;
  COLORREF frame_c = st.normal_frame, fill_c = st.normal_fill;
  if (row == in->selected_row) {
    frame_c = st.selected_frame, fill_c = st.selected_fill;
  } else if (row == in->hover_row) {
    frame_c = st.hover_frame, fill_c = st.hover_fill;
  }
  if (st.shape == 1) {
    fill(dc, 0, 0, W, H, fill_c);
    frame(dc, 0, 0, W, H, frame_c);
  } else {
    GdiPen pen(CreatePen(PS_SOLID, 1, frame_c));
    GdiBrush brush(CreateSolidBrush(fill_c));
    SelectGuard p(dc, pen.get());
    SelectGuard b(dc, brush.get());
    RoundRect(dc, 0, 0, W, H, sc(5), sc(5));
  }

  if (group) {
    const int cell = sc(11);
    GdiFlush();
    keyed_copy(cv, sc(5), (H - cell) / 2, cell, cell, arrow_pixels(cell).data(), cell, 0, e.expanded ? cell : 0, cell,
               cell, kMagenta);
    text(dc, e.name, sc(25), sc(6), W - sc(4), H - sc(2), e.name_colour, DT_LEFT | DT_TOP);
  } else {
    const int p = e.flash_phase ? 1 : 0;
    // An offline item without its grey picture still shows its avatar.
    HBITMAP pic = reinterpret_cast<HBITMAP>(e.online || !e.grey_avatar ? e.avatar : e.grey_avatar);
    const COLORREF name_c = e.online ? e.name_colour : 0x000000;
    if (layout != Layout::Small) {
      fill(dc, x0 + p, y0 + p, x0 + p + s, y0 + p + s, 0xFFFFFF);
      frame(dc, x0 + p, y0 + p, x0 + p + s, y0 + p + s, in->avatar_frame);
      if (pic && e.avatar_width > 0 && e.avatar_height > 0) {
        MemDc src(CreateCompatibleDC(target));
        SelectGuard a(src.get(), pic);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, x0 + p + sc(2), y0 + p + sc(2), s - sc(4), s - sc(4), src.get(), 0, 0, e.avatar_width,
                   e.avatar_height, SRCCOPY);
      }
    }
    if (layout == Layout::Large) {
      text(dc, e.name, sc(50), y0, W - sc(4), H - sc(2), name_c, DT_LEFT | DT_TOP);
      text(dc, e.signature, sc(50), y0 + sc(16), W - sc(4), y0 + sc(28), kSignature, DT_LEFT | DT_TOP);
      if (row == in->hover_row && !e.icons.empty() && in->icon_strip) {
        std::vector<IconSlot> slots;
        lay_out_icons(in->icon_count, e.icons, H, dpi, slots);
        const std::vector<std::uint32_t>& strip = strip_pixels(*in, target);
        const int grow = sc(1), stride = 16 * in->icon_count;
        for (std::size_t k = 0; k < slots.size() && !strip.empty(); ++k) {
          const IconSlot& r = slots[k];
          if (r.right >= W) continue;
          const bool hot = static_cast<int>(k) + 1 == in->hovered_icon;
          if (hot && in->icon_hover_fill != kNoColour)
            fill(dc, r.left - grow, r.top - grow, r.right + grow, r.bottom + grow, in->icon_hover_fill);
          Colour key = static_cast<std::size_t>(r.number - 1) < in->icon_keys.size()
                           ? in->icon_keys[static_cast<std::size_t>(r.number - 1)]
                           : kMagenta;
          GdiFlush();
          keyed_copy(cv, r.left, r.top, r.right - r.left, r.bottom - r.top, strip.data(), stride, (r.number - 1) * 16, 0,
                     16, 16, key);
          if (hot && in->icon_hover_frame != kNoColour)
            frame(dc, r.left - grow, r.top - grow, r.right + grow, r.bottom + grow, in->icon_hover_frame);
        }
      }
    } else if (layout == Layout::Medium) {
      text(dc, e.name, s + sc(6), 0, W - sc(4), H, name_c, DT_LEFT | DT_VCENTER);
    } else {
      text(dc, e.name, sc(5), 0, W - sc(4), H, 0x000000, DT_LEFT | DT_VCENTER);
    }
  }

  BitBlt(target, rc.left, rc.top, W, H, dc, 0, 0, SRCCOPY);
  ++g_painted;
  if (observer()) observer()(list, row);
}

}  // namespace tb::grouplist
