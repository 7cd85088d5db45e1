#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "base/fileio.h"
#include "codemanager/folder_ops.h"

namespace tb::fs {

bool list(const std::string& folder, std::vector<Entry>& out) {
  out.clear();
  DIR* d = opendir(folder.c_str());
  if (!d) return false;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    bool dir = lstat((folder + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    out.push_back({std::move(name), dir});
  }
  closedir(d);
  return true;
}

bool stamp(const std::string& path, Stamp& out) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  out = {static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
         static_cast<std::uint64_t>(st.st_size)};
  return true;
}

bool read_sized(const std::string& path, std::uint64_t, std::string& out) { return read_file(path, out); }

bool is_folder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool make_folder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

bool rename(const std::string& from, const std::string& to) {
  // rename(2) silently replaces an empty target folder; the store never wants that.
  if (exists(to)) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool copy_file(const std::string& from, const std::string& to) {
  std::string bytes;
  return read_file(from, bytes) && write_file_atomic(to, bytes);
}

bool remove_file(const std::string& path) { return unlink(path.c_str()) == 0; }

bool remove_tree(const std::string& path) {
  if (path.empty() || path == "/") return false;
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) return unlink(path.c_str()) == 0;
  std::vector<Entry> entries;
  bool ok = list(path, entries);
  for (const Entry& e : entries) ok = remove_tree(path + "/" + e.name) && ok;
  return rmdir(path.c_str()) == 0 && ok;
}

}  // namespace tb::fs
