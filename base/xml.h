// In-memory XML document: elements with ordered attributes, children and parent links,
// found by name in constant time through an index, saved as GBK-declared XML. There are
// no text nodes: the data lives in attributes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tb::xml {

class Document;

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
  // The value, or nullptr when the attribute is absent.
  const std::string* attribute(std::string_view name) const;
  const std::string* attribute(Name name) const;
  bool remove_attribute(std::string_view name);
  std::size_t attribute_count() const { return attrs_.size(); }
  std::string_view attribute_name(std::size_t i) const;
  const std::string& attribute_value(std::size_t i) const { return attrs_[i].second; }

 private:
  friend class Document;
  Element(Document* doc, std::string name) : doc_(doc), name_(std::move(name)) {}

  Document* doc_;
  std::string name_;
  std::vector<std::pair<std::uint32_t, std::string>> attrs_;
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
  struct Bucket {
    Element* head = nullptr;
    std::size_t count = 0;
  };
  void attach(Element* subtree);
  void detach(Element* subtree);
  const std::string& attr_name(std::uint32_t id) const { return attr_names_[id]; }
  std::optional<std::uint32_t> find_attr_id(std::string_view text) const;

  std::unique_ptr<Element> root_;
  std::unordered_map<std::string, Bucket, NameHash, std::equal_to<>> index_;
  std::unordered_map<std::string, std::uint32_t, NameHash, std::equal_to<>> attr_ids_;
  std::vector<std::string> attr_names_;
  std::size_t element_count_ = 0;
};

// True when the bytes form a name the saved document can carry: ASCII letters, digits and
// "_-.:" (not starting with a digit, "-" or "."), or GBK characters other than the
// full-width space.
bool is_valid_name(std::string_view name);

}  // namespace tb::xml
