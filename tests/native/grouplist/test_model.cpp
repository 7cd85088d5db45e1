#include <doctest/doctest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "base/fileio.h"
#include "fixture.h"
#include "tests/support/grouplist/testing.h"

namespace fs = std::filesystem;
using namespace tb::grouplist;
namespace xml = tb::xml;
using tb::grouplist::testing::FakePictures;
using tb::grouplist::testing::Fixture;
using Names = std::vector<std::string>;

TEST_CASE("grouplist: the handle counter is process-wide and starts at random") {
  bool first_in_process = instance_count() == 0;
  Fixture a;
  int h1 = a.list.NewHandle();
  if (first_in_process) {
    CHECK(h1 >= 10001);
    CHECK(h1 <= 100000);
  }
  CHECK(h1 > 10000);
  CHECK(a.list.AddGroup("g", true, 0) == h1 + 1);
  Fixture b;  // a second control continues the same counter
  CHECK(b.list.NewHandle() == h1 + 2);
  CHECK(a.list.NewHandle() == h1 + 3);
}

TEST_CASE("grouplist: every operation fails quietly before Create") {
  FakePictures pics;
  MemoryHost host(pics);
  GroupList l(host);
  ItemRecord r;
  r.group = 1;
  r.avatar = "PIC:1:1";
  std::vector<int> icons;
  CHECK(l.AddGroup("g", true, 0) == 0);
  CHECK_FALSE(l.AddItem(r, icons, false));
  CHECK_FALSE(l.GetItem(1, r, icons, true));
  CHECK_FALSE(l.SetItem(r));
  CHECK_FALSE(l.GetSelectedItem(r, icons, true));
  CHECK(l.FindItemByName("") == 0);
  CHECK(l.FindItemByNumber("") == 0);
  CHECK(l.FindItemByRemark("") == 0);
  CHECK(l.FindItemByAttribute("QQ名称", "") == 0);
  CHECK(l.FindGroupByName("") == 0);
  CHECK(l.GetGroupName(1).empty());
  CHECK_FALSE(l.Remove(1));
  CHECK_FALSE(l.ClearGroupItems(1, false));
  CHECK_FALSE(l.DeleteGroups(1, false));
  CHECK_FALSE(l.RemoveGroupItems(1, true));
  CHECK(l.NewHandle() == 0);
  CHECK_FALSE(l.SaveToFile("/tmp/never-written.xml"));
  CHECK_FALSE(l.SetOnline(1, 0));
  CHECK_FALSE(l.SetOffline(1));
  CHECK(l.GetHandleAt(0) == 0);
  CHECK(l.AddServiceIcon("PIC:16:16") == 0);
  l.SetEventHandlers({});
  l.ExpandGroup(1), l.CollapseGroup(1), l.ExpandAll(), l.CollapseAll(), l.Refresh();
  l.SortAllGroups(), l.SortGroup(1), l.StartFlashing(1), l.StopFlashing(1), l.SelectItem(1);
  l.SetLargeView(), l.SetMediumView(true), l.SetSmallView(true), l.SetItemRowHeights(30, -1);
  l.SetGroupRowStyle(), l.SetItemRowStyle(), l.SetServiceIconHighlight();
  CHECK(l.instance() == nullptr);
  CHECK(pics.live.empty());
}

