#include "codemanager/snippet_store.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

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

bool digits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}
int number(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

// To the second: two saves in one second are told apart by the milliseconds of their names.
std::int64_t now_ms() { return static_cast<std::int64_t>(std::time(nullptr)) * 1000; }

std::string version_name(std::int64_t ms) {
  const std::time_t t = static_cast<std::time_t>(ms / 1000);
  const std::tm* utc = std::gmtime(&t);
  char buf[40] = "19700101-000000";
  if (utc) std::strftime(buf, 16, "%Y%m%d-%H%M%S", utc);
  std::snprintf(buf + 15, sizeof buf - 15, "-%03d.txt", static_cast<int>(ms % 1000));
  return buf;
}

}  // namespace

std::int64_t version_time(std::string_view f) {
  // "YYYYMMDD-HHMMSS-mmm.txt"
  if (f.size() != 23 || f.substr(19) != ".txt" || f[8] != '-' || f[15] != '-' || !digits(f.substr(0, 8)) ||
      !digits(f.substr(9, 6)) || !digits(f.substr(16, 3)))
    return -1;
  std::tm tm{};
  tm.tm_year = number(f.substr(0, 4)) - 1900;
  tm.tm_mon = number(f.substr(4, 2)) - 1;
  tm.tm_mday = number(f.substr(6, 2));
  tm.tm_hour = number(f.substr(9, 2));
  tm.tm_min = number(f.substr(11, 2));
  tm.tm_sec = number(f.substr(13, 2));
#ifdef _WIN32
  const std::time_t t = _mkgmtime(&tm);
#else
  const std::time_t t = timegm(&tm);
#endif
  return t < 0 ? -1 : static_cast<std::int64_t>(t) * 1000 + number(f.substr(16, 3));
}

std::string version_label(std::string_view f) {
  const std::int64_t ms = version_time(f);
  if (ms < 0) return {};
  const std::time_t t = static_cast<std::time_t>(ms / 1000);
  const std::tm* local = std::localtime(&t);
  char buf[32] = {};
  if (!local || !std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", local)) return {};
  return buf;
}

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
  if (fs::exists(path) && !fs::is_folder(path)) {
    // An unchanged text replaces nothing: no version, so the kept ones are not pushed out.
    std::string old;
    if (!read_file(path, old)) return Outcome::Failed;
    if (old != text && !keep_version(main, sub, old)) return Outcome::Failed;
  }
  return write_file_atomic(path, text) ? Outcome::Done : Outcome::Failed;
}

std::string Store::history_folder(std::string_view main, std::string_view sub) const {
  std::string f = snippet_folder(main, sub);
  return f.empty() ? f : join(f, kHistoryFolder);
}

bool Store::keep_version(std::string_view main, std::string_view sub, std::string_view old) const {
  const std::string folder = history_folder(main, sub);
  if (!make_folders(folder)) return false;
  const std::vector<std::string> kept = versions(main, sub);
  // Later than every kept one even when the clock went back or two saves share a millisecond.
  std::int64_t ms = now_ms();
  if (!kept.empty()) ms = std::max(ms, version_time(kept.front()) + 1);
  if (!write_file_atomic(join(folder, version_name(ms)), old)) return false;
  for (std::size_t i = kVersionsKept - 1; i < kept.size(); ++i) fs::remove_file(join(folder, kept[i]));
  return true;
}

std::vector<std::string> Store::versions(std::string_view main, std::string_view sub) const {
  std::vector<std::string> out;
  std::vector<fs::Entry> entries;
  const std::string folder = history_folder(main, sub);
  if (folder.empty() || !fs::list(folder, entries)) return out;
  for (fs::Entry& e : entries)
    if (!e.folder && version_time(e.name) >= 0) out.push_back(std::move(e.name));
  // The names sort as their moments do.
  std::sort(out.begin(), out.end(), std::greater<>());
  return out;
}

std::string Store::read_version(std::string_view main, std::string_view sub, std::string_view file) const {
  std::string folder = history_folder(main, sub), text;
  if (folder.empty() || version_time(file) < 0 || !read_file(join(folder, file), text)) return {};
  return cut_at_terminator(std::move(text));
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
