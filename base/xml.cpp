#include "base/xml.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "base/fileio.h"

namespace tb::xml {

namespace {

// Two-byte codes inside the GBK byte ranges that have no character: readers of the saved
// file (iconv and its users) reject them, so they are written as '?'.
struct CodeRange {
  unsigned first, last;
};
constexpr CodeRange kUnassigned[] = {
    {0xA2AB, 0xA2B0}, {0xA2E3, 0xA2E4}, {0xA2EF, 0xA2F0}, {0xA2FD, 0xA2FE}, {0xA4F4, 0xA4FE},
    {0xA5F7, 0xA5FE}, {0xA6B9, 0xA6C0}, {0xA6D9, 0xA6DF}, {0xA6EC, 0xA6ED}, {0xA6F3, 0xA6F3},
    {0xA6F6, 0xA6FE}, {0xA7C2, 0xA7D0}, {0xA7F2, 0xA7FE}, {0xA896, 0xA8A0}, {0xA8BC, 0xA8BC},
    {0xA8BF, 0xA8BF}, {0xA8C1, 0xA8C4}, {0xA8EA, 0xA8FE}, {0xA958, 0xA958}, {0xA95B, 0xA95B},
    {0xA95D, 0xA95F}, {0xA989, 0xA995}, {0xA997, 0xA9A3}, {0xA9F0, 0xA9FE}, {0xD7FA, 0xD7FE},
    {0xFE50, 0xFEA0},
};

// A lead and trail byte in the GBK ranges, assigned or not.
bool gbk_pair_shape(unsigned char lead, unsigned char trail) {
  return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail != 0x7F && trail <= 0xFE;
}

// True for a lead and trail byte that make an assigned GBK character. The user-defined
// areas are left out too: they only mean something on the machine that defined them.
bool gbk_pair_ok(unsigned char lead, unsigned char trail) {
  if (!gbk_pair_shape(lead, trail)) return false;
  if (lead >= 0xA1 && lead <= 0xA7 && trail <= 0xA0) return false;
  if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1) return false;
  if (lead >= 0xF8 && trail >= 0xA1) return false;
  unsigned code = (unsigned{lead} << 8) | trail;
  for (const CodeRange& r : kUnassigned)
    if (code >= r.first && code <= r.last) return false;
  return true;
}

bool ascii_name_start(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}
bool ascii_name_char(unsigned char c) {
  return ascii_name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Appends s with the markup characters escaped; tab, LF and CR as references so that they
// survive attribute-value normalisation, other control bytes and bad GBK as '?'.
void append_escaped(std::string& out, std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      unsigned char t = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
      if (gbk_pair_shape(c, t)) {
        // A whole character, written as is or, without a meaning, as one '?'.
        if (gbk_pair_ok(c, t)) out.append(s.substr(i, 2));
        else out += '?';
        ++i;
      } else {
        // Only the lead byte goes: the next byte may be markup that still needs escaping.
        out += '?';
      }
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += (c < 0x20) ? '?' : static_cast<char>(c);
    }
  }
}

// The next element in document order after e (whose subtree is skipped when skip_children),
// staying inside the subtree of top.
Element* next_in_order(const Element* e, const Element* top, bool skip_children = false) {
  if (!skip_children && e->first_child()) return e->first_child();
  while (e != top) {
    if (e->next_sibling()) return e->next_sibling();
    e = e->parent();
  }
  return nullptr;
}

}  // namespace

bool is_valid_name(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c >= 0x80) {
      if (i + 1 >= name.size()) return false;
      unsigned char t = static_cast<unsigned char>(name[i + 1]);
      if (!gbk_pair_ok(c, t) || (c == 0xA1 && t == 0xA1)) return false;
      ++i;
    } else if (!(i == 0 ? ascii_name_start(c) : ascii_name_char(c))) {
      return false;
    }
  }
  return true;
}

// ---- Element ----

