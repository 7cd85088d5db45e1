#include <doctest/doctest.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <random>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "base/fileio.h"
#include "base/xml.h"

namespace fs = std::filesystem;
using tb::xml::Document;
using tb::xml::Element;

namespace {

fs::path temp_dir() {
  fs::path p = fs::temp_directory_path() / ("tb_xml_" + std::to_string(getpid()));
  fs::create_directories(p);
  return p;
}

std::string slurp(const fs::path& p) {
  std::string s;
  tb::read_file(p.string(), s);
  return s;
}

// xmllint's verdict on a file: 0 well-formed; -1 when xmllint is not installed.
int xmllint(const fs::path& p) {
  if (!fs::exists("/usr/bin/xmllint")) return -1;
  std::string cmd = "/usr/bin/xmllint --noout '" + p.string() + "' 2>/dev/null";
  return std::system(cmd.c_str());
}

Element* add(Element* parent, const char* name) {
  return parent->append_child(parent->document().create_element(name));
}

}  // namespace

TEST_CASE("xml: tree links, removal and the name index") {
  Document d;
  Element* root = d.set_root(d.create_element("QQ列表"));
  REQUIRE(root);
  CHECK_FALSE(d.set_root(d.create_element("second")));
  Element* a = add(root, "Item1");
  Element* b = add(root, "Item2");
  Element* c = add(b, "Item3");
  CHECK(root->child_count() == 2);
  CHECK(root->first_child() == a);
  CHECK(a->next_sibling() == b);
  CHECK(b->previous_sibling() == a);
  CHECK(c->parent() == b);
  CHECK(d.find("Item3") == c);
  CHECK(d.find("QQ列表") == root);
  CHECK(d.element_count() == 4);

  // A removed subtree leaves the index with all its descendants.
  auto detached = root->remove_child(b);
  REQUIRE(detached);
  CHECK_FALSE(detached->in_document());
  CHECK_FALSE(c->in_document());
  CHECK(d.find("Item2") == nullptr);
  CHECK(d.find("Item3") == nullptr);
  CHECK(root->child_count() == 1);
  CHECK(root->last_child() == a);
  CHECK(root->remove_child(c) == nullptr);  // not its child

  // Re-attached, the subtree is found again; a detached element is never found.
  auto loose = d.create_element("Item9");
  CHECK(d.find("Item9") == nullptr);
  root->append_child(std::move(detached));
  CHECK(d.find("Item3") == c);

  // Several elements with one name: the first in document order, whatever the insertion order.
  Element* late = add(root, "dup");
  Element* early = add(a, "dup");
  CHECK(d.find("dup") == early);
  root->remove_child(a);
  CHECK(d.find("dup") == late);

  // Elements of another document are refused.
  Document other;
  CHECK(root->append_child(other.create_element("x")) == nullptr);
}

TEST_CASE("xml: attributes keep their first order; names are checked") {
  Document d;
  Element* e = d.set_root(d.create_element("e"));
  CHECK(e->set_attribute("b", "1"));
  CHECK(e->set_attribute("项目索引", "2"));
  CHECK(e->set_attribute("a", "3"));
  CHECK(e->set_attribute("b", "changed"));
  REQUIRE(e->attribute_count() == 3);
  CHECK(e->attribute_name(0) == "b");
  CHECK(e->attribute_value(0) == "changed");
  CHECK(e->attribute_name(1) == "项目索引");
  CHECK(*e->attribute("a") == "3");
  CHECK_FALSE(e->attribute("missing"));
  CHECK(e->remove_attribute("项目索引"));
  CHECK_FALSE(e->remove_attribute("项目索引"));
  CHECK(e->attribute_count() == 2);

  for (const char* bad : {"", "1a", "-a", "a b", "a<b", "a\"", "\xA1\xA1", "\xB0", "x\xFF\x41"}) {
    CAPTURE(bad);
    CHECK_FALSE(e->set_attribute(bad, "v"));
    CHECK(d.create_element(bad) == nullptr);
  }
  CHECK(d.create_element("_a.b-c:d9") != nullptr);
}