TEST_CASE("grouplist: Create checks its windows and sets up the record") {
  FakePictures pics;
  MemoryHost host(pics);
  GroupList l(host);
  int before = instance_count();
  CHECK_FALSE(l.Create(0, 0, 0, false));
  CHECK_FALSE(l.Create(12345, 0, 0, false));  // not a window
  std::intptr_t parent = host.add_window();
  host.fail_next_create = true;
  CHECK_FALSE(l.Create(parent, 0, 0, false));
  CHECK(instance_count() == before);

  REQUIRE(l.Create(parent, 2, 1, true, 0xC0C0C0));
  Instance* in = l.instance();
  REQUIRE(in);
  CHECK(find_instance_by_parent(parent) == in);
  CHECK(host.list(l.list_window())->border() == 2);
  CHECK(in->item_row_height == 30);
  CHECK(in->view_mode == 1);
  CHECK(in->enlarge_selected);
  CHECK(in->hover_row == -1);
  CHECK(in->selected_row == -1);
  xml::Element* root = in->document->find("QQ列表");
  REQUIRE(root == in->document->root());
  CHECK(*root->attribute("hwnd") == std::to_string(l.list_window()));
  CHECK(*root->attribute("hParent") == std::to_string(parent));
  // Normal row colours follow the background; the rest are fixed defaults.
  for (const RowStyle* s : {&in->group_style, &in->item_style}) {
    CHECK(s->shape == 0);
    CHECK(s->normal_frame == 0xC0C0C0);
    CHECK(s->normal_fill == 0xC0C0C0);
    CHECK(s->hover_frame == 0xFFDEA6);
    CHECK(s->hover_fill == 0xFFF0DC);
    CHECK(s->selected_frame == 0x26C8FD);
    CHECK(s->selected_fill == 0xA9E7FF);
  }
  CHECK(in->avatar_frame == 0xE9E3D7);
  CHECK(in->icon_hover_fill == 0xBEE8FC);
  CHECK(in->icon_hover_frame == 0x438ACE);

  // A living list window cannot be made twice; once it is gone the object makes a new one.
  CHECK_FALSE(l.Create(parent, 0, 0, false));
  host.destroy_window(l.list_window());
  REQUIRE(l.Create(parent, 0, 2, false));
  CHECK(l.instance() != in);
  CHECK(l.instance()->item_row_height == 20);
  CHECK(find_instance(l.list_window()) == l.instance());
  CHECK(find_instance_by_parent(parent) == in);  // the first one made on it

  for (int view : {0, 3, -1}) {
    Fixture f(view);
    CHECK(f.in().item_row_height == 54);
    CHECK(f.in().view_mode == 0);
  }
}

TEST_CASE("grouplist: groups and items in the document and the rows") {
  Fixture f;
  int a = f.list.AddGroup("好友", true, 0xFF);
  int b = f.list.AddGroup("b&<\"", false, 0);
  CHECK(f.attr_names(a) == Names{"项目类别", "分组名称", "项目句柄", "名称颜色", "已扩展", "项目索引"});
  CHECK(f.attr_values(a) == Names{"分组", "好友", std::to_string(a), "255", "1", "0"});
  CHECK(f.attr(b, "项目索引") == "1");
  CHECK(f.rows() == std::vector<int>{a, b});
  CHECK(f.heights() == std::vector<int>{24, 24});
  int plain = f.list.AddGroup("plain");  // defaults: collapsed, black
  CHECK(f.attr_values(plain)[3] + f.attr_values(plain)[4] == "00");
  CHECK(f.list.Remove(plain));

  int i1 = f.item(a, "one", true, {2, 5});
  CHECK(f.attr_names(i1) == Names{"项目句柄", "项目类别", "分组句柄", "QQ名称", "QQ号码", "个性签名", "名称颜色",
                                  "业务图标数量", "业务图标数组", "备注信息", "头像图标句柄", "灰度头像句柄",
                                  "头像宽度", "头像高度", "是否在线", "项目索引"});
  // Online: no grey avatar. The new row goes right before the next group, which moves down.
  CHECK(f.attr_values(i1) == Names{std::to_string(i1), "项目", std::to_string(a), "one", "n-one", "", "0", "2", "2,5",
                                   "r-one", f.attr(i1, "头像图标句柄"), "0", "32", "32", "1", "1"});
  CHECK(f.rows() == std::vector<int>{a, i1, b});
  CHECK(f.row(b) == 2);
  CHECK(f.heights() == std::vector<int>{24, 54, 24});

  int i2 = f.item(b, "two", false);  // collapsed group: no row; offline: a grey avatar
  CHECK(f.row(i2) == -1);
  CHECK(f.attr(i2, "项目索引") == "-1");
  CHECK_FALSE(f.el(i2)->attribute("业务图标数组"));
  CHECK(f.attr(i2, "业务图标数量") == "0");
  CHECK(f.attr(i2, "灰度头像句柄") != "0");
  CHECK(f.rows() == std::vector<int>{a, i1, b});

  ItemRecord r;
  std::vector<int> icons{9};
  REQUIRE(f.list.GetItem(i1, r, icons, true));
  CHECK(r.handle == i1);
  CHECK(r.group == a);
  CHECK(r.name == "one");
  CHECK(r.number == "n-one");
  CHECK(r.remark == "r-one");
  CHECK(r.online);
  CHECK(r.avatar.empty());
  CHECK(icons == std::vector<int>{2, 5});
  REQUIRE(f.list.GetItem(i2, r, icons, true));
  CHECK(icons.empty());
  CHECK_FALSE(r.online);
  REQUIRE(f.list.GetItem(a, r, icons, false));  // a group fills handle, name and colour only
  CHECK(r.name == "好友");
  CHECK(r.name_colour == 0xFF);
  CHECK(r.group == 0);
  CHECK(r.number.empty());
  CHECK(f.list.GetGroupName(b) == "b&<\"");
  CHECK(f.list.GetGroupName(i1).empty());
  f.check_consistent();
}

