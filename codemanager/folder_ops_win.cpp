#include <windows.h>

#include "base/encoding.h"
#include "base/owned.h"
#include "codemanager/folder_ops.h"

namespace tb::fs {

namespace {

struct FindTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};
using FindHandle = Owned<HANDLE, FindTraits>;

std::wstring wide(const std::string& gbk) { return to_wide(gbk); }

// Walks the entries of a folder (without "." and ".."), giving each its find data.
template <class F>
bool each_entry(const std::wstring& folder, F&& f) {
  WIN32_FIND_DATAW fd;
  FindHandle h(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                                FIND_FIRST_EX_LARGE_FETCH));
  if (!h) return false;
  do {
    std::wstring_view n = fd.cFileName;
    if (n == L"." || n == L"..") continue;
    f(fd);
  } while (FindNextFileW(h.get(), &fd));
  return true;
}

bool remove_wide(const std::wstring& path) {
  DWORD attr = GetFileAttributesW(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return false;
  if (attr & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
  if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != 0;
  bool ok = true;
  // A junction or link is removed itself; what it points at is left alone.
  if (!(attr & FILE_ATTRIBUTE_REPARSE_POINT))
    each_entry(path, [&](const WIN32_FIND_DATAW& fd) { ok = remove_wide(path + L"\\" + fd.cFileName) && ok; });
  return RemoveDirectoryW(path.c_str()) && ok;
}

}  // namespace

bool list(const std::string& folder, std::vector<Entry>& out) {
  out.clear();
  return each_entry(wide(folder), [&](const WIN32_FIND_DATAW& fd) {
    std::wstring_view w = fd.cFileName;
    std::string name = to_gbk(w);
    if (to_wide(name) != w) return;  // a character GBK lacks: no GBK path reaches it
    out.push_back({std::move(name), (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  });
}

bool is_folder(const std::string& path) {
  DWORD a = GetFileAttributesW(wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool exists(const std::string& path) { return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool make_folder(const std::string& path) { return CreateDirectoryW(wide(path).c_str(), nullptr) != 0; }

bool rename(const std::string& from, const std::string& to) {
  return MoveFileExW(wide(from).c_str(), wide(to).c_str(), 0) != 0;
}

bool copy_file(const std::string& from, const std::string& to) {
  return CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE) != 0;
}

bool remove_file(const std::string& path) { return DeleteFileW(wide(path).c_str()) != 0; }

bool remove_tree(const std::string& path) {
  std::wstring w = wide(path);
  while (!w.empty() && (w.back() == L'\\' || w.back() == L'/')) w.pop_back();
  if (w.empty() || (w.size() == 2 && w[1] == L':')) return false;  // no drive roots
  return remove_wide(w);
}

}  // namespace tb::fs
