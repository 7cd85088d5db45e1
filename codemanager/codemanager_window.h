// The code manager's window: the snippet tree, both coloured views, resources and search.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "codemanager/codemanager.h"
#include "codemanager/content_search.h"
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
  // Row `row` of the result list: its snippet selected in the tree, the 目录 page shown; a
  // content hit's first match is selected in the source view.
  void open_hit(int row);
  // A kept version of the selected snippet into the source view; the disk changes on a save.
  void restore_version(const std::string& file);
  void copy_source();
  // A pop-up menu item chosen, as the menu reports it.
  void choose(std::string_view menu, int item);

  Tree tree() const { return Tree(control(res_tree())); }
  const std::vector<std::string>& search_names() const { return names_; }
  const snippets::Store& store() const { return store_; }
  // Sources are still being searched for the search text.
  bool searching() const { return job_ != nullptr; }

 protected:
  void on_created() override;
  void on_destroyed() override;
  bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

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
  void note_snippet(const std::string& main, const std::string& sub);

  // A row of the result list: a name hit (line 0) or a content hit and its first line.
  struct Hit {
    snippets::SnippetRef ref;
    int line = 0;
  };
  struct ContentJob;  // one scan of the sources, shared with its worker thread
  // Starts a worker on the sources of `refs`; "" only reads them into the cache.
  std::shared_ptr<ContentJob> scan(std::vector<snippets::SnippetRef> refs, const std::string& typed);
  void take_content_hits();
  void version_menu();

  snippets::Store store_;
  AskText ask_;
  std::vector<std::string> names_;  // the search list: every snippet, in tree order
  std::vector<snippets::SnippetRef> refs_;  // the same snippets with their main items
  std::vector<Hit> hits_;                   // one per row of the result list
  std::string searched_for_;                // the text they were found for
  std::shared_ptr<ContentJob> job_;         // the search of the sources under way
  std::shared_ptr<ContentJob> warm_;        // every source read once, from the opening on
  std::shared_ptr<snippets::SourceCache> cache_ = std::make_shared<snippets::SourceCache>();
  bool busy_ = false;       // filling: actions wait, the window stays open
  bool too_big_ = false;    // the selected source is too large to show
  bool searched_ = false;   // the result list shows a search, to be kept current
};

// The open window, or nullptr.
CodeManagerWindow* current();

}  // namespace tb::codemanager
