// A list control on the in-memory host, with helpers that read rows and the document.
#pragma once
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "fake_pictures.h"
#include "widgets/grouplist/grouplist.h"
#include "widgets/grouplist/instance.h"
#include "tests/support/grouplist/memory_host.h"

namespace tb::grouplist::testing {

struct Fixture {
  explicit Fixture(int view = 0, bool enlarge = false, Colour background = 0xFFFFFF) {
    REQUIRE(list.Create(parent, 0, view, enlarge, background));
    win = host.list(list.list_window());
    REQUIRE(win);
  }

  Instance& in() const { return *list.instance(); }
  xml::Element* el(int handle) const { return in().document->find("Item" + std::to_string(handle)); }
  std::string attr(int handle, std::string_view name) const {
    auto v = el(handle)->attribute(name);
    return v ? std::string(*v) : "<absent>";
  }
  std::vector<std::string> attr_names(int handle) const {
    std::vector<std::string> names;
    xml::Element* e = el(handle);
    for (std::size_t i = 0; i < e->attribute_count(); ++i) names.emplace_back(e->attribute_name(i));
    return names;
  }
  std::vector<std::string> attr_values(int handle) const {
    std::vector<std::string> values;
    xml::Element* e = el(handle);
    for (std::size_t i = 0; i < e->attribute_count(); ++i) values.emplace_back(e->attribute_value(i));
    return values;
  }
  int row(int handle) const {
    ElementRecord r;
    return list.ReadElement(handle, r) ? r.row : -99;
  }
  std::vector<int> rows() const {
    std::vector<int> v;
    for (int r = 0; r < win->count(); ++r) v.push_back(list.GetHandleAt(r));
    return v;
  }
  std::vector<int> heights() const {
    std::vector<int> v;
    for (int r = 0; r < win->count(); ++r) v.push_back(win->height(r));
    return v;
  }
  int item(int group, const std::string& name, bool online = true, const std::vector<int>& icons = {},
           const std::string& picture = "PIC:32:32") {
    ItemRecord r;
    r.group = group;
    r.avatar = picture;
    r.name = name;
    r.number = "n-" + name;
    r.online = online;
    r.remark = "r-" + name;
    return list.AddItem(r, icons, !icons.empty()) ? r.handle : 0;
  }

  // Rows follow the document (groups, then the items of expanded groups) and every element's
  // row index agrees with its row; hidden items read -1.
  void check_consistent() const {
    std::vector<int> expected;
    for (xml::Element* g = in().document->root()->first_child(); g; g = g->next_sibling()) {
      int gh = std::stoi(std::string(*g->attribute("项目句柄")));
      expected.push_back(gh);
      bool shown = *g->attribute("已扩展") == "1";
      for (xml::Element* it = g->first_child(); it; it = it->next_sibling()) {
        int ih = std::stoi(std::string(*it->attribute("项目句柄")));
        if (shown) expected.push_back(ih);
        else CHECK(row(ih) == -1);
      }
    }
    REQUIRE(rows() == expected);
    for (int r = 0; r < static_cast<int>(expected.size()); ++r) CHECK(row(expected[static_cast<std::size_t>(r)]) == r);
  }

  FakePictures pics;
  MemoryHost host{pics};
  GroupList list{host};
  std::intptr_t parent = host.add_window();
  MemoryListWindow* win = nullptr;
};

}  // namespace tb::grouplist::testing
