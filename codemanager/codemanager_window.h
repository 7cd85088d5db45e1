// The code manager's window: the snippet tree, both coloured views, resources and search.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "codemanager/codemanager.h"
#include "codemanager/snippet_store.h"
#include "platform/listbox.h"
#include "platform/richedit.h"
#include "platform/tree.h"
#include "platform/window.h"

namespace tb::codemanager {

class CodeManagerWindow : public Window {
 public:
  CodeManagerWindow();

  // The user's actions, public so tests and benchmarks can run each one alone.
  void fill_tree();
  void show_selected();
  void save();
  void rename();
  void add_main();
  void add_snippet();
  void remove_selected(int level);
  void import_files(const std::vector<std::string>& paths);
  void preview();
  void remove_resource();
  void export_resource();
  void export_resource_to(const std::string& target);
  void export_all();
  void export_all_to(const std::string& folder);
  void search();
  void copy_source();
  // A pop-up menu item chosen, as the menu reports it.
  void choose(std::string_view menu, int item);

  Tree tree() const { return Tree(control(res_tree())); }
  const std::vector<std::string>& search_names() const { return names_; }
  const snippets::Store& store() const { return store_; }

 protected:
  void on_created() override;

 private:
  static std::string_view res_tree();
  struct Selected {
    Tree::Node node = nullptr;
    int level = 0;  // 0 none, 1 main item, 2 snippet
    std::string main, sub;
  };
  Selected selected() const;
  void fill_resources(const std::string& main, const std::string& sub);
  void refresh_names();
  // A name for a new or renamed item at the level under `parent`: shows why when it cannot be.
  bool usable_name(const std::string& name, Tree::Node parent, Tree::Node self);

  snippets::Store store_;
  AskText ask_;
  std::vector<std::string> names_;  // the search list: every snippet, in tree order
  bool busy_ = false;               // filling: actions wait, the window stays open
  bool too_big_ = false;            // the selected source is too large to show
  bool searched_ = false;           // the result list shows a search, to be kept current
};

// The open window, or nullptr.
CodeManagerWindow* current();

}  // namespace tb::codemanager