TEST_CASE("grouplist: AddItem refuses bad input without changing anything") {
  Fixture f, other;
  int g = f.list.AddGroup("g", true, 0);
  int i = f.item(g, "x");
  int foreign = other.list.AddGroup("o", true, 0);
  int next = f.list.NewHandle() + 1;
  std::size_t bitmaps = f.pics.live.size();
  CHECK(f.item(0, "bad") == 0);
  CHECK(f.item(-1, "bad") == 0);
  CHECK(f.item(i, "bad") == 0);        // an item is no group
  CHECK(f.item(foreign, "bad") == 0);  // a group of another control
  CHECK(f.item(g, "bad", true, {}, "") == 0);
  CHECK(f.item(g, "bad", false, {}, "not a picture") == 0);
  CHECK(f.pics.live.size() == bitmaps);
  CHECK(f.list.NewHandle() == next);  // no handle was used up
  CHECK(f.list.FindItemByName("bad") == 0);
  CHECK(f.rows() == std::vector<int>{g, i});
}

TEST_CASE("grouplist: expanding and collapsing keep every row index right") {
  Fixture f;
  int a = f.list.AddGroup("a", true, 0);
  int a1 = f.item(a, "a1"), a2 = f.item(a, "a2"), a3 = f.item(a, "a3");
  int b = f.list.AddGroup("b", true, 0);
  int b1 = f.item(b, "b1");
  int c = f.list.AddGroup("c", false, 0);
  int c1 = f.item(c, "c1");
  CHECK(f.rows() == std::vector<int>{a, a1, a2, a3, b, b1, c});

  // Items at rows 1..3 go; every later row moves up.
  f.list.CollapseGroup(a);
  CHECK(f.rows() == std::vector<int>{a, b, b1, c});
  CHECK(f.attr(a, "已扩展") == "0");
  CHECK(f.row(a2) == -1);
  CHECK(f.row(c) == 3);
  CHECK(f.win->redrawn_rows.back() == 0);
  f.check_consistent();

  f.list.CollapseGroup(a);  // already collapsed: nothing
  f.list.ExpandGroup(c);
  CHECK(f.rows() == std::vector<int>{a, b, b1, c, c1});
  f.list.ExpandGroup(a1);  // an item: nothing
  f.list.ExpandAll();
  CHECK(f.rows() == std::vector<int>{a, a1, a2, a3, b, b1, c, c1});
  f.check_consistent();
  f.list.CollapseAll();
  CHECK(f.rows() == std::vector<int>{a, b, c});
  CHECK(f.attr(b, "已扩展") == "0");
  f.check_consistent();

  // An item row that lands on the selected position is shown 54 high, whatever the view.
  Fixture m(1);
  int g = m.list.AddGroup("g", false, 0);
  m.item(g, "x");
  m.item(g, "y");
  m.in().selected_row = 2;
  m.list.ExpandGroup(g);
  CHECK(m.heights() == std::vector<int>{24, 30, 54});
}

