#include <doctest/doctest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "base/fileio.h"
#include "base/text.h"
#include "codemanager/content_search.h"
#include "codemanager/folder_ops.h"
#include "codemanager/snippet_store.h"

using namespace tb;
using namespace tb::snippets;
using V = std::vector<std::string>;

namespace {

// A real temporary folder with a snippet root in it, removed afterwards.
struct Root {
  std::string base, root;
  Root() {
    char t[] = "/tmp/tb_snippets_XXXXXX";
    base = mkdtemp(t);
    root = base + "/代码管理器";
  }
  ~Root() { fs::remove_tree(base); }
  std::string at(const std::string& rel) const { return root + "/" + rel; }
  void folder(const std::string& rel) const { REQUIRE(make_folders(at(rel))); }
  void file(const std::string& rel, const std::string& bytes = "x") const { REQUIRE(write_file_atomic(at(rel), bytes)); }
  std::string read(const std::string& rel) const {
    std::string s;
    read_file(at(rel), s);
    return s;
  }
  // Every path under base with its contents: proves that nothing changed.
  std::set<std::string> snapshot() const { return walk(base); }
  std::set<std::string> walk(const std::string& p) const {
    std::set<std::string> out;
    std::vector<fs::Entry> es;
    fs::list(p, es);
    for (auto& e : es) {
      std::string full = p + "/" + e.name, bytes;
      if (!e.folder) read_file(full, bytes);
      out.insert(full + "=" + bytes);
      if (e.folder) out.merge(walk(full));
    }
    return out;
  }
};

std::set<std::string> as_set(const V& v) { return {v.begin(), v.end()}; }

}  // namespace

TEST_CASE("names: validity, trimming, bmp extension, file name of a path") {
  struct Row {
    const char* name;
    bool ok;
  } rows[] = {
      {"", false},       {".", false},      {"..", false},       {"a.", false},    {"a\\b", false},
      {"a/b", false},    {"a:b", false},    {"a*", false},       {"a?", false},    {"a\"b", false},
      {"<a", false},     {"a>", false},     {"a|b", false},      {"a\tb", false},  {"x\x81", false},
      {"v1.2", true},    {".hidden", true}, {"代码 片段", true}, {"俓", true},     {"亅", true},
  };
  for (const Row& r : rows) CHECK_MESSAGE(valid_name(r.name) == r.ok, r.name);
  CHECK(clean_name("\xA1\xA1 名字 \xA1\xA1") == "名字");
  CHECK(clean_name("\tx") == "\tx");

  for (auto [name, bmp] : std::vector<std::pair<const char*, bool>>{
           {"pic.bmp", true}, {"pic.BMP", false}, {"a.bmp.txt", false}, {"bmp", false}, {"图.bmp", true}})
    CHECK_MESSAGE(is_bmp(name) == bmp, name);
  CHECK(file_name_of("/a/b/图.bmp") == "图.bmp");
  CHECK(file_name_of("plain") == "plain");
}

TEST_CASE("search and source text rules") {
  const V names = {"xabcx", "ABC", "数据abc", "ab", "Ａbc"};
  CHECK(search(names, "ABC") == V{"xabcx", "ABC", "数据abc"});
  CHECK(search(names, "") == names);
  CHECK(search(names, "数据") == V{"数据abc"});
  CHECK(search(names, "\xA3\xC1").size() == 1);  // full-width Ａ matches only itself
  CHECK(search({"\x81\x61"}, "A").empty());      // never inside a two-byte character

  CHECK(cut_at_terminator(std::string("ab\0cd", 5)) == "ab");
  CHECK(cut_at_terminator("ab\x1A" "cd") == "ab");
  CHECK(cut_at_terminator("abc") == "abc");
}

TEST_CASE("content matcher: the first matching line, by the text rules") {
  const struct {
    const char *text, *typed;
    int line;
  } rows[] = {
      {"Delay 1\r\nKeyPress 65,1\r\n", "keypress", 2},
      {"a\r\n\r\n// 点击蓝色按钮\r\nLeftClick 1", "蓝色", 3},  // inside a GBK line
      {"\x81\x61\r\nA", "a", 2},                          // never inside a two-byte character
      {"数据", "\xFD\xBE", 0},                               // nor across two of them
      {"Ａbc\nａbc", "\xA3\xE1", 2},                         // full-width letters exact
      {"one\ntwo\nthree", "THREE", 3},                      // "\n" alone ends a line too
      {"xABCx", "abc", 1}, {"ab", "abc", 0}, {"anything", "", 0}, {"", "a", 0},
  };
  for (const auto& r : rows) {
    INFO(r.text, " / ", r.typed);
    CHECK(first_matching_line(r.text, r.typed) == r.line);
    if (*r.typed) CHECK((r.line != 0) == (find(r.text, r.typed, 0, true) != npos));
  }
}

