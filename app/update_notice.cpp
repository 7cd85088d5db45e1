#include "app/update_notice.h"

#include "base/text.h"

namespace tb::shell {

std::string remove_all(std::string_view text, std::string_view what) {
  if (what.empty()) return std::string(text);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = find(text, what, 0); at != npos; at = find(text, what, from)) {
    out.append(text.substr(from, at - from));
    from = at + what.size();
  }
  out.append(text.substr(from));
  return out;
}

UpdateNotice read_update_page(std::string_view body) {
  UpdateNotice n;
  body = body.substr(0, body.find('\0'));
  if (find(body, "【更新情况】") == npos) return n;
  n.found = true;
  n.note = remove_all(between(body, "【更新情况】", "【】"), "<br />");
  n.ask = between(n.note, "最新版本：", "\r\n") != kOwnVersion;
  n.message = between(n.note, "作者留言：", "\r\n");
  return n;
}

}  // namespace tb::shell
