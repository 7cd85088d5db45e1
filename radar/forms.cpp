#include "radar/forms.h"

#include <algorithm>
#include <climits>

#include "base/number.h"
#include "base/text.h"

namespace tb::radar {

const std::array<std::string_view, 3> kTips = {
    "可以更改窗口高度、宽度、标题",
    "取自窗口信息后，再点置顶，可以让本窗口置顶",
    "不要轻易设置隐藏窗口，小心找不回来呦",
};

std::string cut_to_bytes(std::string_view gbk, std::size_t limit) {
  return std::string(gbk.substr(0, floor_boundary(gbk, limit)));
}

std::string rect_text(int left, int top, int width, int height) {
  // Summed in 64 bits: a box typed by hand may hold values near the int limits.
  const std::int64_t l = left, t = top;
  return int_to_text(l) + "," + int_to_text(t) + "," + int_to_text(l + width) + "," + int_to_text(t + height);
}

int box_int(std::string_view text) {
  return static_cast<int>(std::clamp<std::int64_t>(text_to_int(text), INT_MIN, INT_MAX));
}

std::int64_t box_handle(std::string_view text) { return text_to_int(text); }

std::optional<int> alpha_for(int position) {
  if (position <= 10) return std::nullopt;
  position = std::min(position, 100);
  return static_cast<int>(position / 100.0 * 255.0);
}

std::string next_tip(std::string_view current) {
  for (std::size_t i = 0; i < kTips.size(); ++i)
    if (current == kTips[i]) return std::string(kTips[(i + 1) % kTips.size()]);
  return std::string(current);
}

std::string explorer_command(std::string_view path) {
  std::string cmd = "explorer /n,/select,";
  if (path.empty()) return cmd;
  // A file name never holds a double quote; one typed into the box would end the quoting.
  std::string clean;
  for (char c : path)
    if (c != '"') clean += c;
  return cmd + "\"" + clean + "\"";
}

}  // namespace tb::radar