TEST_CASE("listing: both levels in the file system's order, hidden folders and stray files left out") {
  Root r;
  Store s(r.root);
  CHECK(s.load().empty());  // no root: nothing, nothing created
  CHECK_FALSE(fs::exists(r.root));

  r.folder("主1/v1.2");
  r.folder("主1/片段");
  r.folder("主1/.git");
  r.folder("主1/片段/below");
  r.folder(".hidden/x");
  r.folder("主2");
  r.file("stray.txt");
  r.file("主1/stray.txt");
  r.file("主1/v1.2/v1.2.txt", std::string("keypress 65\r\n\0after", 20));
  r.file("主1/v1.2/v1.txt");
  r.file("主1/v1.2/V1.2.TXT");
  r.file("主1/v1.2/pic.bmp");

  std::vector<MainItem> items = s.load();
  REQUIRE(items.size() == 2);
  CHECK(as_set({items[0].name, items[1].name}) == std::set<std::string>{"主1", "主2"});
  const MainItem& m = items[0].name == "主1" ? items[0] : items[1];
  CHECK(as_set(m.snippets) == std::set<std::string>{"v1.2", "片段"});
  CHECK(s.snippets("主1") == m.snippets);  // the same order every time

  CHECK(s.read_source("主1", "v1.2") == "keypress 65\r\n");
  CHECK(s.read_source("主1", "片段").empty());
  CHECK(as_set(s.resources("主1", "v1.2")) == std::set<std::string>{"v1.txt", "V1.2.TXT", "pic.bmp"});
  CHECK(s.resources("主1", "gone").empty());
  CHECK(s.resources("..", "..").empty());
}

TEST_CASE("add, rename and delete: refused names and duplicates change nothing on disk") {
  Root r;
  Store s(r.root);
  CHECK(s.add_main("主") == Outcome::Done);  // creates the root with it
  CHECK(fs::is_folder(r.at("主")));
  CHECK(s.add_snippet("主", "v1.2") == Outcome::Done);
  r.file("主/v1.2/v1.2.txt", "src");
  r.file("主/v1.2/res.bin", "res");

  const auto before = r.snapshot();
  struct Row {
    Outcome got, want;
  } rows[] = {
      {s.add_main(".."), Outcome::BadName},
      {s.add_main("a/b"), Outcome::BadName},
      {s.add_main("主"), Outcome::Exists},
      {s.add_snippet("主", "v1.2"), Outcome::Exists},
      {s.add_snippet("..", "x"), Outcome::BadName},
      {s.rename_main("主", "../out"), Outcome::BadName},
      {s.rename_snippet("主", "v1.2", ""), Outcome::BadName},
      {s.remove_main(".."), Outcome::BadName},
      {s.remove_snippet("主", ".."), Outcome::BadName},
      {s.remove_resource("主", "v1.2", "../v1.2.txt"), Outcome::BadName},
  };
  for (const Row& row : rows) CHECK(row.got == row.want);
  CHECK(r.snapshot() == before);
  CHECK_FALSE(fs::exists(r.base + "/out"));

  // A snippet renames its source and its folder; a main item its folder.
  CHECK(s.rename_snippet("主", "v1.2", "新名") == Outcome::Done);
  CHECK(r.read("主/新名/新名.txt") == "src");
  CHECK(r.read("主/新名/res.bin") == "res");
  CHECK_FALSE(fs::exists(r.at("主/v1.2")));
  CHECK(s.add_snippet("主", "other") == Outcome::Done);
  CHECK(s.rename_snippet("主", "新名", "other") == Outcome::Exists);
  CHECK(s.rename_main("主", "主二") == Outcome::Done);
  CHECK(r.read("主二/新名/新名.txt") == "src");

  // The new name is taken at its level by a file: refused, the source keeps its name.
  r.file("主二/新名/b.txt", "resource");
  r.file("主二/b", "a file where the folder would go");
  CHECK(s.rename_snippet("主二", "新名", "b") == Outcome::Exists);
  CHECK(r.read("主二/新名/新名.txt") == "src");
  CHECK(r.read("主二/新名/b.txt") == "resource");
  // A name the disk refuses: failed, and the source keeps its name.
  const std::string too_long(252, 'y');
  CHECK(s.rename_snippet("主二", "新名", too_long) == Outcome::Failed);
  CHECK(r.read("主二/新名/新名.txt") == "src");

  CHECK(s.remove_snippet("主二", "新名") == Outcome::Done);
  CHECK_FALSE(fs::exists(r.at("主二/新名")));
  CHECK(s.remove_snippet("主二", "新名") == Outcome::Done);  // already gone counts as gone
  CHECK(s.remove_main("主二") == Outcome::Done);
  CHECK(s.main_items().empty());
}

