// The update page reader and the outward addresses.
#include <doctest/doctest.h>

#include "app/links.h"
#include "app/update_notice.h"

using namespace tb::shell;

TEST_CASE("update page: the note, the question and the author's message") {
  const std::string note_block =
      "【更新情况】<br />\r\n最新版本：1.02<br />\r\n作者留言：修正了截图<br />\r\n其他说明<br />\r\n【】";
  std::string markers;  // a 1 MiB body from a broken server: every read stays linear
  while (markers.size() < (1u << 20)) markers += "【更新情况】<br />【";
  struct Row {
    const char* what;
    std::string page;
    bool found, ask;
    std::string message;
  };
  const Row rows[] = {
      {"our version", "<html>" + note_block + "</html>", true, false, "修正了截图"},
      {"another version", "【更新情况】\r\n最新版本：1.03\r\n作者留言：快来下载\r\n【】", true, true, "快来下载"},
      {"an older version asks too", "【更新情况】\r\n最新版本：1.01\r\n作者留言：\r\n【】", true, true, ""},
      {"no end marker: empty note", "【更新情况】\r\n最新版本：1.02\r\n作者留言：x\r\n", true, true, ""},
      {"no markers: nothing", "<html>forum</html>", false, false, ""},
      {"empty body", "", false, false, ""},
      {"tag inside the version line", "【更新情况】最新版本：1.0<br />2\r\n作者留言：好\r\n【】", true, false, "好"},
      {"a 1 MiB body of markers", markers, true, true, ""},
      {"a marker after a zero byte is not read", std::string("abc\0", 4) + note_block, false, false, ""},
  };
  for (const Row& r : rows) {
    CAPTURE(std::string(r.what));
    UpdateNotice n = read_update_page(r.page);
    CHECK(n.found == r.found);
    CHECK(n.ask == r.ask);
    CHECK(n.message == r.message);
    CHECK(n.note.find("<br />") == std::string::npos);
  }
  CHECK(read_update_page("【更新情况】最新版本：1.02\r\n作者留言：好\r\n【】").note == "最新版本：1.02\r\n作者留言：好\r\n");
}

TEST_CASE("addresses: the update page, the search with its text percent-encoded") {
  CHECK(update_address().find("/viewthread.php?tid=") != std::string::npos);
  CHECK(update_address().find("&page=1&extra=#pid") != std::string::npos);
  CHECK(contact_address().rfind("tencent://message/?uin=", 0) == 0);
  CHECK(contact_address().find("&Menu=No") != std::string::npos);
  const std::string base = search_address("");
  CHECK(base.substr(base.size() - 3) == "wd=");
  CHECK(base.find("&bs=%D3%CE%CF%B7&f=8&rsv_bp=1&wd=") != std::string::npos);
  std::string markers;  // a 1 MiB body from a broken server: every read stays linear
  while (markers.size() < (1u << 20)) markers += "【更新情况】<br />【";
  struct Row {
    std::string query, encoded;
  };
  const Row rows[] = {
      {"abc-1.2_~", "abc-1.2_~"},
      {"a b&c#d+e", "a%20b%26c%23d%2Be"},
      {"找图", "%D5%D2%CD%BC"},
  };
  for (const Row& r : rows) CHECK(search_address(r.query) == base + r.encoded);
}
