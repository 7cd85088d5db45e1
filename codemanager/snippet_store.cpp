#include "codemanager/snippet_store.h"

#include "base/fileio.h"
#include "base/text.h"
#include "codemanager/folder_ops.h"

namespace tb::snippets {

namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

std::string join(std::string_view a, std::string_view b) {
  std::string p(a);
  p += fs::kSep;
  p += b;
  return p;
}

bool ends_with_sep(std::string_view p) {
  return p.size() >= fs::kSep.size() && p.substr(p.size() - fs::kSep.size()) == fs::kSep &&
         is_char_boundary(p, p.size() - fs::kSep.size());
}

// Same name for the file system of this platform: Windows folders ignore letter case.
bool same_name(std::string_view a, std::string_view b) {
#ifdef _WIN32
  return equals_ignore_case(a, b);
#else
  return a == b;
#endif
}

}  // namespace

std::string clean_name(std::string_view typed) { return std::string(trim(typed)); }

bool valid_name(std::string_view name) {
  if (name.empty() || name.back() == '.') return false;  // "." and ".." too
  for (std::size_t i = 0; i < name.size(); i += char_len(name, i)) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (is_lead_byte(c)) {
      if (i + 1 >= name.size()) return false;  // a lone lead byte would swallow what follows
      continue;
    }
    if (c < 0x20 || kForbidden.find(static_cast<char>(c)) != std::string_view::npos) return false;
  }
  return true;
}

std::string file_name_of(std::string_view path) {
  std::size_t p = rfind(path, fs::kSep);
  return std::string(p == npos ? path : path.substr(p + fs::kSep.size()));
}

bool is_bmp(std::string_view file_name) {
  std::size_t p = rfind(file_name, ".");
  return p != npos && file_name.substr(p) == ".bmp";
}

std::vector<std::size_t> name_hits(const std::vector<std::string>& names, std::string_view typed) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (typed.empty() || find(names[i], typed, 0, true) != npos) out.push_back(i);
  return out;
}

std::vector<std::string> search(const std::vector<std::string>& names, std::string_view typed) {
  std::vector<std::string> out;
  for (std::size_t i : name_hits(names, typed)) out.push_back(names[i]);
  return out;
}

std::string cut_at_terminator(std::string text) {
  std::size_t p = text.find_first_of(std::string_view("\0\x1A", 2));
  if (p != std::string::npos) text.resize(p);
  return text;
}

bool make_folders(std::string path) {
  if (ends_with_sep(path)) path.resize(path.size() - fs::kSep.size());
  if (path.empty()) return false;
  if (fs::is_folder(path)) return true;
  std::string prefix, created;
  const std::vector<std::string> parts = split(path, fs::kSep);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    prefix = i == 0 ? parts[0] : join(prefix, parts[i]);
    if (prefix.empty() || fs::is_folder(prefix)) continue;
    if (!fs::make_folder(prefix)) {
      if (!created.empty()) fs::remove_tree(created);
      return false;
    }
    if (created.empty()) created = prefix;
  }
  return fs::is_folder(path);
}

Store::Store(std::string root) : root_(std::move(root)) {
  if (ends_with_sep(root_)) root_.resize(root_.size() - fs::kSep.size());
}

std::string Store::main_folder(std::string_view main) const {
  return valid_name(main) ? join(root_, main) : std::string();
}

std::string Store::snippet_folder(std::string_view main, std::string_view sub) const {
  return valid_name(main) && valid_name(sub) ? join(join(root_, main), sub) : std::string();
}

std::string Store::source_path(std::string_view main, std::string_view sub) const {
  std::string f = snippet_folder(main, sub);
  return f.empty() ? f : join(f, std::string(sub) + ".txt");
}

std::string Store::resource_path(std::string_view main, std::string_view sub, std::string_view file) const {
  std::string f = snippet_folder(main, sub);
  return f.empty() || !valid_name(file) ? std::string() : join(f, file);
}

std::vector<std::string> Store::folders_in(const std::string& path) const {
  std::vector<std::string> out;
  std::vector<fs::Entry> entries;
  if (path.empty() || !fs::list(path, entries)) return out;
  for (fs::Entry& e : entries) {
    if (!e.folder || e.name.front() == '.' || !valid_name(e.name)) continue;
    out.push_back(std::move(e.name));
  }
  return out;
}

std::vector<std::string> Store::main_items() const { return folders_in(root_); }

std::vector<std::string> Store::snippets(std::string_view main) const {
  return folders_in(main_folder(main));
}

std::vector<MainItem> Store::load(const Yield& y) const {
  std::vector<MainItem> out;
  for (std::string& m : main_items()) {
    MainItem item{std::move(m), {}};
    item.snippets = snippets(item.name);
    out.push_back(std::move(item));
    if (y) y();
  }
  return out;
}