Element::~Element() {
  // Iterative, so that a deep tree cannot exhaust the stack.
  std::vector<Element*> pending;
  for (Element* c = first_; c; c = c->next_) pending.push_back(c);
  while (!pending.empty()) {
    Element* e = pending.back();
    pending.pop_back();
    for (Element* c = e->first_; c; c = c->next_) pending.push_back(c);
    e->first_ = e->last_ = nullptr;
    delete e;
  }
}

Element* Element::append_child(std::unique_ptr<Element> child) {
  if (!child || child->doc_ != doc_) return nullptr;
  Element* c = child.release();
  c->parent_ = this;
  c->prev_ = last_;
  c->next_ = nullptr;
  if (last_) last_->next_ = c;
  else first_ = c;
  last_ = c;
  ++child_count_;
  if (in_doc_) doc_->attach(c);
  return c;
}

std::unique_ptr<Element> Element::remove_child(Element* child) {
  if (!child || child->parent_ != this) return nullptr;
  if (child->in_doc_) doc_->detach(child);
  if (child->prev_) child->prev_->next_ = child->next_;
  else first_ = child->next_;
  if (child->next_) child->next_->prev_ = child->prev_;
  else last_ = child->prev_;
  child->parent_ = child->prev_ = child->next_ = nullptr;
  --child_count_;
  return std::unique_ptr<Element>(child);
}

std::uint32_t Element::field(std::size_t offset) const {
  std::uint32_t v;
  std::memcpy(&v, attrs_.data() + offset, sizeof v);
  return v;
}

void Element::set_field(std::size_t offset, std::uint32_t v) { std::memcpy(attrs_.data() + offset, &v, sizeof v); }

std::size_t Element::find_attr(std::uint32_t id) const {
  for (std::size_t p = 0; p < attrs_.size(); p += kHeader + field(p + 4))
    if (field(p) == id) return p;
  return std::string::npos;
}

std::size_t Element::attr_offset(std::size_t i) const {
  std::size_t p = 0;
  for (; i > 0; --i) p += kHeader + field(p + 4);
  return p;
}

bool Element::set_attribute(std::string_view name, std::string_view value) {
  std::optional<Name> n = doc_->name(name);
  if (!n) return false;
  set_attribute(*n, value);
  return true;
}

void Element::set_attribute(Name name, std::string_view value) {
  if (!value.empty() && std::less_equal<>()(attrs_.data(), value.data()) &&
      std::less<>()(value.data(), attrs_.data() + attrs_.size())) {
    // The value is one of our own attributes: copy it before the block moves.
    set_attribute(name, std::string(value));
    return;
  }
  auto len = static_cast<std::uint32_t>(value.size());
  std::size_t p = find_attr(name.id);
  if (p == std::string::npos) {
    char header[kHeader];
    std::memcpy(header, &name.id, 4);
    std::memcpy(header + 4, &len, 4);
    attrs_.append(header, kHeader);
    attrs_.append(value);
    ++attr_count_;
    return;
  }
  attrs_.replace(p + kHeader, field(p + 4), value);
  set_field(p + 4, len);
}

std::optional<std::string_view> Element::attribute(Name name) const {
  std::size_t p = find_attr(name.id);
  if (p == std::string::npos) return std::nullopt;
  return std::string_view(attrs_).substr(p + kHeader, field(p + 4));
}

std::optional<std::string_view> Element::attribute(std::string_view name) const {
  std::optional<Name> n = doc_->find_name(name);
  if (!n) return std::nullopt;
  return attribute(*n);
}

bool Element::remove_attribute(std::string_view name) {
  std::optional<Name> n = doc_->find_name(name);
  std::size_t p = n ? find_attr(n->id) : std::string::npos;
  if (p == std::string::npos) return false;
  attrs_.erase(p, kHeader + field(p + 4));
  --attr_count_;
  return true;
}

std::string_view Element::attribute_name(std::size_t i) const { return doc_->attr_name(field(attr_offset(i))); }

