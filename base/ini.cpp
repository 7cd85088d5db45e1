#include "base/ini.h"

#include "base/fileio.h"
#include "base/text.h"

namespace tb {

namespace {

// The platform's profile parser treats these as blanks around lines, names and values.
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A; }

std::string_view strip_blanks(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && is_blank(s[a])) ++a;
  while (b > a && is_blank(s[b - 1])) --b;
  return s.substr(a, b - a);
}

std::string folded(std::string_view s) { return to_lower(s); }

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
  IniDocument doc;
  std::size_t pos = 0;
  // A UTF-8 byte order mark would make the platform read the file as UTF-8; skip it so
  // the first header is still seen.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  // Names and values end at a NUL byte, as C strings do in the platform's reader.
  auto cut_nul = [](std::string_view v) { return v.substr(0, v.find('\0')); };
  while (pos < bytes.size()) {
    // A line ends at any run of CR and LF bytes.
    std::size_t eol = bytes.find_first_of("\r\n", pos);
    if (eol == std::string_view::npos) eol = bytes.size();
    std::string_view line = strip_blanks(bytes.substr(pos, eol - pos));
    pos = eol;
    while (pos < bytes.size() && (bytes[pos] == '\r' || bytes[pos] == '\n')) ++pos;
    if (line.empty()) continue;
    if (line[0] == '[') {
      std::size_t close = rfind(line, "]");
      if (close != npos && close > 0) {
        Section s;
        s.name = std::string(cut_nul(strip_blanks(line.substr(1, close - 1))));
        doc.sections_.push_back(std::move(s));
        continue;
      }
      // A header without "]" is read as a key line.
    }
    Section& cur = doc.sections_.back();
    std::size_t eq = find(line, "=");
    std::string name;
    std::optional<std::string> value;
    if (eq != npos) {
      name = std::string(cut_nul(strip_blanks(line.substr(0, eq))));
      value = std::string(cut_nul(strip_blanks(line.substr(eq + 1))));
    } else {
      name = std::string(cut_nul(line));
    }
    // Like the platform, an unnamed key right after another unnamed one is dropped.
    if (!name.empty() || cur.keys.empty() || !cur.keys.back().name.empty())
      cur.keys.push_back(Key{std::move(name), std::move(value)});
  }
  doc.reindex();
  return doc;
}

void IniDocument::reindex() {
  first_section_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    Section& s = sections_[i];
    first_section_.try_emplace(folded(s.name), i);
    s.first_key.clear();
    for (std::size_t k = 0; k < s.keys.size(); ++k) s.first_key.try_emplace(folded(s.keys[k].name), k);
  }
}

const IniDocument::Section* IniDocument::find_section(std::string_view name) const {
  auto it = first_section_.find(folded(strip_blanks(name)));
  return it == first_section_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::find_section(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniDocument*>(this)->find_section(name));
}

const IniDocument::Key* IniDocument::find_key(const Section& s, std::string_view key) {
  auto it = s.first_key.find(folded(strip_blanks(key)));
  return it == s.first_key.end() ? nullptr : &s.keys[it->second];
}

std::string IniDocument::get(std::string_view section, std::string_view key) const {
  const Section* s = find_section(section);
  if (!s) return {};
  const Key* k = find_key(*s, key);
  if (!k || !k->value) return {};
  std::string_view v = *k->value;
  // One pair of matching enclosing quotes is removed, as the platform does.
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  return std::string(v.substr(0, floor_boundary(v, kIniValueMax)));
}

void IniDocument::add_key(Section& s, std::string name, std::optional<std::string> value) {
  s.first_key.try_emplace(folded(name), s.keys.size());
  s.keys.push_back(Key{std::move(name), std::move(value)});
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = find_section(section);
  if (!s) {
    Section fresh;
    fresh.name = std::string(strip_blanks(section));
    first_section_.try_emplace(folded(fresh.name), sections_.size());
    sections_.push_back(std::move(fresh));
    s = &sections_.back();
  }
  // The platform stores values trimmed; keep what a later read would give.
  std::string v(strip_blanks(value));
  auto it = s->first_key.find(folded(strip_blanks(key)));
  if (it != s->first_key.end()) {
    s->keys[it->second].value = std::move(v);
  } else {
    add_key(*s, std::string(strip_blanks(key)), std::move(v));
  }
}

std::vector<std::string> IniDocument::section_names() const {
  std::vector<std::string> out;
  std::size_t used = 0;
  for (std::size_t i = 1; i < sections_.size(); ++i) {
    const std::string& n = sections_[i].name;
    if (n.empty()) continue;
    // Each name takes its bytes plus a NUL; the list ends with one more NUL.
    if (used + n.size() + 1 + 1 > kIniSectionNamesBuffer) break;
    used += n.size() + 1;
    out.push_back(n);
  }
  return out;
}

std::string IniDocument::serialize() const {
  std::string out;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (i > 0) {
      if (!out.empty()) out += "\r\n";
      out += '[';
      out += s.name;
      out += "]\r\n";
    }
    for (const Key& k : s.keys) {
      out += k.name;
      if (k.value) {
        out += '=';
        out += *k.value;
      }
      out += "\r\n";
    }
  }
  return out;
}

IniDocument ini_load(const std::string& path) {
  std::string bytes;
  if (!read_file(path, bytes)) bytes.clear();
  return IniDocument::parse(bytes);
}

bool ini_save(const std::string& path, const IniDocument& doc) { return write_file_atomic(path, doc.serialize()); }

std::string ini_read(const std::string& path, std::string_view section, std::string_view key) {
  return ini_load(path).get(section, key);
}

bool ini_write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) {
  std::string bytes;
  // A file that exists but cannot be read is left alone rather than replaced by one key.
  if (!read_file(path, bytes) && file_exists(path)) return false;
  IniDocument doc = IniDocument::parse(bytes);
  doc.set(section, key, value);
  return ini_save(path, doc);
}


}  // namespace tb
