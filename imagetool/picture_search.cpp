#include "imagetool/picture_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/number.h"
#include "base/text.h"

namespace tb::imagetool {

namespace {

using Px = std::uint32_t;
constexpr Px kRgb = 0xFFFFFF;

// The picture as the search uses it: colours without the top byte, a mask per pixel (kRgb
// where it counts, 0 where it is transparent) and the two pixels tried before the rows.
struct Prepared {
  int w = 0, h = 0;
  std::vector<Px> px, mask;
  std::size_t anchor = 0;  // its rarest colour
  std::optional<std::size_t> second;  // its rarest other colour
  bool flat = false;  // one colour, every pixel counted
};

bool prepare(const Image& pic, const SearchOptions& o, Prepared& p) {
  p.w = pic.width;
  p.h = pic.height;
  const std::size_t n = static_cast<std::size_t>(p.w) * static_cast<std::size_t>(p.h);
  p.px.resize(n);
  p.mask.resize(n);
  std::vector<Px> counted;
  counted.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    p.px[i] = pic.pixels[i] & kRgb;
    p.mask[i] = o.transparent && p.px[i] == (*o.transparent & kRgb) ? 0 : kRgb;
    if (p.mask[i]) counted.push_back(p.px[i]);
  }
  if (counted.empty()) return false;
  // How often each colour occurs, from the sorted colours.
  std::sort(counted.begin(), counted.end());
  auto occurrences = [&](Px c) {
    const auto r = std::equal_range(counted.begin(), counted.end(), c);
    return static_cast<std::size_t>(r.second - r.first);
  };
  std::size_t best = n + 1, best_other = n + 1;
  for (std::size_t i = 0; i < n; ++i)
    if (p.mask[i] && occurrences(p.px[i]) < best) best = occurrences(p.px[i]), p.anchor = i;
  for (std::size_t i = 0; i < n; ++i)
    if (p.mask[i] && p.px[i] != p.px[p.anchor] && occurrences(p.px[i]) < best_other)
      best_other = occurrences(p.px[i]), p.second = i;
  p.flat = !p.second && counted.size() == n;
  return true;
}

// Pixel tests against one colour. Exact compares the colour bits; Close allows each
// component `t` either side. Both answer 0 or 1, so blocks of them fold into one test.
struct Exact {
  Px c;
  Exact(Px colour, int) : c(colour & kRgb) {}
  unsigned operator()(Px v) const { return ((v ^ c) & kRgb) == 0; }
};
struct Close {
  unsigned lo[3], span[3];
  Close(Px colour, int t) {
    for (int k = 0; k < 3; ++k) {
      const int v = static_cast<int>((colour >> (8 * k)) & 0xFF);
      lo[k] = static_cast<unsigned>(std::max(0, v - t));
      span[k] = static_cast<unsigned>(std::min(255, v + t)) - lo[k];
    }
  }
  unsigned operator()(Px v) const {
    return (((v & 0xFF) - lo[0]) <= span[0]) & ((((v >> 8) & 0xFF) - lo[1]) <= span[1]) &
           ((((v >> 16) & 0xFF) - lo[2]) <= span[2]);
  }
};

// Whether n grab pixels match a picture row; no early exit inside the row, so it vectorises.
bool row_matches(const Px* s, const Px* p, const Px* m, int n, int t) {
  if (t == 0) {
    Px diff = 0;
    for (int i = 0; i < n; ++i) diff |= (s[i] ^ p[i]) & m[i];
    return diff == 0;
  }
  int bad = 0;
  for (int i = 0; i < n; ++i) {
    const int dr = std::abs(static_cast<int>((s[i] >> 16) & 0xFF) - static_cast<int>((p[i] >> 16) & 0xFF));
    const int dg = std::abs(static_cast<int>((s[i] >> 8) & 0xFF) - static_cast<int>((p[i] >> 8) & 0xFF));
    const int db = std::abs(static_cast<int>(s[i] & 0xFF) - static_cast<int>(p[i] & 0xFF));
    bad |= (std::max(dr, std::max(dg, db)) > t) & (m[i] != 0);
  }
  return bad == 0;
}

class Search {
 public:
  Search(const Image& g, ScreenPoint o, const Prepared& p, const SearchOptions& opt, SearchResult& r)
      : g_(g), origin_(o), p_(p), opt_(opt), r_(r) {}

