// The launcher's items as set.ini keeps them, and their place in the grouped list. Portable.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/ini.h"
#include "widgets/grouplist/grouplist.h"

namespace tb::shell {

struct LauncherItem {
  std::string group;  // fl
  std::string name;
  std::string path;
  std::string help;
};

// Sections "1".."N" read by number, N being the number of sections the file lists; a gap
// in the numbering reads as an item with every key empty.
std::vector<LauncherItem> read_launcher(const IniDocument& ini);

// The picture file bytes of an item's icon.
using IconSource = std::function<std::string(const std::string& path)>;

// Adds the items: each group where its name first occurs, an empty help reads as the name,
// every item online.
void fill_launcher(grouplist::GroupList& list, const std::vector<LauncherItem>& items, const IconSource& icon);

// The set.ini text of the list, every item in display order as sections 1..k with the keys
// fl, name, path, help. Rows are told apart by their kind, so an item with an empty path
// is written like any other.
std::string launcher_text(grouplist::GroupList& list);

// The name an item gets from its target: the file name less its extension (from its last
// "."); a folder's whole name; the path itself for a drive.
std::string item_name_for(std::string_view path, bool folder);

// Writes the list to `path` through a temporary file (the old file stays whole if anything
// fails), then collapses every group. False when the file could not be written.
bool save_launcher(grouplist::GroupList& list, const std::string& path);

}  // namespace tb::shell
