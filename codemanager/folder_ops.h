// The file-system operations the snippet store needs, on GBK paths. Two implementations:
// POSIX (native tests) and the W functions with code page 936 (Windows).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tb::fs {

// The separator of the platform's paths: the store builds every path with it.
#ifdef _WIN32
inline constexpr std::string_view kSep = "\\";
#else
inline constexpr std::string_view kSep = "/";
#endif

struct Entry {
  std::string name;
  bool folder = false;
};

// Entries of a folder in the order the file system gives them, without "." and "..".
// Names the GBK code page cannot spell are left out (no path could reach them). False when
// the folder cannot be read.
bool list(const std::string& folder, std::vector<Entry>& out);
// What tells one state of a file's content from the next: its last write time and size.
struct Stamp {
  std::int64_t written = 0;
  std::uint64_t size = 0;
  bool operator==(const Stamp&) const = default;
};
// False when the path is missing or a folder.
bool stamp(const std::string& path, Stamp& out);
// Reads a file whose stamp gave `size` bytes: one read where the general reader takes four
// calls, each a round trip to the server under Wine. A file grown meanwhile is read whole.
bool read_sized(const std::string& path, std::uint64_t size, std::string& out);
bool is_folder(const std::string& path);
bool exists(const std::string& path);
bool make_folder(const std::string& path);  // one level
bool rename(const std::string& from, const std::string& to);
bool copy_file(const std::string& from, const std::string& to);  // overwrites
bool remove_file(const std::string& path);
// Deletes a folder with everything in it; links inside are removed, never followed.
bool remove_tree(const std::string& path);

}  // namespace tb::fs
