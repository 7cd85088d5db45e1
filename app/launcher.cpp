#include "app/launcher.h"

#include "base/fileio.h"
#include "base/text.h"

namespace tb::shell {

std::vector<LauncherItem> read_launcher(const IniDocument& ini) {
  std::vector<LauncherItem> items;
  const std::size_t n = ini.section_names().size();
  items.reserve(n);
  for (std::size_t i = 1; i <= n; ++i) {
    const std::string s = std::to_string(i);
    items.push_back({ini.get(s, "fl"), ini.get(s, "name"), ini.get(s, "path"), ini.get(s, "help")});
  }
  return items;
}

void fill_launcher(grouplist::GroupList& list, const std::vector<LauncherItem>& items, const IconSource& icon) {
  for (const LauncherItem& it : items) {
    int group = list.FindGroupByName(it.group);
    if (group == 0) group = list.AddGroup(it.group);
    grouplist::ItemRecord r;
    r.group = group;
    r.avatar = icon ? icon(it.path) : std::string();
    r.name = it.name;
    r.online = true;
    r.signature = it.help.empty() ? it.name : it.help;
    r.remark = it.path;
    list.AddItem(r, {}, false);
  }
}

std::string launcher_text(grouplist::GroupList& list) {
  list.ExpandAll();  // every item gets a row
  IniDocument ini;
  std::string group;
  int k = 0;
  for (int row = 0;; ++row) {
    const int h = list.GetHandleAt(row);
    if (h < 1) break;
    grouplist::ElementRecord e;
    if (!list.ReadElement(h, e)) continue;
    if (e.kind == grouplist::kGroupKind) {
      group = e.name;
      continue;
    }
    const std::string s = std::to_string(++k);
    ini.set(s, "fl", group);
    ini.set(s, "name", e.name);
    ini.set(s, "path", e.remark);
    ini.set(s, "help", e.signature);
  }
  return ini.serialize();
}

std::string item_name_for(std::string_view path, bool folder) {
  while (path.size() > 1 && path.back() == '\\' && is_char_boundary(path, path.size() - 1) &&
         path[path.size() - 2] != ':')
    path.remove_suffix(1);  // a folder given as "C:\\dir\\"
  const std::size_t slash = rfind(path, "\\");
  std::string_view name = slash == npos ? path : path.substr(slash + 1);
  if (name.empty()) return std::string(path);
  // "." is never a GBK trail byte, so a byte search is exact; a name that is all extension stays whole.
  const std::size_t dot = name.rfind('.');
  if (!folder && dot != npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

bool save_launcher(grouplist::GroupList& list, const std::string& path) {
  const std::string text = launcher_text(list);
  const bool ok = write_file_atomic(path, text);
  list.CollapseAll();
  return ok;
}

}  // namespace tb::shell