TEST_CASE("grouplist: removing items and groups") {
  Fixture f;
  int a = f.list.AddGroup("a", true, 0);
  int a1 = f.item(a, "a1"), a2 = f.item(a, "a2", false);
  int b = f.list.AddGroup("b", true, 0);
  int b1 = f.item(b, "b1");
  std::size_t bitmaps = f.pics.live.size();

  f.in().selected_row = 2;
  f.in().hover_row = 2;
  f.in().hovered_icon = 3;
  CHECK(f.list.Remove(a2));
  CHECK(f.pics.live.size() == bitmaps - 2);  // its avatar and grey avatar
  CHECK(f.in().selected_row == -1);
  CHECK(f.in().hover_row == -1);
  CHECK(f.in().hovered_icon == 0);
  CHECK(f.rows() == std::vector<int>{a, a1, b, b1});
  f.check_consistent();
  for (int bad : {0, -1, a2, 99999999}) CHECK_FALSE(f.list.Remove(bad));

  // An expanded group takes its item rows with it.
  f.in().selected_row = 3;
  CHECK(f.list.Remove(b));
  CHECK(f.rows() == std::vector<int>{a, a1});
  CHECK(f.el(b1) == nullptr);
  CHECK(f.in().selected_row == -1);
  CHECK(f.list.FindItemByName("b1") == 0);
  f.check_consistent();

  int c = f.list.AddGroup("c", false, 0);
  f.item(c, "c1");
  CHECK(f.list.ClearGroupItems(c, true));
  CHECK(f.el(c)->child_count() == 0);
  CHECK_FALSE(f.list.ClearGroupItems(a1, true));
  CHECK(f.list.ClearGroupItems(0, false));
  CHECK(f.rows() == std::vector<int>{a, c});
  CHECK(f.list.GetGroupName(c) == "c");
  CHECK_FALSE(f.list.DeleteGroups(12, true));
  f.item(a, "again");
  f.in().selected_row = 1;
  CHECK(f.list.DeleteGroups(a, true));
  CHECK(f.rows() == std::vector<int>{c});
  CHECK(f.in().selected_row == -1);
  f.item(c, "c2");
  f.list.ExpandGroup(c);
  CHECK(f.list.DeleteGroups(0, false));
  CHECK(f.in().document->root()->child_count() == 0);
  CHECK(f.win->count() == 0);
  CHECK(f.pics.live.empty());
  CHECK(f.pics.bad_frees == 0);
  CHECK(f.list.RemoveGroupItems(f.list.AddGroup("d", true, 0), true));
}

TEST_CASE("grouplist: find operations walk groups, then items, in document order") {
  Fixture f;
  int a = f.list.AddGroup("same", false, 0);
  int b = f.list.AddGroup("same", true, 0);
  int b1 = f.item(b, "dup");
  int a1 = f.item(a, "dup");  // added later, but its group comes first
  int a2 = f.item(a, "Dup");
  CHECK(f.list.FindGroupByName("same") == a);
  CHECK(f.list.FindItemByName("dup") == a1);
  CHECK(f.list.FindItemByName("Dup") == a2);  // exact bytes, case counts
  CHECK(f.list.FindItemByName("DUP") == 0);
  CHECK(f.list.FindItemByNumber("n-dup") == a1);
  CHECK(f.list.FindItemByRemark("r-Dup") == a2);
  CHECK(f.list.FindItemByAttribute("QQ名称", "dup") == a1);
  CHECK(f.list.FindItemByAttribute("分组句柄", std::to_string(b)) == b1);
  CHECK(f.list.FindItemByAttribute("项目索引", "2") == b1);  // the live row index
  CHECK(f.list.FindItemByAttribute("项目索引", "-1") == a1);
  CHECK(f.list.FindItemByAttribute("头像闪烁", "") == a1);  // absent reads as empty text
  CHECK(f.list.FindItemByAttribute("no such", "x") == 0);
  CHECK(f.list.FindItemByAttribute("分组名称", "same") == 0);  // groups are not items
  f.list.Remove(a1);
  CHECK(f.list.FindItemByName("dup") == b1);
  f.list.Remove(a);
  CHECK(f.list.FindGroupByName("same") == b);
}

