#include <doctest/doctest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/encoding.h"
#include "base/fileio.h"
#include "imagetool/capture_dll/session.h"
#include "imagetool/capture_dll/toolbar.h"
#include "imagetool/capture_library_win.h"
#include "tests/support/win_test_util.h"

using namespace tb::imagetool;

namespace {

std::string temp_root() {
  wchar_t buf[MAX_PATH];
  GetTempPathW(MAX_PATH, buf);
  return tb::to_gbk(buf) + "tb-capture-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) +
         "\\";
}

void remove_tree(const std::wstring& dir) {
  WIN32_FIND_DATAW f;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &f);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = f.cFileName;
      if (name == L"." || name == L"..") continue;
      if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(dir + name + L"\\");
      } else {
        SetFileAttributesW((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((dir + name).c_str());
      }
    } while (FindNextFileW(h, &f));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

std::string bytes_of(const std::string& path) {
  std::string b;
  tb::read_file(path, b);
  return b;
}

FILETIME write_time(const std::string& path) {
  FILETIME t{};
  HANDLE h = CreateFileW(tb::to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    GetFileTime(h, nullptr, nullptr, &t);
    CloseHandle(h);
  }
  return t;
}

void set_old_write_time(const std::string& path) {
  HANDLE h = CreateFileW(tb::to_wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME t = {0x2AC18000, 0x01C0E5A6};  // 2001
  SetFileTime(h, nullptr, nullptr, &t);
  CloseHandle(h);
}

}  // namespace

TEST_CASE("the embedded library is the DLL as built") {
  std::string built;
  REQUIRE(tb::read_file(tb::to_gbk(tb::test::host_path(TB_CAPTURE_DLL_FILE)), built));
  CHECK(embedded_capture_library() == built);
  CHECK(embedded_capture_library().substr(0, 2) == "MZ");
}

TEST_CASE("installing the library: reuse only identical bytes, else write, else the user folder") {
  enum class Fixed { Missing, SameSizeOther, Identical, InUseOther, NoFolder };
  enum class Where { FixedPath, UserFolder, Nowhere };
  struct Row {
    const char* name;
    Fixed fixed;
    bool user_identical;  // the user folder already holds the library
    bool user_blocked;    // the user folder cannot be created
    Where expect;
    bool rewritten;  // the resulting file got new bytes
  };
  const Row rows[] = {
      {"missing: written", Fixed::Missing, false, false, Where::FixedPath, true},
      {"same size, other bytes: replaced", Fixed::SameSizeOther, false, false, Where::FixedPath, true},
      {"identical: reused untouched", Fixed::Identical, false, false, Where::FixedPath, false},
      {"in use with other bytes: user folder", Fixed::InUseOther, false, false, Where::UserFolder, true},
      {"fixed folder missing: user folder", Fixed::NoFolder, false, false, Where::UserFolder, true},
      {"fixed folder missing, user copy identical: reused", Fixed::NoFolder, true, false, Where::UserFolder, false},
      {"nothing writable", Fixed::NoFolder, false, true, Where::Nowhere, false},
  };
  const std::string_view lib = embedded_capture_library();
  const std::string root = temp_root();
  int n = 0;
  for (const Row& row : rows) {
    CAPTURE(std::string(row.name));
    std::string dir = root + "case" + std::to_string(++n) + "\\";
    CreateDirectoryW(tb::to_wide(root).c_str(), nullptr);
    REQUIRE(CreateDirectoryW(tb::to_wide(dir).c_str(), nullptr));
    std::string fixed = row.fixed == Fixed::NoFolder ? dir + "absent\\手动截图.dll" : dir + "手动截图.dll";
    std::string user = dir + "local\\Tarvo\\";
    std::string user_file = user + "手动截图.dll";
    if (row.fixed == Fixed::SameSizeOther || row.fixed == Fixed::InUseOther) {
      std::string other(lib);
      other[other.size() / 2] ^= 0x5A;
      REQUIRE(tb::write_file_atomic(fixed, other));
    } else if (row.fixed == Fixed::Identical) {
      REQUIRE(tb::write_file_atomic(fixed, lib));
    }
    if (row.user_identical) {
      REQUIRE(CreateDirectoryW(tb::to_wide(dir + "local").c_str(), nullptr));
      REQUIRE(CreateDirectoryW(tb::to_wide(user).c_str(), nullptr));
      REQUIRE(tb::write_file_atomic(user_file, lib));
    }
    if (row.user_blocked) REQUIRE(tb::write_file_atomic(dir + "local", "a file where the folder would go"));
    std::string expected = row.expect == Where::FixedPath ? fixed : row.expect == Where::UserFolder ? user_file : "";
    if (!expected.empty() && !row.rewritten) set_old_write_time(expected);
    FILETIME before = write_time(expected);
    HANDLE busy = row.fixed == Fixed::InUseOther ? CreateFileW(tb::to_wide(fixed).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                              nullptr, OPEN_EXISTING, 0, nullptr)
                                                 : INVALID_HANDLE_VALUE;

    std::string got = install_capture_library(fixed, user);
    if (busy != INVALID_HANDLE_VALUE) CloseHandle(busy);
    CHECK(got == expected);
    if (expected.empty()) continue;
    CHECK(bytes_of(got) == lib);
    FILETIME after = write_time(got);
    CHECK((CompareFileTime(&before, &after) != 0) == row.rewritten);
  }
  remove_tree(tb::to_wide(root));
}
