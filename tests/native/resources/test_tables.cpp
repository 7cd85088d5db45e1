// Every window table is whole: names unique, containers and pages exist, and every stored
// name the code refers to through a named constant is in its table.
#include <doctest/doctest.h>

#include <set>
#include <string>

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
