#include <doctest/doctest.h>

#include <climits>

#include "radar/forms.h"

using namespace tb::radar;

TEST_CASE("text forms: the rectangle, boxes read as numbers, byte limits") {
  CHECK(rect_text(100, 50, 800, 600) == "100,50,900,650");
  CHECK(rect_text(-8, -8, 1296, 1000) == "-8,-8,1288,992");
  CHECK(rect_text(INT_MAX, 0, 1, 0) == "2147483647,0,2147483648,0");  // no wrap-around

  CHECK(box_int("") == 0);
  CHECK(box_int("abc") == 0);
  CHECK(box_int("-12.9") == -12);
  CHECK(box_int("1e3") == 1000);
  CHECK(box_int("99999999999") == INT_MAX);
  CHECK(box_handle("4295229444.5") == 4295229444LL);

  std::string wide;
  for (int i = 0; i < 200; ++i) wide += "标";
  CHECK(cut_to_bytes(wide, kClassLimit).size() == 48);
  CHECK(cut_to_bytes("a" + wide, kClassLimit).size() == 49);
  CHECK(cut_to_bytes(wide, kTitleLimit).size() == 254);
  CHECK(cut_to_bytes(std::string(300, 'x'), kTitleLimit).size() == 255);
}

TEST_CASE("opacity and tips") {
  for (int p = 1; p <= 10; ++p) CHECK_FALSE(alpha_for(p).has_value());
  CHECK(alpha_for(11) == 28);
  CHECK(alpha_for(50) == 127);
  CHECK(alpha_for(100) == 255);

  std::string t(kTips[0]);
  for (int i = 0; i < 3; ++i) t = next_tip(t);
  CHECK(t == kTips[0]);
  CHECK(next_tip(kTips[2]) == "可以更改窗口高度、宽度、标题");
  CHECK(next_tip("别的文字") == "别的文字");
}

TEST_CASE("the folder command quotes the path") {
  CHECK(explorer_command("C:\\Program Files\\A,B\\app.exe") ==
        "explorer /n,/select,\"C:\\Program Files\\A,B\\app.exe\"");
  CHECK(explorer_command("") == "explorer /n,/select,");  // still opens the Explorer
  // A quote typed into the box cannot end the quoting early.
  CHECK(explorer_command("C:\\a\" /root,C:\\b.exe") == "explorer /n,/select,\"C:\\a /root,C:\\b.exe\"");
}