TEST_CASE("save, import, export and delete of resources") {
  Root r;
  Store s(r.root);
  r.folder("m/s");
  r.file("m/s/s.txt", "old");

  CHECK(s.save_source("m", "s", "new\r\n") == Outcome::Done);
  CHECK(r.read("m/s/s.txt") == "new\r\n");
  CHECK(r.walk(r.at("m/s")).size() == 3);  // the source, the history folder, the old one; no temporary
  // A source that cannot be replaced (a folder holds its name) fails and stays as it was.
  r.folder("m/d/d.txt");
  CHECK(s.save_source("m", "d", "text") == Outcome::Failed);
  CHECK(fs::is_folder(r.at("m/d/d.txt")));
  CHECK(s.save_source("m", "gone", "text") == Outcome::Failed);  // folder removed behind our back
  CHECK_FALSE(fs::exists(r.at("m/gone")));

  const std::string outside = r.base + "/图片.bmp";
  REQUIRE(write_file_atomic(outside, "BM"));
  CHECK(s.import_file("m", "s", outside) == Outcome::Done);
  CHECK(s.import_file("m", "s", outside) == Outcome::Done);  // overwrites
  CHECK(s.import_file("m", "gone", outside) == Outcome::Failed);
  CHECK(s.import_file("m", "s", r.base) == Outcome::Failed);  // a folder is not imported
  CHECK(s.resources("m", "s") == V{"图片.bmp"});
  CHECK(s.export_resource("m", "s", "图片.bmp", r.base + "/copy.bmp") == Outcome::Done);
  std::string copy;
  CHECK((read_file(r.base + "/copy.bmp", copy) && copy == "BM"));
  CHECK(s.remove_resource("m", "s", "图片.bmp") == Outcome::Done);
  CHECK(s.remove_resource("m", "s", "图片.bmp") == Outcome::Failed);
  CHECK(s.resources("m", "s").empty());
}

TEST_CASE("every save keeps the version it replaces, the newest 20; renames carry them; the source cache") {
  Root r;
  Store s(r.root);
  r.folder("m/s");
  CHECK((s.save_source("m", "s", "v0") == Outcome::Done && s.versions("m", "s").empty()));  // nothing to keep
  for (int i = 1; i <= 22; ++i) CHECK(s.save_source("m", "s", "v" + std::to_string(i)) == Outcome::Done);
  CHECK(s.save_source("m", "s", "v22") == Outcome::Done);  // unchanged: nothing replaced
  V kept = s.versions("m", "s");
  REQUIRE(kept.size() == kVersionsKept);
  CHECK(s.read_version("m", "s", kept.front()) == "v21");
  CHECK(s.read_version("m", "s", kept.back()) == "v2");
  CHECK((s.resources("m", "s").empty() && s.snippets("m") == V{"s"}));  // the hidden folder is neither
  r.file("m/s/" + std::string(kHistoryFolder) + "/notes.txt");  // the user's own file stays
  CHECK(s.save_source("m", "s", "v23") == Outcome::Done);
  CHECK(r.read("m/s/" + std::string(kHistoryFolder) + "/notes.txt") == "x");
  for (const char* bad : {"notes.txt", "../s.txt", "20240131-235959-12.txt", "2024013a-235959-123.txt"}) {
    CHECK(version_time(bad) == -1);
    CHECK(s.read_version("m", "s", bad).empty());
  }
  CHECK(version_time("19700101-000001-002.txt") == 1002);
  CHECK(s.rename_snippet("m", "s", "t") == Outcome::Done);
  CHECK(s.versions("m", "t").size() == kVersionsKept);
  // A version that cannot be kept (a file holds the folder's name) stops the save.
  r.folder("m/u");
  r.file("m/u/u.txt", "old");
  r.file("m/u/" + std::string(kHistoryFolder), "in the way");
  CHECK(s.save_source("m", "u", "new") == Outcome::Failed);
  CHECK(r.read("m/u/u.txt") == "old");
  SourceCache cache;  // a source is read again once it has changed
  CHECK(*cache.source(s, {"m", "u"}) == "old");
  r.file("m/u/u.txt", "newer");
  CHECK(*cache.source(s, {"m", "u"}) == "newer");
  // Kept on disk for the next session; a cut or foreign file there costs only reading again.
  cache.keep_in(r.at("cache"));
  REQUIRE(cache.save());
  const std::string on_disk = r.read("cache");
  const std::string cut = on_disk.substr(0, on_disk.size() - 3), huge_length = "TBSC1\n\xFF\xFF\xFF\x7F";
  for (const std::string& bytes : {on_disk, cut, huge_length, std::string("x")}) {
    r.file("cache", bytes);
    SourceCache next;
    next.keep_in(r.at("cache"));
    CHECK(*next.source(s, {"m", "u"}) == "newer");
  }
}

TEST_CASE("make_folders creates missing parents and rolls back what it made") {
  Root r;
  CHECK(make_folders(r.at("a/b/c/")));
  CHECK(fs::is_folder(r.at("a/b/c")));
  CHECK(make_folders(r.at("a/b/c")));  // exists: done

  // The second new level cannot be made (too long a name): the first new one goes again.
  const std::string too_long(300, 'x');
  CHECK_FALSE(make_folders(r.at("a/new/" + too_long)));
  CHECK_FALSE(fs::exists(r.at("a/new")));
  CHECK(fs::is_folder(r.at("a/b")));

  r.file("a/file");
  CHECK_FALSE(make_folders(r.at("a/file/sub")));
  CHECK(r.read("a/file") == "x");
}
