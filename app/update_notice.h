// What the toolbox learns from its update page: the author's note, whether to offer the
// download, and the short message for the main window. Portable.
#pragma once
#include <string>
#include <string_view>

namespace tb::shell {

inline constexpr std::string_view kOwnVersion = "1.02";

struct UpdateNotice {
  bool found = false;  // the page holds an update note; otherwise nothing changes
  bool ask = false;    // the published version is not ours: offer the page
  std::string note;    // the whole note, line-break tags removed
  std::string message;  // the author's message for the main window
};

// Reads a page body (GBK, up to its first zero byte).
UpdateNotice read_update_page(std::string_view body);

// Removes every occurrence of `what` found on character boundaries.
std::string remove_all(std::string_view text, std::string_view what);

}  // namespace tb::shell
