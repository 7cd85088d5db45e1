#include <doctest/doctest.h>

#include <string>

#include "base/encoding.h"
#include "tests/win/util/ui_driver.h"
#include "util/file_dialog.h"
#include "util/filter_list.h"

using namespace tb;

namespace {

constexpr int kFilterBox = 1136;    // cmb1

std::string bytes(const char* s, std::size_t n) { return std::string(s, n); }
#define BYTES(lit) bytes(lit, sizeof(lit) - 1)

std::string cwd() {
  wchar_t buf[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, buf);
  return to_gbk(buf);
}

// A folder tree under the temp folder: root\起点\ and root\另一个\图.bmp, removed at the end.
struct Tree {
  std::string root, start, other, picture;
  Tree() {
    wchar_t tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tmp);
    root = to_gbk(tmp) + "tb_util_dialog_" + std::to_string(GetCurrentProcessId());
    start = root + "\\起点";
    other = root + "\\另一个";
    picture = other + "\\图.bmp";
    CreateDirectoryW(to_wide(root).c_str(), nullptr);
    CreateDirectoryW(to_wide(start).c_str(), nullptr);
    CreateDirectoryW(to_wide(other).c_str(), nullptr);
    HANDLE f = CreateFileW(to_wide(picture).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
  }
  ~Tree() {
    SetCurrentDirectoryW(to_wide(root).c_str());
    SetCurrentDirectoryW(L"..");
    DeleteFileW(to_wide(picture).c_str());
    RemoveDirectoryW(to_wide(start).c_str());
    RemoveDirectoryW(to_wide(other).c_str());
    RemoveDirectoryW(to_wide(root).c_str());
  }
};

struct Window {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
  ~Window() { DestroyWindow(hwnd); }
};

void choose(HWND dialog, const std::string& name) { ::test::choose_file(dialog, to_wide(name)); }

struct FilterBox {
  std::vector<std::string> items;
  int selected = -1;
};

FilterBox read_filters(HWND dialog) {
  FilterBox out;
  HWND box = GetDlgItem(dialog, kFilterBox);
  const int n = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t buf[256] = {};
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
    out.items.push_back(to_gbk(buf));
  }
  out.selected = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
  return out;
}

}  // namespace

TEST_CASE("filter text becomes the system's NUL-separated list") {
  CHECK(build_filter_list("所有文件(*.*)|*.*") == BYTES("所有文件(*.*)\0*.*\0\0"));
  CHECK(build_filter_list("所有文件(*.*)|*.*").substr(0, 4) == "\xCB\xF9\xD3\xD0");  // GBK bytes
  CHECK(build_filter_list("*.bmp") == BYTES("*.bmp\0\0"));
  CHECK(build_filter_list("TXT文档(*.txt)|*.txt|所有文件(*.*)|*.*") ==
        BYTES("TXT文档(*.txt)\0*.txt\0所有文件(*.*)\0*.*\0\0"));
  // "|" as the second byte of a two-byte character is not a separator.
  CHECK(build_filter_list("\x81\x7C图|*.x") == BYTES("\x81\x7C图\0*.x\0\0"));
  // Pieces as they come: an empty inner piece stays, an empty last piece goes.
  CHECK(build_filter_list("a||b") == BYTES("a\0\0b\0\0"));
  CHECK(build_filter_list("a|b|") == BYTES("a\0b\0\0"));
}

TEST_CASE("folder of a path keeps everything up to its last backslash") {
  CHECK(folder_of("C:\\a\\b.bmp") == "C:\\a\\");
  CHECK(folder_of("C:\\a\\") == "C:\\a\\");
  CHECK(folder_of("b.bmp") == "");
  CHECK(folder_of("") == "");
  CHECK(folder_of("C:\\图片\\表.bmp") == "C:\\图片\\");
  // A two-byte character whose second byte is 0x5C holds no backslash.
  CHECK(folder_of("\x81\x5C.bmp") == "");
  CHECK(folder_of("C:\\d\\\x81\x5C.bmp") == "C:\\d\\");
}

