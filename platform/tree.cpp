#include "platform/tree.h"

#include "base/encoding.h"

namespace tb {

Tree::Node Tree::add(Node parent, std::string_view text, std::intptr_t data) {
  std::wstring w = to_wide(text);
  TVINSERTSTRUCTW ins{};
  ins.hParent = parent ? parent : TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM;
  ins.item.pszText = w.data();
  ins.item.lParam = data;
  return reinterpret_cast<Node>(SendMessageW(h_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void Tree::rename(Node n, std::string_view text) {
  std::wstring w = to_wide(text);
  TVITEMW it{};
  it.mask = TVIF_TEXT;
  it.hItem = n;
  it.pszText = w.data();
  SendMessageW(h_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

std::string Tree::text(Node n) const {
  // The control copies at most cchTextMax characters: grow until the label fits.
  for (std::size_t cap = 256;; cap *= 4) {
    std::wstring buf(cap, L'\0');
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = n;
    it.pszText = buf.data();
    it.cchTextMax = static_cast<int>(cap);
    if (!SendMessageW(h_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)) || !it.pszText) return {};
    std::wstring_view got(it.pszText);  // the control may point at its own buffer instead
    if (got.size() + 1 < cap || cap >= (1u << 20)) return to_gbk(got);
  }
}

std::intptr_t Tree::data(Node n) const {
  TVITEMW it{};
  it.mask = TVIF_PARAM;
  it.hItem = n;
  return SendMessageW(h_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)) ? it.lParam : 0;
}

std::vector<Tree::Node> Tree::children(Node parent) const {
  std::vector<Node> out;
  Node c = parent ? TreeView_GetChild(h_, parent) : TreeView_GetRoot(h_);
  for (; c; c = TreeView_GetNextSibling(h_, c)) out.push_back(c);
  return out;
}

Tree::Node Tree::find_child(Node parent, std::string_view text) const {
  for (Node c : children(parent))
    if (this->text(c) == text) return c;
  return nullptr;
}

std::optional<std::string> edited_label(const NMTVDISPINFOW* info) {
  if (!info || !info->item.pszText) return std::nullopt;
  return to_gbk(info->item.pszText);
}

}  // namespace tb