  template <class Test>
  void by_anchor() {
    const int ax = static_cast<int>(p_.anchor % p_.w), ay = static_cast<int>(p_.anchor / p_.w);
    const Test test(p_.px[p_.anchor], opt_.tolerance);
    const int across = g_.width - p_.w + 1;
    for (int y = 0; y + p_.h <= g_.height; ++y) {
      const Px* row = g_.pixels + static_cast<std::size_t>(y + ay) * g_.width + ax;
      // Sixteen anchor tests folded into one branch: most blocks of a screen hold none.
      int x = 0;
      for (; x + 16 <= across; x += 16) {
        unsigned any = 0;
        for (int k = 0; k < 16; ++k) any |= test(row[x + k]);
        if (any)
          for (int k = 0; k < 16; ++k)
            if (test(row[x + k])) try_place(x + k, y);
      }
      for (; x < across; ++x)
        if (test(row[x])) try_place(x, y);
    }
  }

  // One colour over the whole picture: a place is a hit where h rows in a row hold a run of
  // w matching pixels ending in its last column. Hits still come out row by row.
  template <class Test>
  void by_runs() {
    const Test test(p_.px[0], opt_.tolerance);
    std::vector<int> rows(static_cast<std::size_t>(g_.width), 0);
    for (int y = 0; y < g_.height; ++y) {
      const Px* row = g_.pixels + static_cast<std::size_t>(y) * g_.width;
      int run = 0;
      for (int x = 0; x < g_.width; ++x) {
        run = test(row[x]) ? run + 1 : 0;
        rows[x] = run >= p_.w ? rows[x] + 1 : 0;
        if (rows[x] >= p_.h) hit(x - p_.w + 1, y - p_.h + 1);
      }
    }
  }

 private:
  void try_place(int x, int y) {
    if (p_.second) {
      const std::size_t i = *p_.second;
      const Px s = g_.pixels[static_cast<std::size_t>(y) * g_.width + x + i % p_.w +
                             (i / p_.w) * static_cast<std::size_t>(g_.width)];
      if (!row_matches(&s, &p_.px[i], &p_.mask[i], 1, opt_.tolerance)) return;
    }
    for (int r = 0; r < p_.h; ++r) {
      const std::size_t at = static_cast<std::size_t>(r) * p_.w;
      if (!row_matches(g_.pixels + static_cast<std::size_t>(y + r) * g_.width + x, &p_.px[at], &p_.mask[at], p_.w,
                       opt_.tolerance))
        return;
    }
    hit(x, y);
  }

  void hit(int x, int y) {
    const ScreenRect& e = opt_.exclude;
    const int sx = origin_.x + x, sy = origin_.y + y;
    if (!e.empty() && sx < e.right && sx + p_.w > e.left && sy < e.bottom && sy + p_.h > e.top) return;
    if (r_.hits.size() < kMaxKeptHits) r_.hits.push_back({sx, sy});
    ++r_.count;
  }

  const Image& g_;
  ScreenPoint origin_;
  const Prepared& p_;
  const SearchOptions& opt_;
  SearchResult& r_;
};

}  // namespace

SearchResult find_picture(const Image& grab, ScreenPoint origin, const Image& picture, const SearchOptions& options) {
  SearchResult r;
  Prepared p;
  if (!picture.pixels || picture.width <= 0 || picture.height <= 0 || !prepare(picture, options, p)) {
    r.status = SearchStatus::EmptyPicture;
    return r;
  }
  if (!grab.pixels || picture.width > grab.width || picture.height > grab.height) {
    r.status = SearchStatus::PictureTooLarge;
    return r;
  }
  SearchOptions o = options;
  o.tolerance = std::clamp(o.tolerance, 0, 255);
  Search s(grab, origin, p, o, r);
  if (p.flat)
    o.tolerance == 0 ? s.by_runs<Exact>() : s.by_runs<Close>();
  else
    o.tolerance == 0 ? s.by_anchor<Exact>() : s.by_anchor<Close>();
  return r;
}

std::optional<int> parse_similarity(std::string_view text) {
  const std::string_view t = trim(text);
  std::size_t digits = 0, points = 0;
  for (char ch : t) {
    if (ch >= '0' && ch <= '9') ++digits;
    else if (ch == '.') ++points;
    else return std::nullopt;
  }
  if (digits == 0 || points > 1) return std::nullopt;
  const double v = text_to_double(t);
  if (v < 0.5 || v > 1.0) return std::nullopt;
  return static_cast<int>(std::llround(v * 1e6));
}

int tolerance_of(int similarity_millionths) {
  const std::int64_t off = 1000000 - static_cast<std::int64_t>(similarity_millionths);
  return static_cast<int>((off * 255 + 500000) / 1000000);
}

std::string similarity_text(int similarity_millionths) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%06d", similarity_millionths / 1000000, similarity_millionths % 1000000);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace tb::imagetool