TEST_CASE("cancelled dialogs return nothing and leave the current directory alone") {
  Tree tree;
  Window owner;
  REQUIRE(SetCurrentDirectoryW(to_wide(tree.root).c_str()));
  const std::string before = cwd();

  SUBCASE("open, with its defaults") {
    std::string during;
    FilterBox filters;
    HWND dialog_owner = nullptr;
    ::test::DialogDriver driver(to_wide("打开文件"), [&](HWND d) {
      filters = read_filters(d);
      dialog_owner = GetWindow(d, GW_OWNER);
      choose(d, tree.other);  // browse into another folder first
      Sleep(300);
      during = cwd();  // the dialog moves it while browsing, so the restore is what is tested
      ::test::press_button(d, IDCANCEL);
    });
    CHECK(open_file(owner.hwnd) == "");
    REQUIRE(driver.found());
    CHECK_FALSE(driver.stuck());
    CHECK(filters.items == std::vector<std::string>{"所有文件(*.*)"});
    CHECK(dialog_owner == owner.hwnd);
    CHECK(during == tree.other);
  }
  SUBCASE("save, with its defaults") {
    FilterBox filters;
    ::test::DialogDriver driver(to_wide("保存文件"), [&](HWND d) {
      filters = read_filters(d);
      choose(d, tree.other);
      Sleep(300);
      ::test::press_button(d, IDCANCEL);
    });
    CHECK(save_file(owner.hwnd) == "");
    REQUIRE(driver.found());
    CHECK_FALSE(driver.stuck());
    CHECK(filters.items == std::vector<std::string>{"TXT文档(*.txt)", "所有文件(*.*)"});
    CHECK(filters.selected == 0);
  }
  CHECK(cwd() == before);
}

TEST_CASE("a file chosen in another folder comes back as its full path") {
  Tree tree;
  Window owner;
  REQUIRE(SetCurrentDirectoryW(to_wide(tree.root).c_str()));
  const std::string before = cwd();

  SUBCASE("open, typing the full path") {
    FilterBox filters;
    ::test::DialogDriver driver(to_wide("请选择图片，只支持bmp图片"), [&](HWND d) {
      filters = read_filters(d);
      choose(d, tree.picture);
    });
    CHECK(open_file(owner.hwnd, tree.start + "\\", "请选择图片，只支持bmp图片", "图像文件|*.bmp") == tree.picture);
    REQUIRE(driver.found());
    CHECK_FALSE(driver.stuck());
    CHECK(filters.items == std::vector<std::string>{"图像文件"});
    CHECK(cwd() == before);
  }
  SUBCASE("open, a bare name is taken in the start folder") {
    ::test::DialogDriver driver(to_wide("打开文件"), [&](HWND d) { choose(d, "图.bmp"); });
    CHECK(open_file(owner.hwnd, tree.other + "\\") == tree.picture);
    CHECK_FALSE(driver.stuck());
    CHECK(cwd() == before);
  }
  SUBCASE("save over an existing file: no question, the given filter index") {
    FilterBox filters;
    ::test::DialogDriver driver(to_wide("请选择图片"), [&](HWND d) {
      filters = read_filters(d);
      choose(d, tree.picture);
    });
    CHECK(save_file(owner.hwnd, tree.start + "\\", "请选择图片", "文本|*.txt|*.bmp", 2) == tree.picture);
    REQUIRE(driver.found());
    CHECK_FALSE(driver.stuck());
    CHECK(filters.selected == 1);
    CHECK(cwd() == before);
  }
  SUBCASE("kept directory") {
    ::test::DialogDriver driver(to_wide("打开文件"), [&](HWND d) { choose(d, tree.picture); });
    CHECK(open_file(owner.hwnd, tree.start + "\\", "", "", true) == tree.picture);
    CHECK_FALSE(driver.stuck());
    CHECK(cwd() != before);  // wherever the dialog left it
  }
}
