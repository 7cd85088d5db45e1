// Our INI reader and writer against the platform's profile functions: files written by one
// must read the same through the other.
#include <windows.h>

#include <doctest/doctest.h>

#include <random>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/fileio.h"
#include "base/ini.h"

using namespace tb;

namespace doctest {
template <>
struct StringMaker<std::vector<std::string>> {
  static String convert(const std::vector<std::string>& v) {
    std::string out = "{";
    for (const auto& s : v) out += "<" + s + ">";
    return (out + "}").c_str();
  }
};
}  // namespace doctest

namespace {

std::string temp_dir() {
  wchar_t buf[MAX_PATH];
  GetTempPathW(MAX_PATH, buf);
  std::string dir = to_gbk(buf) + "tb_ini_" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryW(to_wide(dir).c_str(), nullptr);
  return dir;
}

int g_counter = 0;
// Each file is new, so the platform's profile cache never answers for an older one.
std::string fresh_path(const std::string& dir) { return dir + "f" + std::to_string(++g_counter) + ".ini"; }

std::string platform_read(const std::string& path, const std::string& sec, const std::string& key) {
  std::vector<char> buf(10240);
  DWORD n = GetPrivateProfileStringA(sec.c_str(), key.c_str(), "", buf.data(), 10240, path.c_str());
  return std::string(buf.data(), n);
}

std::vector<std::string> platform_sections(const std::string& path) {
  std::vector<char> buf(204800);
  DWORD n = GetPrivateProfileSectionNamesA(buf.data(), 204800, path.c_str());
  std::vector<std::string> out;
  for (DWORD i = 0; i < n;) {
    std::string s(buf.data() + i);
    out.push_back(s);
    i += static_cast<DWORD>(s.size()) + 1;
  }
  return out;
}

}  // namespace

TEST_CASE("files written by the platform read the same through our reader") {
  std::string dir = temp_dir();
  std::string path = fresh_path(dir);
  const char* items[][4] = {{"常用", "记事本", "C:\\WINDOWS\\system32\\notepad.exe", "写点东西"},
                            {"", "论坛", "http://example.invalid/forum", ""},
                            {"游戏 工具", "a=b", "  lead and trail  ", "x"}};
  for (int i = 0; i < 3; ++i) {
    std::string sec = std::to_string(i + 1);
    const char* keys[4] = {"fl", "name", "path", "help"};
    for (int k = 0; k < 4; ++k) WritePrivateProfileStringA(sec.c_str(), keys[k], items[i][k], path.c_str());
  }
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
  IniDocument doc = ini_load(path);
  CHECK(doc.section_names() == platform_sections(path));
  for (int i = 0; i < 3; ++i) {
    std::string sec = std::to_string(i + 1);
    for (const char* k : {"fl", "name", "path", "help", "missing"}) {
      CAPTURE(sec);
      CAPTURE(k);
      CHECK(doc.get(sec, k) == platform_read(path, sec, k));
    }
  }
}

TEST_CASE("files written by us read the same through the platform") {
  std::string dir = temp_dir();
  std::string path = fresh_path(dir);
  REQUIRE(ini_write(path, "exe", "上次打开路径", "D:\\工具\\"));
  REQUIRE(ini_write(path, "PIC", "上次保存路径", "C:\\图片 库\\"));
  REQUIRE(ini_write(path, "配置", "截图方式", "真"));
  REQUIRE(ini_write(path, "exe", "上次打开路径", "E:\\新\\"));
  CHECK(platform_read(path, "exe", "上次打开路径") == "E:\\新\\");
  CHECK(platform_read(path, "PIC", "上次保存路径") == "C:\\图片 库\\");
  CHECK(platform_read(path, "配置", "截图方式") == "真");
  CHECK(platform_sections(path) == std::vector<std::string>{"exe", "PIC", "配置"});
}

TEST_CASE("odd files: both readers agree on every query") {
  std::string dir = temp_dir();
  const std::vector<std::string> files = {
      "[1]\nfl=a\nname=b",                             // LF, no final newline
      "[1]\r\nfl = a \r\n  name=  b\r\n",              // spaces around names and values
      "[1]\r\nfl\r\nname=x\r\n",                       // a line without "="
      "[1]\nfl=1\n[1]\nfl=2\nname=3\n",                // duplicate sections
      "[1]\nfl=1\nFL=2\n",                             // duplicate keys
      "[1]\nfl=\"q\"\nname='a'\npath=\"half\n",        // quotes
      "junk before\n[1]\nfl=a\n[2\nname=b\n",          // no closing bracket
      "[ 1 ]\nfl=a\n",                                 // blanks inside brackets
      "[1]\nfl=" + std::string(12000, 'v') + "\n",     // value over 10239 bytes
      "[1]\x1a\nfl=\x01\x02\x7f\n\x00\x00\n",          // control bytes
  };
  for (const std::string& body : files) {
    std::string path = fresh_path(dir);
    REQUIRE(write_file_atomic(path, body));
    IniDocument doc = ini_load(path);
    CAPTURE(body.substr(0, 40));
    CHECK(doc.section_names() == platform_sections(path));
    for (const char* sec : {"1", "2", " 1 "})
      for (const char* key : {"fl", "name", "path", "FL"}) CHECK(doc.get(sec, key) == platform_read(path, sec, key));
  }
}

TEST_CASE("random files: both readers agree") {
  std::string dir = temp_dir();
  std::mt19937 rng(20261208);
  const char alphabet[] = "ab1 =[]\n\r\t;\"'";
  int compared = 0;
  for (int round = 0; round < 120; ++round) {
    std::string body;
    int len = static_cast<int>(rng() % 160);
    for (int i = 0; i < len; ++i) body += alphabet[rng() % (sizeof alphabet - 1)];
    std::string path = fresh_path(dir);
    REQUIRE(write_file_atomic(path, body));
    IniDocument doc = ini_load(path);
    CAPTURE(body);
    CHECK(doc.section_names() == platform_sections(path));
    for (const char* sec : {"a", "b", "1", "ab", "a1"})
      for (const char* key : {"a", "b", "1", "ab", "b1"}) {
        CHECK(doc.get(sec, key) == platform_read(path, sec, key));
        ++compared;
      }
  }
  MESSAGE(compared << " random look-ups compared");
}
