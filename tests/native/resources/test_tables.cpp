// Every window table is whole: names unique, containers and pages exist, and every stored
// name the code refers to through a named constant is in its table.
#include <doctest/doctest.h>

#include <set>
#include <string>

#include "base/text.h"

#include "resources/codemanager_window.h"
#include "resources/imagetool_window.h"
#include "resources/launcher_windows.h"
#include "resources/radar_window.h"
#include "resources/shell_windows.h"

using namespace tb;

namespace {

struct Table {
  const WindowDef* def;
  std::vector<std::string_view> names;
};

template <std::size_t N>
std::vector<std::string_view> list(const std::string_view (&a)[N]) {
  return {a, a + N};
}

}  // namespace

TEST_CASE("window tables: names unique, containers and pages exist, named constants are rows") {
  const Table tables[] = {
      {&res::kMainWindow, list(res::main_names::kAll)},
      {&res::kNoticeWindow, list(res::notice_names::kAll)},
      {&res::kInputWindow, list(res::input_names::kAll)},
      {&res::kRadarWindow, list(res::radar_names::kAll)},
      {&res::kLauncherMenu, list(res::menu_names::kAll)},
      {&res::kGroupNamePopup, list(res::group_popup_names::kAll)},
      {&res::kItemDialog, list(res::item_dialog_names::kAll)},
      {&res::kCodeManagerWindow, list(res::codemanager_names::kAll)},
      {&res::kImageToolWindow, list(res::imagetool_names::kAll)},
  };
  for (const Table& t : tables) {
    CAPTURE(std::string(t.def->name));
    std::set<std::string_view> seen;
    for (const ControlDef& c : t.def->controls) {
      CAPTURE(std::string(c.name));
      CHECK(seen.insert(c.name).second);
      if (c.parent.empty()) continue;
      const ControlDef* p = find_control(*t.def, c.parent);
      REQUIRE(p);
      CHECK(p < &c);  // a container comes before what it holds
      if (p->kind == Kind::Tab) CHECK(c.page >= 0);
    }
    for (std::string_view n : t.names) {
      CAPTURE(std::string(n));
      CHECK(find_control(*t.def, n) != nullptr);
    }
  }
}

TEST_CASE("code manager table: pages and menus as the window shows them") {
  namespace n = res::codemanager_names;
  const WindowDef& d = res::kCodeManagerWindow;
  CHECK(d.caption == "Tarvo代码管理器");
  CHECK((d.w == 805 && d.h == 526));
  CHECK(find_control(d, n::kLeftTabs)->text == "目录|搜索|说明");
  CHECK(find_control(d, n::kRightTabs)->text == "中文显示|源码显示|相关资源");
  // Menu captions keep their trailing spaces; the item numbers the code uses match them.
  const std::vector<std::string> tree = split(find_control(d, n::kTreeMenu)->text, "|");
  REQUIRE(tree.size() == 5);
  CHECK(tree[n::kAddMain] == "主项目_增加");
  CHECK(tree[n::kDeleteMain] == "主项目_删除当前");
  CHECK(tree[2] == "-");
  CHECK(tree[n::kAddSnippet] == "子 项目_增加新的 ");
  CHECK(tree[n::kDeleteSnippet] == "子 项目_删除当前 ");
  const std::vector<std::string> res_menu = split(find_control(d, n::kResourceMenu)->text, "|");
  REQUIRE(res_menu.size() == 3);
  CHECK(res_menu[n::kExportAll] == "导出列表内所有资源");
  CHECK(find_control(d, n::kSettingsMenu)->text == "置顶|取消置顶");
  // The help text: five points, a blank line between them.
  const std::vector<std::string> help = split(find_control(d, n::kHelp)->text, "\r\n\r\n");
  REQUIRE(help.size() == 5);
  CHECK(help[4] == "5、欢迎提供BUG、建议等");
}
