// The snippet library on disk: root / main item / snippet folder, the snippet's source
// "<snippet>.txt" and its resources (every other file in its folder). Paths are built from
// the shown names only, every name checked first, so nothing outside the root is touched.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::snippets {

enum class Outcome { Done, BadName, Exists, Failed };

// Called between folders and files while listing, so a window can handle waiting input.
using Yield = std::function<void()>;

// A name the user typed, trimmed (ASCII and full-width spaces).
std::string clean_name(std::string_view typed);
// A usable folder or file name: not empty, not "." or "..", no control character, none of
// \ / : * ? " < > | (seen as characters: a GBK trail byte 0x5C or 0x7C is no separator), and
// no trailing "." (Windows drops it, so the folder would not carry the shown name).
bool valid_name(std::string_view name);
// The part of a path after its last separator.
std::string file_name_of(std::string_view path);
// Whether a resource is previewed: its extension, from the last ".", is exactly ".bmp".
bool is_bmp(std::string_view file_name);
// Names holding `typed`, ASCII letter case ignored, two-byte characters exact; all for "".
std::vector<std::string> search(const std::vector<std::string>& names, std::string_view typed);
// The same as the places of those names in `names`.
std::vector<std::size_t> name_hits(const std::vector<std::string>& names, std::string_view typed);
// Source text as shown: reading stops at the first 0x00 or 0x1A byte.
std::string cut_at_terminator(std::string text);
// Creates a folder and its missing parents. When one creation fails, the highest folder this
// call created is removed again (with its contents) and the result is false.
bool make_folders(std::string path);

// Every save first keeps the file it replaces in this folder of the snippet's folder (its "."
// hides it from the tree; the resource list shows files only), named by the moment of the
// save in UTC, "20240131-235959-123.txt"; the newest kVersionsKept stay.
inline constexpr std::string_view kHistoryFolder = ".历史版本";
inline constexpr std::size_t kVersionsKept = 20;
// A kept version's moment in milliseconds since 1970, or -1 for any other file name.
std::int64_t version_time(std::string_view file_name);
// Its moment in local time as "2024-01-31 23:59:59"; "" for any other file name.
std::string version_label(std::string_view file_name);

struct MainItem {
  std::string name;
  std::vector<std::string> snippets;
};

class Store {
 public:
  explicit Store(std::string root);  // the root folder, without a trailing separator
  const std::string& root() const { return root_; }

  // Paths, or "" when a name is not valid.
  std::string main_folder(std::string_view main) const;
  std::string snippet_folder(std::string_view main, std::string_view sub) const;
  std::string source_path(std::string_view main, std::string_view sub) const;
  std::string resource_path(std::string_view main, std::string_view sub, std::string_view file) const;

  // Sub-folders in the file system's order, "."-prefixed ones left out; files ignored.
  std::vector<std::string> main_items() const;
  std::vector<std::string> snippets(std::string_view main) const;
  // Both levels; `y` runs after every main item's folder is listed.
  std::vector<MainItem> load(const Yield& y = {}) const;
  // Files of the snippet folder except exactly sub + ".txt".
  std::vector<std::string> resources(std::string_view main, std::string_view sub, const Yield& y = {}) const;
  // "" when missing or unreadable.
  std::string read_source(std::string_view main, std::string_view sub) const;

  // Names are valid and not taken at their level; nothing changes on disk otherwise.
  Outcome add_main(std::string_view name) const;
  Outcome add_snippet(std::string_view main, std::string_view name) const;
  Outcome rename_main(std::string_view main, std::string_view name) const;
  // Renames the source file, then the folder; puts the file back if the folder refuses.
  Outcome rename_snippet(std::string_view main, std::string_view sub, std::string_view name) const;
  // Done only when the folder is gone afterwards.
  Outcome remove_main(std::string_view main) const;
  Outcome remove_snippet(std::string_view main, std::string_view sub) const;
  // Through a temporary file that replaces the source: a failed save keeps the old file. A
  // source that changes is kept as a version first; when it cannot be kept nothing is saved.
  Outcome save_source(std::string_view main, std::string_view sub, std::string_view text) const;
  // File names of the kept versions, newest first.
  std::vector<std::string> versions(std::string_view main, std::string_view sub) const;
  // A kept version's text as a source reads; "" when missing.
  std::string read_version(std::string_view main, std::string_view sub, std::string_view file) const;
  // Copies a file into the snippet folder under its own name, overwriting.
  Outcome import_file(std::string_view main, std::string_view sub, const std::string& path) const;
  Outcome remove_resource(std::string_view main, std::string_view sub, std::string_view file) const;
  // Copies a resource to `target` (a full file path), overwriting.
  Outcome export_resource(std::string_view main, std::string_view sub, std::string_view file,
                          const std::string& target) const;

 private:
  Outcome remove_folder(const std::string& path) const;
  std::string history_folder(std::string_view main, std::string_view sub) const;
  bool keep_version(std::string_view main, std::string_view sub, std::string_view old) const;
  std::vector<std::string> folders_in(const std::string& path) const;
  std::string root_;
};

}  // namespace tb::snippets