std::string_view Element::attribute_value(std::size_t i) const {
  std::size_t p = attr_offset(i);
  return std::string_view(attrs_).substr(p + kHeader, field(p + 4));
}

// ---- Document ----

Document::Document() = default;

Document::~Document() {
  // The root's subtree goes first: its elements point back at this document.
  root_.reset();
}

std::optional<Name> Document::find_name(std::string_view text) const {
  auto it = attr_ids_.find(text);
  if (it == attr_ids_.end()) return std::nullopt;
  return Name{it->second};
}

std::optional<Name> Document::name(std::string_view text) {
  if (auto n = find_name(text)) return n;
  if (!is_valid_name(text)) return std::nullopt;
  auto id = static_cast<std::uint32_t>(attr_names_.size());
  attr_names_.emplace_back(text);
  attr_ids_.emplace(std::string(text), id);
  return Name{id};
}

std::unique_ptr<Element> Document::create_element(std::string_view name) {
  if (!is_valid_name(name)) return nullptr;
  return std::unique_ptr<Element>(new Element(this, std::string(name)));
}

Element* Document::set_root(std::unique_ptr<Element> root) {
  if (root_ || !root || root->doc_ != this) return nullptr;
  root_ = std::move(root);
  attach(root_.get());
  return root_.get();
}

void Document::attach(Element* subtree) {
  for (Element* e = subtree; e; e = next_in_order(e, subtree)) {
    e->in_doc_ = true;
    Element*& head = index_.slot(e->name_);
    e->same_prev_ = nullptr;
    e->same_next_ = head;
    if (head) head->same_prev_ = e;
    head = e;
    ++element_count_;
  }
}

void Document::detach(Element* subtree) {
  for (Element* e = subtree; e; e = next_in_order(e, subtree)) {
    e->in_doc_ = false;
    if (e->same_next_) e->same_next_->same_prev_ = e->same_prev_;
    if (e->same_prev_) {
      e->same_prev_->same_next_ = e->same_next_;
    } else if (e->same_next_) {
      index_.slot(e->name_) = e->same_next_;
    } else {
      index_.erase(e->name_);
    }
    e->same_prev_ = e->same_next_ = nullptr;
    --element_count_;
  }
}

Element* Document::find(std::string_view name) const {
  Element* head = index_.find(name);
  if (!head || !head->same_next_) return head;
  // Several share the name: the first in document order wins, as a tree walk would find it.
  for (Element* e = root_.get(); e; e = next_in_order(e, root_.get()))
    if (e->name_ == name) return e;
  return nullptr;
}

std::string Document::to_xml() const {
  std::string out = "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n";
  if (!root_) return out;
  const Element* top = root_.get();
  const Element* e = top;
  std::size_t depth = 0;
  auto indent = [&](std::size_t d) { out.append(std::min<std::size_t>(d, 32) * 2, ' '); };
  for (;;) {
    indent(depth);
    out += '<';
    out += e->name_;
    for (std::size_t p = 0; p < e->attrs_.size(); p += Element::kHeader + e->field(p + 4)) {
      out += ' ';
      out += attr_names_[e->field(p)];
      out += "=\"";
      append_escaped(out, std::string_view(e->attrs_).substr(p + Element::kHeader, e->field(p + 4)));
      out += '"';
    }
    if (e->first_) {
      out += ">\r\n";
      e = e->first_;
      ++depth;
      continue;
    }
    out += "/>\r\n";
    // Climb, closing every element whose children are done.
    for (;;) {
      if (e == top) return out;
      if (e->next_) {
        e = e->next_;
        break;
      }
      e = e->parent_;
      --depth;
      indent(depth);
      out += "</";
      out += e->name_;
      out += ">\r\n";
    }
  }
}

bool Document::save(const std::string& path) const {
  if (!root_) return false;
  return write_file_atomic(path, to_xml());
}

}  // namespace tb::xml
