// The instance record of one list control and the model behind its operations.
//
// Row order is never stored per element: a group's row is the sum of the sizes of the groups
// before it (1, plus its items when expanded), an item's row follows from its group's row
// and its place among the group's items. Both come from prefix sums, so no operation
// renumbers the rows after it, and `项目索引` is always right when read or saved.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/xml.h"
#include "widgets/grouplist/fenwick.h"
#include "widgets/grouplist/grouplist.h"

namespace tb::grouplist {

class Instance {
 public:
  Instance(std::unique_ptr<ListWindow> window, PictureService& pictures, std::intptr_t parent,
           int view, bool enlarge_selected, Colour background);
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  // ---- The record's fields, in their documented order ----
  std::intptr_t list_window = 0;
  std::intptr_t parent_window = 0;
  std::unique_ptr<xml::Document> document;
  bool flash_timer_running = false;
  int hover_row = -1;
  int selected_row = -1;
  int hovered_icon = 0;  // 1-based place on the hover row, 0 none
  int item_row_height = kLargeRowHeight;
  int view_mode = 0;  // 0 large, 1 medium, 2 small
  int icon_count = 0;
  OwnedBitmap icon_strip;
  std::vector<Colour> icon_keys;
  bool enlarge_selected = false;
  RowStyle group_style;
  RowStyle item_style;
  Colour avatar_frame = 0xE9E3D7;
  Colour icon_hover_fill = 0xBEE8FC;
  Colour icon_hover_frame = 0x438ACE;
  Colour background = 0xFFFFFF;
  EventHandlers handlers;

  // ---- Beyond the record ----
  ListWindow& window() const { return *window_; }
  // Items whose avatar flashes, for the flash tick.
  const std::vector<int>& flashing() const { return flashing_; }

  // ---- Operations (arguments and results as in the control's method table) ----
  int add_service_icon(std::string_view picture, Colour key);
  bool get_item(int handle, ItemRecord& item, std::vector<int>& icons, bool with_icons) const;
  bool set_item(const ItemRecord& item);
  bool get_selected_item(ItemRecord& item, std::vector<int>& icons, bool with_icons) const;
  int find_item_by_attribute(std::string_view attribute, std::string_view value) const;
  bool add_item(ItemRecord& item, const std::vector<int>& icons, bool with_icons);
  int add_group(std::string_view name, bool expanded, Colour name_colour);
  void expand_group(int group);
  void collapse_group(int group);
  void expand_all();
  void collapse_all();
  bool remove(int handle);
  int find_group_by_name(std::string_view name) const;
  std::string group_name(int group) const;
  bool rename_group(int group, std::string_view name);
  bool clear_group_items(int group, bool one_group);
  bool delete_groups(int group, bool one_group);
  bool remove_group_items(int group);
  void refresh();
  bool save_to_file(const std::string& path);
  bool set_online(int handle, int blink_delay_ms);
  bool set_offline(int handle);
  void sort_all_groups();
  void sort_group(int group);
  void start_flashing(int item);
  void stop_flashing(int item);
  // One tick of this list's flash timer: flips the phase of each flashing item, last first,
  // and drops the stopped ones with their phase back at 0; paint(row) for each shown one.
  void flash_tick(const std::function<void(int row)>& paint);
  void set_view(int mode, int height, bool enlarge);
  void set_group_row_style(const RowStyle& style);
  void set_item_row_style(const RowStyle& style, Colour avatar_frame);
  void set_service_icon_highlight(Colour fill, Colour frame);
  void set_item_row_heights(int height, int skip_row);
  void select_item(int item);
  int handle_at(int row) const;
  bool read_element(int handle, ElementRecord& element) const;

 private:
  struct Node;
  struct Slot {
    Node* node;  // null where an item left
    int handle;  // beside the node, so walking a group's rows touches only this array
  };
  struct GroupData {
    std::vector<Slot> items;   // item slots in child order
    Fenwick present;           // 1 per item slot still in use
    int live = 0;              // number of items
    bool expanded = false;
  };
  struct Node {
    int handle = 0;
    int slot = 0;  // place among the groups, or among its group's items
    xml::Element* element = nullptr;
    Node* owner = nullptr;          // an item's group
    std::unique_ptr<GroupData> gd;  // groups only
    OwnedBitmap avatar;             // item bitmaps; kept here too, as text would round them
    OwnedBitmap grey;
    Node* same_prev = nullptr;  // chain of the elements sharing a name
    Node* same_next = nullptr;
    bool is_group() const { return gd != nullptr; }
  };

  // Groups by 分组名称 and items by QQ名称: one chain per distinct name.
  class NameIndex {
   public:
    explicit NameIndex(xml::Name attribute = {}) : table_(KeyOf{attribute}) {}
    void add(Node* n, std::string_view name);
    void remove(Node* n, std::string_view name);
    Node* chain(std::string_view name) const { return table_.find(name); }

   private:
    struct KeyOf {
      xml::Name attribute;
      std::string_view operator()(const Node* n) const {
        return n->element->attribute(attribute).value_or(std::string_view());
      }
    };
    xml::HeadTable<Node, KeyOf> table_;
  };

  struct Names;

  Node* node(int handle) const;
  Node& new_node(int handle, xml::Element* element);
  void free_node(Node* n);
  Node* group_node(int handle) const;
  Node* item_node(int handle) const;
  int row_of(const Node* n) const;
  static int group_size(const Node* g) { return 1 + (g->gd->expanded ? g->gd->live : 0); }
  static bool before(const Node* a, const Node* b);
  static int first_in_order(Node* chain);

  std::string_view text(const Node* n, xml::Name name) const;
  std::int64_t number(const Node* n, xml::Name name) const;
  void set_number(Node* n, xml::Name name, std::int64_t value);
  void write_back(xml::Element* e, const ElementRecord& r);
  void make_grey_if_missing(Node* n);
  void redraw(const Node* n);
  void forget_row(int row);
  void insert_item_rows(Node* g);
  void drop_item_rows(Node* g);
  void remove_items_of(Node* g);
  void delete_group(Node* g);
  void index(Node* n, bool add);
  void compact_groups();
  static void compact_items(GroupData& g);

  std::unique_ptr<ListWindow> window_;
  PictureService* pictures_;
  std::unique_ptr<Names> names_;
  xml::Element* root_ = nullptr;
  // Nodes are found through their element ("Item" + handle) and kept in a pool.
  std::deque<Node> node_pool_;
  std::vector<Node*> free_nodes_;
  std::vector<Node*> groups_;  // group slots in document order, null where a group left
  Fenwick group_rows_;         // per group slot: its row count
  int live_groups_ = 0;
  NameIndex item_names_, group_names_;
  std::vector<int> flashing_;
};

// Every instance made so far, oldest first; each is kept until the process ends.
const std::vector<std::unique_ptr<Instance>>& all_instances();

// The process-wide handle counter: started at a random 10000..99999 by the first Create.
void start_handle_counter();
int next_handle();

}  // namespace tb::grouplist
