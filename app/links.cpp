#include "app/links.h"

namespace tb::shell {

namespace {
// A test build may point the update check at a loopback server; the shipped program cannot.
#ifdef TB_UPDATE_HOST
constexpr std::string_view kUpdateHost = TB_UPDATE_HOST;
#else
constexpr std::string_view kUpdateHost = kForumHost;
#endif

std::string thread_address(std::string_view host, int thread) {
  return "http://" + std::string(host) + "/viewthread.php?tid=" + std::to_string(thread);
}
}  // namespace

std::string update_address() {
  return thread_address(kUpdateHost, kUpdateThread) + "&page=1&extra=#pid" + std::to_string(kUpdatePost);
}

std::string feedback_address() { return thread_address(kForumHost, kFeedbackThread); }

std::string contact_address() {
  return "tencent://message/?uin=" + std::string(kContactAccount) + "&Site=" + std::string(kContactSite) +
         "&Menu=No";
}

std::string search_address(std::string_view query) {
  // Our engine and partner values; si and sts keep the search on the forum.
  std::string url = "http://www.baidu.com/s?tr=tarvo&ct=2097152&tn=tarvo_pg&ch=2&si=" + std::string(kForumHost) +
                    "&sts=" + std::string(kForumHost) + "&bs=%D3%CE%CF%B7&f=8&rsv_bp=1&wd=";
  static const char hex[] = "0123456789ABCDEF";
  for (unsigned char c : query) {
    bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                c == '.' || c == '_' || c == '~';
    if (keep) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 15];
    }
  }
  return url;
}

}  // namespace tb::shell
