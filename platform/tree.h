// A tree view by its HWND: one-line operations over the TVM_ messages, GBK text in and out.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

class Tree {
 public:
  using Node = HTREEITEM;  // nullptr: none, or the root where a parent is asked for

  explicit Tree(HWND h) : h_(h) {}
  HWND hwnd() const { return h_; }

  // Appends a node under `parent` (nullptr: top level). Item data is pointer-sized, as
  // the control stores it (LPARAM).
  Node add(Node parent, std::string_view text, std::intptr_t data = 0);
  void clear() { TreeView_DeleteAllItems(h_); }
  void remove(Node n) { TreeView_DeleteItem(h_, n); }
  void select(Node n) { TreeView_SelectItem(h_, n); }
  Node selected() const { return TreeView_GetSelection(h_); }
  void expand(Node n, bool open = true) { TreeView_Expand(h_, n, open ? TVE_EXPAND : TVE_COLLAPSE); }
  Node parent(Node n) const { return TreeView_GetParent(h_, n); }

  void rename(Node n, std::string_view text);
  std::string text(Node n) const;
  std::intptr_t data(Node n) const;
  // Direct children in order; nullptr gives the top-level nodes.
  std::vector<Node> children(Node parent) const;
  // First direct child whose text is exactly `text` (byte for byte), or nullptr.
  Node find_child(Node parent, std::string_view text) const;

 private:
  HWND h_;
};

// The new label of a TVN_ENDLABELEDITW notification, or nullopt when the edit was cancelled.
std::optional<std::string> edited_label(const NMTVDISPINFOW* info);

}  // namespace tb