TEST_CASE("grouplist: SetItem, GetSelectedItem and the online state") {
  Fixture f;
  int g = f.list.AddGroup("g", true, 0);
  int i = f.item(g, "old", true, {1});
  ItemRecord r;
  std::vector<int> icons;
  CHECK_FALSE(f.list.GetSelectedItem(r, icons, true));

  r = {};
  r.handle = i;
  r.name = "new";
  r.number = "7";
  r.name_colour = 0x123456;
  r.online = false;
  r.signature = "sig";
  r.remark = "path";
  REQUIRE(f.list.SetItem(r));
  CHECK(f.list.FindItemByName("old") == 0);
  CHECK(f.list.FindItemByName("new") == i);
  CHECK(f.list.FindItemByRemark("path") == i);
  CHECK(f.attr(i, "灰度头像句柄") != "0");  // going offline makes the grey avatar
  CHECK(f.attr(i, "业务图标数组") == "1");
  // Attributes keep their places; the flash attributes are written and go last.
  CHECK(f.attr_names(i).back() == "头像闪烁");
  CHECK(f.attr_names(i)[f.attr_names(i).size() - 2] == "头像偏移");
  r.handle = g;
  CHECK_FALSE(f.list.SetItem(r));  // a group is not an item
  CHECK(f.list.GetGroupName(g) == "g");

  f.list.SelectItem(i);
  REQUIRE(f.list.GetSelectedItem(r, icons, true));
  CHECK(r.name == "new");
  CHECK(r.name_colour == 0x123456);
  CHECK(icons == std::vector<int>{1});

  SUBCASE("SetOnline blinks online, offline, online, offline, then stays online") {
    std::vector<bool> seen;
    f.win->on_redraw = [&](int row) {
      ElementRecord e;
      f.list.ReadElement(f.list.GetHandleAt(row), e);
      seen.push_back(e.online);
    };
    CHECK(f.list.SetOnline(i, 40));
    CHECK(seen == std::vector<bool>{true, false, true, false, true});
    CHECK(f.win->pauses == std::vector<int>{40, 40, 40, 40});
    CHECK_FALSE(f.list.SetOnline(i, 0));  // already online
    CHECK(f.list.SetOffline(i));
    CHECK(f.list.SetOffline(i));  // offline again: still true, drawn again
    seen.clear();
    CHECK(f.list.SetOnline(i, 0));
    CHECK(seen == std::vector<bool>{true});
  }
  SUBCASE("an item removed while the blink lets messages run") {
    f.win->on_pause = [&] { f.list.Remove(i); };
    CHECK(f.list.SetOnline(i, 10));
    CHECK(f.win->pauses.size() == 1);
    CHECK(f.rows() == std::vector<int>{g});
  }
  SUBCASE("state changes need an item") {
    for (int bad : {0, -1, g, 424242}) {
      CHECK_FALSE(f.list.SetOnline(bad, 0));
      CHECK_FALSE(f.list.SetOffline(bad));
    }
    int hidden = f.item(f.list.AddGroup("h", false, 0), "hidden", false);
    std::size_t redraws = f.win->redrawn_rows.size();
    CHECK(f.list.SetOnline(hidden, 50));  // not shown: no blink, no drawing
    CHECK(f.win->redrawn_rows.size() == redraws);
    CHECK(f.win->pauses.empty());
  }
}

