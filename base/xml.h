// In-memory XML document: elements with ordered attributes, children and parent links,
// found by name in constant time through an index, saved as GBK-declared XML. There are
// no text nodes: the data lives in attributes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tb::xml {

class Document;

// Heads of chains of objects that share a text key, in an open-addressing table. The key is
// read from the head itself (key_of(head)), so a slot is just a hash and a pointer: one cache
// line per lookup instead of a walk through allocated nodes.
template <class T, class KeyOf>
class HeadTable {
 public:
  explicit HeadTable(KeyOf key_of = KeyOf()) : key_of_(key_of) {}

  // The head for key, or nullptr.
  T* find(std::string_view key) const {
    if (slots_.empty()) return nullptr;
    std::size_t h = hash(key);
    for (std::size_t i = h & mask(); slots_[i].head; i = (i + 1) & mask())
      if (slots_[i].hash == h && key_of_(slots_[i].head) == key) return slots_[i].head;
    return nullptr;
  }
  // The head slot for key, made empty (nullptr) when the key is new; the caller fills it.
  T*& slot(std::string_view key) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    std::size_t h = hash(key);
    std::size_t i = h & mask();
    for (; slots_[i].head; i = (i + 1) & mask())
      if (slots_[i].hash == h && key_of_(slots_[i].head) == key) return slots_[i].head;
    ++used_;
    slots_[i].hash = h;
    return slots_[i].head;
  }
  // Drops the slot of key, if any; later slots of the probe run move back into the gap.
  void erase(std::string_view key) {
    if (slots_.empty()) return;
    std::size_t h = hash(key);
    std::size_t i = h & mask();
    while (slots_[i].head && !(slots_[i].hash == h && key_of_(slots_[i].head) == key)) i = (i + 1) & mask();
    if (!slots_[i].head) return;
    for (std::size_t j = (i + 1) & mask(); slots_[j].head; j = (j + 1) & mask()) {
      std::size_t home = slots_[j].hash & mask();
      bool stays = i <= j ? (home > i && home <= j) : (home > i || home <= j);
      if (stays) continue;
      slots_[i] = slots_[j];
      i = j;
    }
    slots_[i] = Slot{};
    --used_;
  }
  std::size_t size() const { return used_; }

 private:
  struct Slot {
    std::size_t hash = 0;
    T* head = nullptr;
  };
  static std::size_t hash(std::string_view key) { return std::hash<std::string_view>{}(key); }
  std::size_t mask() const { return slots_.size() - 1; }
  void grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& s : old) {
      if (!s.head) continue;
      std::size_t i = s.hash & mask();
      while (slots_[i].head) i = (i + 1) & mask();
      slots_[i] = s;
    }
  }
  KeyOf key_of_;
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

// An attribute name interned by its document; resolving it once saves the string
// comparisons on every later access.
struct Name {
  std::uint32_t id = 0;
};

class Element {
 public:
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;
  ~Element();  // frees the whole subtree

  const std::string& name() const { return name_; }
  Document& document() const { return *doc_; }
  Element* parent() const { return parent_; }
  Element* first_child() const { return first_; }
  Element* last_child() const { return last_; }
  Element* next_sibling() const { return next_; }
  Element* previous_sibling() const { return prev_; }
  std::size_t child_count() const { return child_count_; }
  // True while the element hangs (through its ancestors) below the document's root.
  bool in_document() const { return in_doc_; }

  // Takes a detached element of the same document as the last child. Returns it, or
  // nullptr (and drops the element) when it belongs to another document.
  Element* append_child(std::unique_ptr<Element> child);
  // Detaches a child with its subtree; nullptr when it is not a child of this element.
  std::unique_ptr<Element> remove_child(Element* child);

  // A new attribute goes last; an existing one keeps its place. False for a name that is
  // not a valid XML name.
  bool set_attribute(std::string_view name, std::string_view value);
  void set_attribute(Name name, std::string_view value);
  // The value, or nullopt when the attribute is absent. The view lasts until the element's
  // attributes change.
  std::optional<std::string_view> attribute(std::string_view name) const;
  std::optional<std::string_view> attribute(Name name) const;
  bool remove_attribute(std::string_view name);
  std::size_t attribute_count() const { return attr_count_; }
  std::string_view attribute_name(std::size_t i) const;
  std::string_view attribute_value(std::size_t i) const;

  // A pointer of the user's, not part of the document (not saved, not owned).
  void* user_data() const { return user_data_; }
  void set_user_data(void* data) { user_data_ = data; }

 private:
  friend class Document;
  Element(Document* doc, std::string name) : doc_(doc), name_(std::move(name)) {}

  // Attributes packed into one block, each as name id, value length, value bytes: an
  // element costs one allocation for all its attributes.
  static constexpr std::size_t kHeader = 8;
  std::size_t find_attr(std::uint32_t id) const;  // offset of its record, or npos
  std::size_t attr_offset(std::size_t i) const;
  std::uint32_t field(std::size_t offset) const;
  void set_field(std::size_t offset, std::uint32_t v);

  Document* doc_;
  std::string name_;
  std::string attrs_;
  std::uint32_t attr_count_ = 0;
  void* user_data_ = nullptr;
  Element* parent_ = nullptr;
  Element* first_ = nullptr;
  Element* last_ = nullptr;
  Element* prev_ = nullptr;
  Element* next_ = nullptr;
  std::size_t child_count_ = 0;
  bool in_doc_ = false;
  // Chain of the elements in the document that share this name.
  Element* same_prev_ = nullptr;
  Element* same_next_ = nullptr;
};

class Document {
 public:
  Document();
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Interns an attribute name; nullopt when it is not a valid XML name.
  std::optional<Name> name(std::string_view text);
  // An attribute name already interned; nullopt otherwise (no element can carry it then).
  std::optional<Name> find_name(std::string_view text) const;
  // A detached element; nullptr when the name is not a valid XML name.
  std::unique_ptr<Element> create_element(std::string_view name);
  // Makes the element the root; refused (nullptr) when there is one already.
  Element* set_root(std::unique_ptr<Element> root);
  Element* root() const { return root_.get(); }
  // The first element with that name in document order, or nullptr.
  Element* find(std::string_view name) const;
  std::size_t element_count() const { return element_count_; }

  // The document as text: declaration with encoding="GBK", attribute values escaped,
  // bytes that are not valid GBK or not allowed in XML replaced by '?'.
  std::string to_xml() const;
  // Writes to_xml() through a temporary file that replaces the target in one step.
  // False, with nothing written, when there is no root or the file cannot be written.
  bool save(const std::string& path) const;

 private:
  friend class Element;
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct NameOf {
    std::string_view operator()(const Element* e) const { return e->name(); }
  };
  void attach(Element* subtree);
  void detach(Element* subtree);
  const std::string& attr_name(std::uint32_t id) const { return attr_names_[id]; }

  std::unique_ptr<Element> root_;
  HeadTable<Element, NameOf> index_;
  std::unordered_map<std::string, std::uint32_t, NameHash, std::equal_to<>> attr_ids_;
  std::vector<std::string> attr_names_;
  std::size_t element_count_ = 0;
};

// True when the bytes form a name the saved document can carry: ASCII letters, digits and
// "_-.:" (not starting with a digit, "-" or "."), or GBK characters other than the
// full-width space.
bool is_valid_name(std::string_view name);

}  // namespace tb::xml
