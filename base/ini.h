// INI files read and written as GBK bytes, answering as the platform's profile functions do
// (first matching section and key win, names compare ASCII-case-insensitively, values trimmed
// and stripped of one pair of enclosing quotes) but parsed once, with hashed look-ups.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tb {

// A value is read into a 10240-byte buffer, so at most 10239 bytes come back.
constexpr std::size_t kIniValueMax = 10239;
// Section names are listed through a 204800-byte buffer.
constexpr std::size_t kIniSectionNamesBuffer = 204800;

class IniDocument {
 public:
  IniDocument() : sections_(1) {}
  static IniDocument parse(std::string_view bytes);

  // The value as the platform's string read gives it; "" when missing.
  std::string get(std::string_view section, std::string_view key) const;
  void set(std::string_view section, std::string_view key, std::string_view value);
  // Named sections in file order, duplicates included, as far as the list buffer holds them.
  std::vector<std::string> section_names() const;
  std::string serialize() const;

 private:
  struct Key {
    std::string name;
    std::optional<std::string> value;  // a line without "=" has no value
  };
  struct Section {
    std::string name;
    std::vector<Key> keys;
    std::unordered_map<std::string, std::size_t> first_key;  // folded name -> index
  };
  Section* find_section(std::string_view name);
  const Section* find_section(std::string_view name) const;
  static const Key* find_key(const Section& s, std::string_view key);
  void add_key(Section& s, std::string name, std::optional<std::string> value);
  void reindex();

  std::vector<Section> sections_;  // sections_[0] holds keys above the first header
  std::unordered_map<std::string, std::size_t> first_section_;
};

// File-level calls. Each reads the file afresh; writes replace the file in one step
// through a temporary file beside it, so an interrupted save never leaves it half written.
std::string ini_read(const std::string& path, std::string_view section, std::string_view key);
bool ini_write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value);
IniDocument ini_load(const std::string& path);
bool ini_save(const std::string& path, const IniDocument& doc);

}  // namespace tb