TEST_CASE("grouplist: sorting puts online items first and keeps the rows in place") {
  Fixture f;
  int g = f.list.AddGroup("g", true, 0);
  int a = f.item(g, "A", false), b = f.item(g, "B", true), c = f.item(g, "C", false), d = f.item(g, "D", true);
  int h = f.list.AddGroup("h", false, 0);
  int h1 = f.item(h, "h1", false), h2 = f.item(h, "h2", true);
  f.list.StartFlashing(c);
  f.list.SortAllGroups();
  CHECK(f.rows() == std::vector<int>{g, b, d, a, c, h});
  CHECK(f.row(a) == 3);
  CHECK(f.el(g)->first_child() == f.el(b));
  CHECK(f.el(h)->first_child() == f.el(h2));
  CHECK(f.row(h1) == -1);
  // New elements carry the write-back set in its order; the flashing state survives.
  CHECK(f.attr_names(a) == Names{"项目句柄", "项目类别", "分组句柄", "QQ名称", "QQ号码", "个性签名", "名称颜色",
                                 "业务图标数量", "备注信息", "头像图标句柄", "灰度头像句柄", "头像宽度",
                                 "头像高度", "头像偏移", "是否在线", "项目索引", "头像闪烁"});
  CHECK(f.attr(c, "头像闪烁") == "1");
  CHECK(f.list.FindItemByName("C") == c);
  f.check_consistent();
  f.list.Remove(b);
  f.list.CollapseGroup(g);
  f.list.ExpandAll();
  f.check_consistent();
}

TEST_CASE("grouplist: views, styles and selection") {
  Fixture f(1, true);
  int g = f.list.AddGroup("g", true, 0);
  int x = f.item(g, "x"), y = f.item(g, "y");
  int hidden = f.item(f.list.AddGroup("h", false, 0), "z");
  CHECK(f.heights() == std::vector<int>{24, 30, 30, 24});

  f.list.SelectItem(x);
  CHECK(f.in().selected_row == 1);
  CHECK(f.heights() == std::vector<int>{24, 54, 30, 24});
  f.list.SelectItem(y);  // the old row goes back, the new one grows
  CHECK(f.heights() == std::vector<int>{24, 30, 54, 24});
  CHECK(f.win->refreshes - f.win->erasing_refreshes >= 2);
  f.list.SelectItem(hidden);  // collapsed: nothing
  f.list.SelectItem(g);       // a group: nothing
  CHECK(f.in().selected_row == 2);

  f.list.SetSmallView(true);  // the selected row keeps its height
  CHECK(f.heights() == std::vector<int>{24, 20, 54, 24});
  CHECK(f.in().view_mode == 2);
  f.list.SetMediumView(false);
  CHECK(f.heights() == std::vector<int>{24, 30, 30, 24});
  f.list.SetLargeView();
  CHECK(f.heights() == std::vector<int>{24, 54, 54, 24});
  CHECK(f.in().item_row_height == 54);

  // Without enlarging, selection only redraws the two rows.
  f.list.SelectItem(x);
  CHECK(f.win->redrawn_rows.back() == 1);
  CHECK(f.heights() == std::vector<int>{24, 54, 54, 24});

  // A colour left out takes its default even after another was set.
  f.list.SetGroupRowStyle(1, 0x111111);
  f.list.SetGroupRowStyle(1, {}, 0x222222);
  CHECK(f.in().group_style.normal_frame == 0xFFFFFF);
  CHECK(f.in().group_style.normal_fill == 0x222222);
  f.list.SetServiceIconHighlight(kNoColour);
  CHECK(f.in().icon_hover_fill == kNoColour);
  CHECK(f.in().icon_hover_frame == 0x438ACE);
}

TEST_CASE("grouplist: service icons and flashing") {
  Fixture f;
  CHECK(f.list.AddServiceIcon("PIC:16:16") == 1);
  CHECK(f.list.AddServiceIcon("PIC:32:32", 0x00FF00) == 2);
  CHECK(f.list.AddServiceIcon("garbage") == 0);
  f.pics.fail_strip = true;
  CHECK(f.list.AddServiceIcon("PIC:16:16") == 0);
  f.pics.fail_strip = false;
  CHECK(f.list.AddServiceIcon("PIC:16:16") == 3);
  CHECK(f.in().icon_count == 3);
  CHECK(f.in().icon_keys == std::vector<Colour>{0xFF00FF, 0x00FF00, 0xFF00FF});
  CHECK(f.pics.live.size() == 1);  // only the strip; pictures and old strips are freed
  CHECK(f.pics.live.at(f.in().icon_strip).width == 48);
  CHECK(f.pics.bad_frees == 0);

  int g = f.list.AddGroup("g", true, 0);
  int i = f.item(g, "i");
  f.list.StartFlashing(g);
  f.list.StartFlashing(i);
  f.list.StartFlashing(i);
  CHECK(f.attr_names(g).back() == "项目索引");
  CHECK(f.attr(i, "头像闪烁") == "1");
  CHECK(f.in().flashing() == std::vector<int>{i});
  CHECK(f.win->timer_starts == 1);
  f.list.StopFlashing(i);
  CHECK(f.attr(i, "头像闪烁") == "0");
  f.list.Remove(i);
  CHECK(f.in().flashing().empty());
}