std::vector<std::string> Store::resources(std::string_view main, std::string_view sub, const Yield& y) const {
  std::vector<std::string> out;
  std::vector<fs::Entry> entries;
  std::string folder = snippet_folder(main, sub);
  if (folder.empty() || !fs::list(folder, entries)) return out;
  const std::string source = std::string(sub) + ".txt";
  for (fs::Entry& e : entries) {
    if (e.folder || e.name == source) continue;
    out.push_back(std::move(e.name));
    if (y) y();
  }
  return out;
}

std::string Store::read_source(std::string_view main, std::string_view sub) const {
  std::string path = source_path(main, sub), text;
  if (path.empty() || !read_file(path, text)) return {};
  return cut_at_terminator(std::move(text));
}

Outcome Store::add_main(std::string_view name) const {
  std::string f = main_folder(name);
  if (f.empty()) return Outcome::BadName;
  if (fs::exists(f)) return Outcome::Exists;
  return make_folders(f) ? Outcome::Done : Outcome::Failed;
}

Outcome Store::add_snippet(std::string_view main, std::string_view name) const {
  std::string f = snippet_folder(main, name);
  if (f.empty()) return Outcome::BadName;
  if (fs::exists(f)) return Outcome::Exists;
  return make_folders(f) ? Outcome::Done : Outcome::Failed;
}

Outcome Store::rename_main(std::string_view main, std::string_view name) const {
  std::string from = main_folder(main), to = main_folder(name);
  if (from.empty() || to.empty()) return Outcome::BadName;
  if (main == name) return Outcome::Done;
  if (!same_name(main, name) && fs::exists(to)) return Outcome::Exists;
  return fs::rename(from, to) ? Outcome::Done : Outcome::Failed;
}

Outcome Store::rename_snippet(std::string_view main, std::string_view sub, std::string_view name) const {
  std::string from = snippet_folder(main, sub), to = snippet_folder(main, name);
  if (from.empty() || to.empty()) return Outcome::BadName;
  if (sub == name) return Outcome::Done;
  if (!same_name(sub, name) && fs::exists(to)) return Outcome::Exists;
  if (!fs::is_folder(from)) return Outcome::Failed;
  const std::string old_source = join(from, std::string(sub) + ".txt");
  const std::string new_source = join(from, std::string(name) + ".txt");
  const bool had_source = fs::exists(old_source);
  if (had_source && !fs::rename(old_source, new_source)) return Outcome::Failed;
  if (fs::rename(from, to)) return Outcome::Done;
  if (had_source) fs::rename(new_source, old_source);
  return Outcome::Failed;
}

Outcome Store::remove_folder(const std::string& path) const {
  if (path.empty()) return Outcome::BadName;
  fs::remove_tree(path);
  return fs::exists(path) ? Outcome::Failed : Outcome::Done;
}

Outcome Store::remove_main(std::string_view main) const { return remove_folder(main_folder(main)); }

Outcome Store::remove_snippet(std::string_view main, std::string_view sub) const {
  return remove_folder(snippet_folder(main, sub));
}

Outcome Store::save_source(std::string_view main, std::string_view sub, std::string_view text) const {
  std::string path = source_path(main, sub);
  if (path.empty()) return Outcome::BadName;
  if (!fs::is_folder(snippet_folder(main, sub))) return Outcome::Failed;
  return write_file_atomic(path, text) ? Outcome::Done : Outcome::Failed;
}

Outcome Store::import_file(std::string_view main, std::string_view sub, const std::string& path) const {
  std::string target = resource_path(main, sub, file_name_of(path));
  if (target.empty()) return Outcome::BadName;
  if (!fs::is_folder(snippet_folder(main, sub)) || fs::is_folder(path)) return Outcome::Failed;
  if (target == path) return Outcome::Done;  // dropped from its own folder
  return fs::copy_file(path, target) ? Outcome::Done : Outcome::Failed;
}

Outcome Store::remove_resource(std::string_view main, std::string_view sub, std::string_view file) const {
  std::string path = resource_path(main, sub, file);
  if (path.empty()) return Outcome::BadName;
  return fs::remove_file(path) ? Outcome::Done : Outcome::Failed;
}

Outcome Store::export_resource(std::string_view main, std::string_view sub, std::string_view file,
                               const std::string& target) const {
  std::string path = resource_path(main, sub, file);
  if (path.empty()) return Outcome::BadName;
  if (target.empty() || target == path) return Outcome::Failed;
  return fs::copy_file(path, target) ? Outcome::Done : Outcome::Failed;
}

}  // namespace tb::snippets
