// The picture search the script runs, done on a screen grab: every place of the grab where the
// picture is found, top-left to bottom-right, row by row. Portable.
//
// A pixel matches when each of R, G and B differs by at most the tolerance; a place is a hit
// when every counted pixel of the picture matches there. Pixels are 0x00RRGGBB as a 32-bit
// DIB holds them; the top byte is ignored on both sides.
//
// Cost: the grab is scanned once for the picture's rarest colour (its anchor); only where that
// matches is a second rare pixel tried, then the rows, each row given up at its first
// mismatch. A picture of one colour is found with running counts instead, so a flat picture
// over a flat area costs no more than the scan. For adversarial pictures (a place that fails
// only at the last pixel, everywhere) the search stays O(region x picture).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::imagetool {

struct Image {
  const std::uint32_t* pixels = nullptr;  // row-major, `width` pixels a row
  int width = 0, height = 0;
};

struct ScreenPoint {
  int x = 0, y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Right and bottom are one past the last pixel, as in a Win32 RECT.
struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

struct SearchOptions {
  int tolerance = 0;                         // 0 to 255, per colour component
  std::optional<std::uint32_t> transparent;  // pixels of this colour do not count
  ScreenRect exclude;                        // places overlapping it are not tried (the tool's window)
};

enum class SearchStatus { Done, EmptyPicture, PictureTooLarge };

inline constexpr std::size_t kMaxKeptHits = 100;

struct SearchResult {
  SearchStatus status = SearchStatus::Done;
  std::uint64_t count = 0;        // every hit
  std::vector<ScreenPoint> hits;  // the first kMaxKeptHits, top-left corners in screen coordinates
};

// Searches the grab, whose top-left pixel is at `origin` on the screen. A picture with no
// counted pixel is empty; one wider or taller than the grab is too large.
SearchResult find_picture(const Image& grab, ScreenPoint origin, const Image& picture, const SearchOptions& options);

// Similarity as the user types it: a plain decimal from 0.5 to 1 ("0.9", ".95", "1"), kept in
// millionths so the tolerance comes out as the decimal reads. Nothing for any other text.
std::optional<int> parse_similarity(std::string_view text);
// round((1 - s) x 255), halves up: 0.9 gives 26.
int tolerance_of(int similarity_millionths);
// The shortest decimal of the similarity: "0.9", "1", "0.875".
std::string similarity_text(int similarity_millionths);

}  // namespace tb::imagetool