TEST_CASE("xml: text form escapes markup and replaces what GBK readers reject") {
  Document d;
  Element* root = d.set_root(d.create_element("r"));
  Element* child = add(root, "c");
  add(child, "leaf");
  child->set_attribute("v", "a&b<c>d\"e'f\tg\nh\ri\x01j\x7f");
  // Valid GBK kept; 0x80, 0xFF, a lead before a quote and a lone lead at the end become one
  // '?' each; a user-defined and an unassigned character one '?' for both bytes.
  root->set_attribute("g", "按\x80x\xFFy\xB0\"\xAA\xA1\xFE\x50z\xB0");
  std::string x = d.to_xml();
  CHECK(x ==
        "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n"
        "<r g=\"\xB0\xB4?x?y?&quot;??z?\">\r\n"
        "  <c v=\"a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;i?j\x7f\">\r\n"
        "    <leaf/>\r\n"
        "  </c>\r\n"
        "</r>\r\n");
}

TEST_CASE("xml: saving goes through a temporary file and is well-formed") {
  fs::path dir = temp_dir();
  Document d;
  Element* root = d.set_root(d.create_element("QQ列表"));
  Element* item = add(root, "Item10001");
  item->set_attribute("QQ名称", "a&<>\"\x01\x1f名\xFF");
  // Every two-byte code, so the GBK filter and the reader agree on all of them.
  std::string all;
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      all += static_cast<char>(lead);
      all += static_cast<char>(trail);
    }
  item->set_attribute("全部", all);

  fs::path file = dir / "列表.xml";
  REQUIRE(d.save(file.string()));
  CHECK(slurp(file) == d.to_xml());
  int lint = xmllint(file);
  if (lint < 0) MESSAGE("xmllint not installed: well-formedness not checked");
  else CHECK(lint == 0);

  SUBCASE("a file that cannot be written leaves nothing behind") {
    CHECK_FALSE(d.save((dir / "missing" / "x.xml").string()));
    fs::create_directory(dir / "occupied");
    CHECK_FALSE(d.save((dir / "occupied").string()));
    CHECK(fs::is_directory(dir / "occupied"));
    std::size_t files = 0;
    for (auto& e : fs::directory_iterator(dir)) files += e.is_regular_file();
    CHECK(files == 1);  // only 列表.xml, no temporary
  }
  SUBCASE("no root, no file") {
    Document empty;
    CHECK_FALSE(empty.save((dir / "empty.xml").string()));
    CHECK_FALSE(fs::exists(dir / "empty.xml"));
  }
  fs::remove_all(dir);
}

TEST_CASE("xml: a very deep tree is written and freed without recursion") {
  Document d;
  Element* e = d.set_root(d.create_element("r"));
  for (int i = 0; i < 200000; ++i) e = add(e, "n");
  std::string x = d.to_xml();
  CHECK(x.size() < 200000u * 160);  // indentation is capped, so the text stays linear
  CHECK(x.find("</r>") != std::string::npos);
  CHECK(d.find("n") == d.root()->first_child());
}

TEST_CASE("xml: the head table finds every key after any mix of inserts and erases") {
  struct Obj {
    std::string key;
  };
  struct KeyOf {
    std::string_view operator()(const Obj* o) const { return o->key; }
  };
  tb::xml::HeadTable<Obj, KeyOf> table;
  std::deque<Obj> objs;
  std::map<std::string, Obj*> ref;
  std::mt19937 rng(5);
  for (int step = 0; step < 20000; ++step) {
    std::string key = "k" + std::to_string(rng() % 700);
    if (rng() % 2) {
      Obj*& head = table.slot(key);
      if (!head) head = &objs.emplace_back(Obj{key});
      ref.emplace(key, head);
    } else {
      table.erase(key);
      ref.erase(key);
    }
    if (step % 1000 == 0)
      for (int k = 0; k < 700; ++k) {
        std::string probe = "k" + std::to_string(k);
        auto it = ref.find(probe);
        REQUIRE(table.find(probe) == (it == ref.end() ? nullptr : it->second));
      }
  }
  CHECK(table.size() == ref.size());
}
