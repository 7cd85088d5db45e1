// set.ini read into the launcher list and written back, on the in-memory list host.
#include <doctest/doctest.h>

#include <filesystem>

#include "app/launcher.h"
#include "base/fileio.h"
#include "tests/native/grouplist/fake_pictures.h"
#include "tests/support/grouplist/memory_host.h"

using namespace tb;
using namespace tb::shell;

namespace {

struct Launcher {
  grouplist::testing::FakePictures pics;
  grouplist::MemoryHost host{pics};
  grouplist::GroupList list{host};
  Launcher() { REQUIRE(list.Create(host.add_window(), 0, 1, true, 0xFFFFFF)); }
  void load(const std::string& ini) {
    fill_launcher(list, read_launcher(IniDocument::parse(ini)), [](const std::string&) { return "PIC:40:40"; });
  }
};

}  // namespace

TEST_CASE("set.ini into the list: sections by number, groups by first occurrence, help falls back to the name") {
  Launcher l;
  // Three sections are counted, so "1", "2" and the missing "3" are read; "5" never is.
  l.load("[1]\r\nfl=常用\r\nname=记事本\r\npath=C:\\WINDOWS\\notepad.exe\r\nhelp=\r\n"
         "[5]\r\nfl=常用\r\nname=不读\r\npath=x\r\n"
         "[2]\r\nfl=网址\r\nname=论坛\r\npath=http://bbs\r\nhelp=按键论坛\r\n");
  const std::string text = launcher_text(l.list);
  CHECK(text ==
        "[1]\r\nfl=常用\r\nname=记事本\r\npath=C:\\WINDOWS\\notepad.exe\r\nhelp=记事本\r\n\r\n"
        "[2]\r\nfl=网址\r\nname=论坛\r\npath=http://bbs\r\nhelp=按键论坛\r\n\r\n"
        "[3]\r\nfl=\r\nname=\r\npath=\r\nhelp=\r\n");
  CHECK(l.list.FindGroupByName("常用") != 0);
  CHECK(l.list.FindGroupByName("") != 0);
  CHECK(l.list.FindItemByName("不读") == 0);
}

TEST_CASE("written back in display order; an empty path is an item like any other") {
  Launcher l;
  l.load("[1]\r\nfl=甲\r\nname=a\r\npath=\r\nhelp=h\r\n"
         "[2]\r\nfl=乙\r\nname=b\r\npath=p\r\nhelp=\r\n"
         "[3]\r\nfl=甲\r\nname=c\r\npath=q\r\nhelp=\r\n");
  IniDocument back = IniDocument::parse(launcher_text(l.list));
  // Group 甲 first with a then c, then 乙; a keeps its group although its path is empty.
  CHECK(back.section_names() == std::vector<std::string>{"1", "2", "3"});
  CHECK(back.get("1", "name") == "a");
  CHECK(back.get("1", "fl") == "甲");
  CHECK(back.get("2", "name") == "c");
  CHECK(back.get("2", "fl") == "甲");
  CHECK(back.get("3", "fl") == "乙");
  // A group without items leaves nothing.
  l.list.AddGroup("空组");
  CHECK(IniDocument::parse(launcher_text(l.list)).section_names().size() == 3);
}

TEST_CASE("save: one step through a temporary file, then every group collapsed") {
  Launcher l;
  l.load("[1]\r\nfl=甲\r\nname=a\r\npath=p\r\nhelp=\r\n");
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("tb_launcher_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string file = (dir / "set.ini").string();
  REQUIRE(write_file_atomic(file, "old"));
  CHECK(save_launcher(l.list, file));
  std::string bytes;
  REQUIRE(read_file(file, bytes));
  CHECK(bytes == "[1]\r\nfl=甲\r\nname=a\r\npath=p\r\nhelp=a\r\n");
  CHECK(l.list.GetHandleAt(1) == -1);  // only the collapsed group's row is left
  // An unwritable place keeps what was there.
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  if (!write_file_atomic((dir / "probe").string(), "x")) {  // root may write anyway
    CHECK_FALSE(save_launcher(l.list, file));
    REQUIRE(read_file(file, bytes));
    CHECK(bytes == "[1]\r\nfl=甲\r\nname=a\r\npath=p\r\nhelp=a\r\n");
  }
  fs::permissions(dir, fs::perms::owner_all);
  fs::remove_all(dir);
}