TEST_CASE("grouplist: SaveToFile writes the live row indexes, well-formed") {
  Fixture f;
  int a = f.list.AddGroup("组<&>\"\x01", false, 0);
  int a1 = f.item(a, "名\xFF\"&");
  int b = f.list.AddGroup("b", true, 0);
  int b1 = f.item(b, "b1");
  f.list.ExpandGroup(a);
  fs::path dir = fs::temp_directory_path() / ("tb_gl_" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::path file = dir / "list.xml";
  REQUIRE(f.list.SaveToFile(file.string()));
  CHECK(f.attr(a1, "项目索引") == "1");
  CHECK(f.attr(b, "项目索引") == "2");
  CHECK(f.attr(b1, "项目索引") == "3");
  std::string saved;
  tb::read_file(file.string(), saved);
  CHECK(saved == f.in().document->to_xml());
  if (!fs::exists("/usr/bin/xmllint")) {
    MESSAGE("xmllint not installed: well-formedness not checked");
  } else {
    CHECK(std::system(("/usr/bin/xmllint --noout '" + file.string() + "'").c_str()) == 0);
  }
  CHECK_FALSE(f.list.SaveToFile((dir / "no" / "such.xml").string()));
  CHECK_FALSE(fs::exists(dir / "no"));
  fs::remove_all(dir);
}

TEST_CASE("grouplist: bitmaps have one owner; an instance frees all of its own when it goes") {
  FakePictures pics;
  {
    OwnedBitmap a(pics, pics.load("PIC:1:1", 0).bitmap), b(pics, pics.load("PIC:2:2", 0).bitmap);
    std::intptr_t kept = b;
    a = std::move(b);  // the one a held goes, b's moves over
    CHECK(pics.live.size() == 1);
    CHECK(a.get() == kept);
    CHECK(b.get() == 0);
    OwnedBitmap c(std::move(a));
    c = std::move(c);
    CHECK(c.get() == kept);
    std::intptr_t given = c.release();  // given up, not freed
    CHECK(pics.live.count(given) == 1);
    pics.destroy(given);
    OwnedBitmap none(pics, 0);
  }
  CHECK(pics.live.empty());
  CHECK(pics.bad_frees == 0);

  MemoryHost host(pics);
  start_handle_counter();
  {
    Instance in(host.create_list(host.add_window(), 0), pics, 0, 0, false, 0xFFFFFF);
    ItemRecord r;
    r.avatar = "PIC:8:8";
    int g = r.group = in.add_group("g", true, 0);
    int h = in.add_group("h", false, 0);
    for (bool online : {true, false, true}) {
      r.online = online;
      REQUIRE(in.add_item(r, {}, false));
    }
    r.group = h;
    pics.fail_grey = true;  // an offline item without its grey avatar yet
    REQUIRE(in.add_item(r, {}, false));
    int no_grey = r.handle;
    pics.fail_grey = false;
    CHECK(in.add_service_icon("PIC:16:16", 0) == 1);
    CHECK(in.add_service_icon("PIC:16:16", 0) == 2);
    CHECK(in.set_offline(no_grey));
    CHECK(pics.live.size() == 4 + 2 + 1);  // avatars, grey avatars, one strip
    CHECK(in.remove(no_grey));
    in.sort_group(g);
    CHECK(pics.live.size() == 3 + 1 + 1);
  }
  CHECK(pics.live.empty());
  CHECK(pics.bad_frees == 0);
}
