#include <doctest/doctest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>

#include "base/fileio.h"
#include "base/ini.h"

using namespace tb;

TEST_CASE("INI lines: ends, blanks, names and values") {
  auto d = IniDocument::parse("[1]\nfl=工具\r\n name = 记事本 \r\npath=C:\\a b\\n.exe\n[2]\r\nfl=x");
  CHECK(d.get("1", "fl") == "工具");
  CHECK(d.get("1", "name") == "记事本");
  CHECK(d.get("1", "path") == "C:\\a b\\n.exe");
  CHECK(d.get("2", "fl") == "x");  // no final newline
  CHECK(d.get("2", "FL") == "x");  // names ignore ASCII case
  CHECK(d.get(" 2 ", "fl") == "x");
  CHECK(d.get("3", "fl") == "");
  CHECK(d.get("1", "help") == "");
}

TEST_CASE("INI duplicates: the first section and the first key win") {
  auto d = IniDocument::parse("[a]\nk=1\nk=2\n[A]\nk=3\nj=4\n");
  CHECK(d.get("a", "k") == "1");
  // The second section is never searched, so its own keys are unreachable.
  CHECK(d.get("a", "j") == "");
  CHECK(d.section_names() == std::vector<std::string>{"a", "A"});
}

TEST_CASE("INI odd lines: no '=', quotes, value with '=' and junk") {
  auto d = IniDocument::parse("[s]\njustname\nq=\"quoted\"\nq1='x'\nhalf=\"x\neq=a=b\n=v\n[]\n[broken\nk2=v2\n");
  CHECK(d.get("s", "justname") == "");
  CHECK(d.get("s", "q") == "quoted");
  CHECK(d.get("s", "q1") == "x");
  CHECK(d.get("s", "half") == "\"x");
  CHECK(d.get("s", "eq") == "a=b");
  // "[broken" has no closing bracket, so it is a key line of the section before it.
  CHECK(d.section_names() == std::vector<std::string>{"s"});
}

TEST_CASE("INI section header closes at the last bracket, GBK-aware") {
  // 0x81 0x5D is one character whose trail byte looks like "]".
  auto d = IniDocument::parse("[\x81\x5D]\nk=v\n");
  CHECK(d.section_names() == std::vector<std::string>{"\x81\x5D"});
  CHECK(d.get("\x81\x5D", "k") == "v");
}

TEST_CASE("INI long values are cut to 10239 bytes on a character boundary") {
  std::string v(20000, 'x');
  auto d = IniDocument::parse("[s]\nk=" + v + "\n");
  CHECK(d.get("s", "k").size() == kIniValueMax);
  std::string g = std::string(kIniValueMax - 1, 'y') + "按";
  auto d2 = IniDocument::parse("[s]\nk=" + g + "\n");
  CHECK(d2.get("s", "k").size() == kIniValueMax - 1);
}

TEST_CASE("INI set, serialize and parse round trip") {
  IniDocument d;
  d.set("1", "fl", "常用");
  d.set("1", "name", "画图");
  d.set("2", "fl", "");
  d.set("1", "name", "记事本");
  auto back = IniDocument::parse(d.serialize());
  CHECK(back.get("1", "fl") == "常用");
  CHECK(back.get("1", "name") == "记事本");
  CHECK(back.section_names() == std::vector<std::string>{"1", "2"});
}

TEST_CASE("INI parser survives random bytes; text files survive a save") {
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    std::string junk(rng() % 400, '\0');
    for (char& c : junk) c = static_cast<char>(rng() % 4 == 0 ? "[]=\n"[rng() % 4] : rng());
    auto d = IniDocument::parse(junk);
    (void)d.get("a", "b");
    (void)IniDocument::parse(d.serialize());
  }
  // Plain text: what was read is read the same way after a save.
  const char alphabet[] = "ab1 =[]\n\r\t;\"'";
  for (int i = 0; i < 300; ++i) {
    std::string body;
    for (int n = static_cast<int>(rng() % 160); n > 0; --n) body += alphabet[rng() % (sizeof alphabet - 1)];
    auto d = IniDocument::parse(body);
    auto again = IniDocument::parse(d.serialize());
    CHECK(again.section_names() == d.section_names());
    for (const char* sec : {"a", "b", "1"})
      for (const char* key : {"a", "b", "1"}) CHECK(again.get(sec, key) == d.get(sec, key));
  }
}

TEST_CASE("INI file calls: missing file, atomic write, unreadable target") {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("tb_ini_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string path = (dir / "set.ini").string();
  CHECK(ini_read(path, "1", "fl") == "");
  CHECK(ini_load(path).section_names().empty());
  CHECK(ini_write(path, "1", "fl", "组"));
  CHECK(ini_write(path, "配置", "截图方式", "真"));
  CHECK(ini_read(path, "配置", "截图方式") == "真");
  CHECK(ini_load(path).section_names() == std::vector<std::string>{"1", "配置"});
  // No temporary file is left beside the target.
  int files = 0;
  for (auto& e : fs::directory_iterator(dir)) { (void)e; ++files; }
  CHECK(files == 1);
  // A directory where the file should be cannot be replaced: failure, nothing lost.
  std::string blocked = (dir / "sub").string();
  fs::create_directories(blocked);
  CHECK_FALSE(ini_write(blocked, "a", "b", "c"));
  CHECK(fs::is_directory(blocked));
  fs::remove_all(dir);
}
