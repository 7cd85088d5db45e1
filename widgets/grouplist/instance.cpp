#include "widgets/grouplist/instance.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <random>
#include <utility>

#include "base/number.h"
#include "base/text.h"

namespace tb::grouplist {

namespace {

int g_handle_counter = 0;

std::string element_name(int handle) { return "Item" + std::to_string(handle); }

std::string join_icons(const std::vector<int>& icons) {
  std::string s;
  for (std::size_t i = 0; i < icons.size(); ++i) {
    if (i) s += ',';
    s += int_to_text(icons[i]);
  }
  return s;
}

}  // namespace

void start_handle_counter() {
  if (g_handle_counter != 0) return;
  // Seeded from the clock (not <chrono>: its "µs" has no GBK form for our literals).
  std::mt19937 rng(static_cast<unsigned>(std::time(nullptr)) ^ static_cast<unsigned>(std::clock()));
  g_handle_counter = std::uniform_int_distribution<int>(10000, 99999)(rng);
}

int next_handle() {
  // Handles never repeat: once the counter runs out there are no more.
  if (g_handle_counter <= 0 || g_handle_counter == INT_MAX) return 0;
  return ++g_handle_counter;
}

// Attribute names, interned once per document.
struct Instance::Names {
  explicit Names(xml::Document& d)
      : kind(n(d, "项目类别")), group_name(n(d, "分组名称")), handle(n(d, "项目句柄")),
        colour(n(d, "名称颜色")), expanded(n(d, "已扩展")), row(n(d, "项目索引")),
        group(n(d, "分组句柄")), name(n(d, "QQ名称")), number(n(d, "QQ号码")),
        signature(n(d, "个性签名")), icon_count(n(d, "业务图标数量")), icons(n(d, "业务图标数组")),
        remark(n(d, "备注信息")), avatar(n(d, "头像图标句柄")), grey(n(d, "灰度头像句柄")),
        width(n(d, "头像宽度")), height(n(d, "头像高度")), online(n(d, "是否在线")),
        flashing(n(d, "头像闪烁")), phase(n(d, "头像偏移")) {}
  static xml::Name n(xml::Document& d, std::string_view s) { return *d.name(s); }
  xml::Name kind, group_name, handle, colour, expanded, row, group, name, number, signature, icon_count,
      icons, remark, avatar, grey, width, height, online, flashing, phase;
};

// ---- NameIndex ----

void Instance::NameIndex::add(Node* n, std::string_view name) {
  Node*& head = table_.slot(name);
  n->same_prev = nullptr;
  n->same_next = head;
  if (head) head->same_prev = n;
  head = n;
}

// Called while the node still carries the name it was added with.
void Instance::NameIndex::remove(Node* n, std::string_view name) {
  if (n->same_next) n->same_next->same_prev = n->same_prev;
  if (n->same_prev) n->same_prev->same_next = n->same_next;
  else if (n->same_next) table_.slot(name) = n->same_next;
  else table_.erase(name);
  n->same_prev = n->same_next = nullptr;
}

// ---- Construction ----

Instance::Instance(std::unique_ptr<ListWindow> window, PictureService& pictures, std::intptr_t parent,
                   int view, bool enlarge, Colour bg)
    : window_(std::move(window)), pictures_(&pictures) {
  list_window = window_->handle();
  parent_window = parent;
  document = std::make_unique<xml::Document>();
  names_ = std::make_unique<Names>(*document);
  item_names_ = NameIndex(names_->name);
  group_names_ = NameIndex(names_->group_name);
  auto root = document->create_element("QQ列表");
  root->set_attribute("hwnd", int_to_text(list_window));
  root->set_attribute("hParent", int_to_text(parent));
  root_ = document->set_root(std::move(root));
  if (view == 1) {
    item_row_height = kMediumRowHeight;
    view_mode = 1;
  } else if (view == 2) {
    item_row_height = kSmallRowHeight;
    view_mode = 2;
  } else {
    item_row_height = kLargeRowHeight;
    view_mode = 0;
  }
  enlarge_selected = enlarge;
  background = bg;
}

Instance::~Instance() = default;

// ---- Lookups and order ----

Instance::Node* Instance::node(int handle) const {
  if (handle <= 0) return nullptr;
  xml::Element* e = document->find(element_name(handle));
  return e ? static_cast<Node*>(e->user_data()) : nullptr;
}

Instance::Node& Instance::new_node(int handle, xml::Element* element) {
  Node* n;
  if (free_nodes_.empty()) {
    n = &node_pool_.emplace_back();
  } else {
    n = free_nodes_.back();
    free_nodes_.pop_back();
  }
  n->handle = handle;
  n->element = element;
  element->set_user_data(n);
  return *n;
}

// The node's bitmaps go with it.
void Instance::free_node(Node* n) {
  *n = Node{};
  free_nodes_.push_back(n);
}

Instance::Node* Instance::group_node(int handle) const {
  Node* n = node(handle);
  return n && n->is_group() ? n : nullptr;
}

Instance::Node* Instance::item_node(int handle) const {
  Node* n = node(handle);
  return n && !n->is_group() ? n : nullptr;
}

int Instance::row_of(const Node* n) const {
  if (n->is_group()) return group_rows_.prefix(n->slot);
  const Node* g = n->owner;
  if (!g->gd->expanded) return -1;
  return group_rows_.prefix(g->slot) + 1 + g->gd->present.prefix(n->slot);
}

bool Instance::before(const Node* a, const Node* b) {
  if (a->is_group()) return a->slot < b->slot;
  if (a->owner != b->owner) return a->owner->slot < b->owner->slot;
  return a->slot < b->slot;
}

int Instance::first_in_order(Node* chain) {
  Node* best = chain;
  for (Node* n = chain; n; n = n->same_next)
    if (before(n, best)) best = n;
  return best ? best->handle : 0;
}

// ---- Attribute access ----

std::string_view Instance::text(const Node* n, xml::Name name) const {
  return n->element->attribute(name).value_or(std::string_view());
}

std::int64_t Instance::number(const Node* n, xml::Name name) const { return text_to_int(text(n, name)); }

void Instance::set_number(Node* n, xml::Name name, std::int64_t value) {
  n->element->set_attribute(name, int_to_text(value));
}

// Writes every item attribute in the order the write-back has always used.
void Instance::write_back(xml::Element* e, const ElementRecord& r) {
  const Names& a = *names_;
  e->set_attribute(a.handle, int_to_text(r.handle));
  e->set_attribute(a.kind, r.kind);
  e->set_attribute(a.group, int_to_text(r.group));
  e->set_attribute(a.name, r.name);
  e->set_attribute(a.number, r.number);
  e->set_attribute(a.signature, r.signature);
  e->set_attribute(a.colour, int_to_text(r.name_colour));
  e->set_attribute(a.icon_count, int_to_text(r.icon_count));
  if (r.icon_count > 0) e->set_attribute(a.icons, join_icons(r.icons));
  e->set_attribute(a.remark, r.remark);
  e->set_attribute(a.avatar, int_to_text(r.avatar));
  e->set_attribute(a.grey, int_to_text(r.grey_avatar));
  e->set_attribute(a.width, int_to_text(r.avatar_width));
  e->set_attribute(a.height, int_to_text(r.avatar_height));
  e->set_attribute(a.phase, int_to_text(r.flash_phase));
  e->set_attribute(a.online, r.online ? "1" : "0");
  e->set_attribute(a.row, int_to_text(r.row));
  e->set_attribute(a.flashing, r.flashing ? "1" : "0");
}

bool Instance::read_element(int handle, ElementRecord& r) const {
  const Node* n = node(handle);
  if (!n) return false;
  const Names& a = *names_;
  r = ElementRecord{};
  r.handle = handle;
  r.kind = text(n, a.kind);
  r.name_colour = static_cast<Colour>(number(n, a.colour));
  r.row = row_of(n);
  if (n->is_group()) {
    r.name = text(n, a.group_name);
    r.expanded = n->gd->expanded;
    return true;
  }
  r.group = static_cast<int>(number(n, a.group));
  r.avatar = n->avatar;
  r.grey_avatar = n->grey;
  r.name = text(n, a.name);
  r.number = text(n, a.number);
  r.online = number(n, a.online) != 0;
  r.signature = text(n, a.signature);
  r.icon_count = static_cast<int>(number(n, a.icon_count));
  if (r.icon_count > 0)
    for (const std::string& piece : split(text(n, a.icons), ","))
      r.icons.push_back(static_cast<int>(text_to_int(piece)));
  r.remark = text(n, a.remark);
  r.flashing = number(n, a.flashing) != 0;
  r.flash_phase = static_cast<int>(number(n, a.phase));
  r.avatar_width = static_cast<int>(number(n, a.width));
  r.avatar_height = static_cast<int>(number(n, a.height));
  return true;
}

void Instance::index(Node* n, bool add) {
  NameIndex& names = n->is_group() ? group_names_ : item_names_;
  std::string_view name = text(n, n->is_group() ? names_->group_name : names_->name);
  add ? names.add(n, name) : names.remove(n, name);
}

void Instance::make_grey_if_missing(Node* n) {
  if (n->grey || !n->avatar) return;
  n->grey = OwnedBitmap(*pictures_, pictures_->make_grey(n->avatar));
  set_number(n, names_->grey, n->grey);
}

void Instance::redraw(const Node* n) {
  int r = row_of(n);
  if (r >= 0) window_->redraw_row(r);
}

// A row that goes takes the hover and the selection with it.
void Instance::forget_row(int row) {
  if (row == selected_row) selected_row = -1;
  if (row == hover_row) {
    hover_row = -1;
    hovered_icon = 0;
  }
}

// ---- Groups and items ----

int Instance::add_group(std::string_view name, bool expanded, Colour colour) {
  int h = next_handle();
  if (!h) return 0;
  const Names& a = *names_;
  auto e = document->create_element(element_name(h));
  int row = group_rows_.total();
  e->set_attribute(a.kind, kGroupKind);
  e->set_attribute(a.group_name, name);
  e->set_attribute(a.handle, int_to_text(h));
  e->set_attribute(a.colour, int_to_text(colour));
  e->set_attribute(a.expanded, expanded ? "1" : "0");
  e->set_attribute(a.row, int_to_text(row));
  Node& n = new_node(h, root_->append_child(std::move(e)));
  n.gd = std::make_unique<GroupData>();
  n.gd->expanded = expanded;
  n.slot = static_cast<int>(groups_.size());
  groups_.push_back(&n);
  group_rows_.push_back(1);
  ++live_groups_;
  index(&n, true);
  window_->insert(row, kGroupRowHeight, h);
  return h;
}

bool Instance::add_item(ItemRecord& item, const std::vector<int>& icons, bool with_icons) {
  Node* g = group_node(item.group);
  if (!g || item.avatar.empty()) return false;
  Picture pic = pictures_->load(item.avatar, 0xFFFFFF);
  OwnedBitmap avatar(*pictures_, pic.bitmap);
  if (!avatar) return false;
  OwnedBitmap grey(*pictures_, item.online ? 0 : pictures_->make_grey(avatar));
  int h = next_handle();
  if (!h) return false;
  item.handle = h;

  const Names& a = *names_;
  auto e = document->create_element(element_name(h));
  int count = with_icons ? static_cast<int>(icons.size()) : 0;
  e->set_attribute(a.handle, int_to_text(h));
  e->set_attribute(a.kind, kItemKind);
  e->set_attribute(a.group, int_to_text(g->handle));
  e->set_attribute(a.name, item.name);
  e->set_attribute(a.number, item.number);
  e->set_attribute(a.signature, item.signature);
  e->set_attribute(a.colour, int_to_text(item.name_colour));
  e->set_attribute(a.icon_count, int_to_text(count));
  if (count > 0) e->set_attribute(a.icons, join_icons(icons));
  e->set_attribute(a.remark, item.remark);
  e->set_attribute(a.avatar, int_to_text(avatar));
  e->set_attribute(a.grey, int_to_text(grey));
  e->set_attribute(a.width, int_to_text(pic.width));
  e->set_attribute(a.height, int_to_text(pic.height));
  e->set_attribute(a.online, item.online ? "1" : "0");
  e->set_attribute(a.row, "-1");

  GroupData& gd = *g->gd;
  Node& n = new_node(h, g->element->append_child(std::move(e)));
  n.owner = g;
  n.slot = static_cast<int>(gd.items.size());
  n.avatar = std::move(avatar);
  n.grey = std::move(grey);
  gd.items.push_back({&n, h});
  gd.present.push_back(1);
  ++gd.live;
  index(&n, true);
  if (gd.expanded) {
    int row = row_of(&n);
    set_number(&n, a.row, row);
    window_->insert(row, item_row_height, h);
    group_rows_.add(g->slot, 1);
  }
  return true;
}

void Instance::insert_item_rows(Node* g) {
  GroupData& gd = *g->gd;
  gd.expanded = true;
  set_number(g, names_->expanded, 1);
  int p = row_of(g);
  std::vector<RowSpec> rows;
  rows.reserve(static_cast<std::size_t>(gd.live));
  int r = p + 1;
  for (const Slot& it : gd.items) {
    if (!it.node) continue;
    // A row landing on the selected position is shown enlarged, whatever the view.
    rows.push_back({r == selected_row ? kLargeRowHeight : item_row_height, it.handle});
    ++r;
  }
  window_->insert(p + 1, rows.data(), rows.size());
  group_rows_.add(g->slot, gd.live);
}

void Instance::drop_item_rows(Node* g) {
  GroupData& gd = *g->gd;
  gd.expanded = false;
  set_number(g, names_->expanded, 0);
  window_->erase(row_of(g) + 1, gd.live);
  group_rows_.add(g->slot, -gd.live);
}

void Instance::expand_group(int group) {
  Node* g = group_node(group);
  if (!g || g->gd->expanded) return;
  insert_item_rows(g);
  redraw(g);
}

void Instance::collapse_group(int group) {
  Node* g = group_node(group);
  if (!g || !g->gd->expanded) return;
  drop_item_rows(g);
  redraw(g);
}

void Instance::expand_all() {
  for (Node* g : groups_)
    if (g && !g->gd->expanded) insert_item_rows(g);
  for (Node* g : groups_)
    if (g) redraw(g);
}

void Instance::collapse_all() {
  for (Node* g : groups_)
    if (g && g->gd->expanded) drop_item_rows(g);
  for (Node* g : groups_)
    if (g) redraw(g);
}

// Takes all items of a group away: their rows, elements, bitmaps and index entries.
void Instance::remove_items_of(Node* g) {
  GroupData& gd = *g->gd;
  if (gd.expanded && gd.live > 0) {
    int first = row_of(g) + 1, last = first + gd.live - 1;
    if (selected_row >= first && selected_row <= last) selected_row = -1;
    if (hover_row >= first && hover_row <= last) forget_row(hover_row);
    window_->erase(first, gd.live);
    group_rows_.add(g->slot, -gd.live);
  }
  for (const Slot& s : gd.items) {
    Node* it = s.node;
    if (!it) continue;
    index(it, false);
    g->element->remove_child(it->element);
    free_node(it);
  }
  gd.items.clear();
  gd.present.clear();
  gd.live = 0;
  if (!flashing_.empty()) std::erase_if(flashing_, [&](int h) { return !node(h); });
}

void Instance::delete_group(Node* g) {
  remove_items_of(g);
  int r = row_of(g);
  forget_row(r);
  window_->erase(r, 1);
  group_rows_.add(g->slot, -1);
  index(g, false);
  root_->remove_child(g->element);
  groups_[static_cast<std::size_t>(g->slot)] = nullptr;
  --live_groups_;
  free_node(g);
}

bool Instance::remove(int handle) {
  Node* n = node(handle);
  if (!n) return false;
  if (n->is_group()) {
    // Its item rows go too, so that no row is left naming a removed element.
    delete_group(n);
    compact_groups();
    return true;
  }
  Node* g = n->owner;
  GroupData& gd = *g->gd;
  int r = row_of(n);
  index(n, false);
  g->element->remove_child(n->element);
  std::erase(flashing_, handle);
  gd.items[static_cast<std::size_t>(n->slot)].node = nullptr;
  gd.present.add(n->slot, -1);
  --gd.live;
  if (r >= 0) {
    forget_row(r);
    window_->erase(r, 1);
    group_rows_.add(g->slot, -1);
  }
  free_node(n);
  compact_items(gd);
  return true;
}

bool Instance::remove_group_items(int group) {
  Node* g = group_node(group);
  if (!g) return false;
  remove_items_of(g);
  return true;
}

bool Instance::clear_group_items(int group, bool one_group) {
  if (one_group) return remove_group_items(group);
  for (Node* g : groups_)
    if (g) remove_items_of(g);
  return true;
}

bool Instance::delete_groups(int group, bool one_group) {
  if (one_group) {
    Node* g = group_node(group);
    if (!g) return false;
    delete_group(g);
  } else {
    for (auto it = groups_.rbegin(); it != groups_.rend(); ++it)
      if (*it) delete_group(*it);
  }
  compact_groups();
  return true;
}

// Slots of removed groups and items are reclaimed once they outnumber the live ones.
void Instance::compact_groups() {
  std::size_t dead = groups_.size() - static_cast<std::size_t>(live_groups_);
  if (dead <= 32 || dead <= static_cast<std::size_t>(live_groups_)) return;
  std::vector<Node*> live;
  std::vector<int> sizes;
  for (Node* g : groups_) {
    if (!g) continue;
    g->slot = static_cast<int>(live.size());
    live.push_back(g);
    sizes.push_back(group_size(g));
  }
  groups_ = std::move(live);
  group_rows_.assign(sizes);
}

void Instance::compact_items(GroupData& gd) {
  std::size_t dead = gd.items.size() - static_cast<std::size_t>(gd.live);
  if (dead <= 32 || dead <= static_cast<std::size_t>(gd.live)) return;
  std::vector<Slot> live;
  for (const Slot& s : gd.items) {
    if (!s.node) continue;
    s.node->slot = static_cast<int>(live.size());
    live.push_back(s);
  }
  gd.items = std::move(live);
  gd.present.assign(std::vector<int>(gd.items.size(), 1));
}

// ---- Reading and changing items ----

bool Instance::get_item(int handle, ItemRecord& item, std::vector<int>& icons, bool with_icons) const {
  ElementRecord r;
  if (!read_element(handle, r)) return false;
  item = ItemRecord{};
  item.handle = handle;
  item.name = r.name;
  item.name_colour = r.name_colour;
  if (r.kind != kGroupKind) {
    item.group = r.group;
    item.number = r.number;
    item.online = r.online;
    item.signature = r.signature;
    item.remark = r.remark;
  }
  if (with_icons) icons = r.icons;
  return true;
}

bool Instance::get_selected_item(ItemRecord& item, std::vector<int>& icons, bool with_icons) const {
  int h = handle_at(selected_row);
  if (h < 1) return false;
  return get_item(h, item, icons, with_icons);
}

bool Instance::set_item(const ItemRecord& item) {
  Node* n = item_node(item.handle);
  if (!n) return false;
  ElementRecord r;
  read_element(item.handle, r);
  index(n, false);
  r.name = item.name;
  r.number = item.number;
  r.name_colour = item.name_colour;
  r.online = item.online;
  r.remark = item.remark;
  r.signature = item.signature;
  // An item going offline is drawn grey, so it needs its grey avatar as SetOffline makes it.
  if (!item.online) {
    make_grey_if_missing(n);
    r.grey_avatar = n->grey;
  }
  write_back(n->element, r);
  index(n, true);
  redraw(n);
  return true;
}

int Instance::find_item_by_attribute(std::string_view attribute, std::string_view value) const {
  std::optional<xml::Name> name = document->find_name(attribute);
  if (name && name->id == names_->name.id) return first_in_order(item_names_.chain(value));
  bool row = name && name->id == names_->row.id;
  for (const Node* g : groups_) {
    if (!g) continue;
    for (const Slot& s : g->gd->items) {
      const Node* it = s.node;
      if (!it) continue;
      if (row ? int_to_text(row_of(it)) == value : (name ? text(it, *name) : std::string_view()) == value)
        return it->handle;
    }
  }
  return 0;
}

int Instance::find_group_by_name(std::string_view name) const { return first_in_order(group_names_.chain(name)); }

bool Instance::rename_group(int group, std::string_view name) {
  Node* n = node(group);
  if (!n || !n->is_group()) return false;
  index(n, false);  // the index is keyed by the name it holds now
  n->element->set_attribute(names_->group_name, name);
  index(n, true);
  redraw(n);
  return true;
}

std::string Instance::group_name(int group) const {
  const Node* n = node(group);
  return n ? std::string(text(n, names_->group_name)) : std::string();
}

int Instance::handle_at(int row) const {
  std::intptr_t d = window_->data(row);
  return (d < INT_MIN || d > INT_MAX) ? -1 : static_cast<int>(d);
}

// ---- State, sorting and flashing ----

bool Instance::set_online(int handle, int blink_delay_ms) {
  Node* n = item_node(handle);
  if (!n || number(n, names_->online) == 1) return false;
  set_number(n, names_->online, 1);
  make_grey_if_missing(n);
  int r = row_of(n);
  if (r < 0) return true;
  if (blink_delay_ms > 0) {
    for (int k = 0; k < 4; ++k) {
      set_number(n, names_->online, k % 2 == 0 ? 1 : 0);
      window_->redraw_row(r);
      window_->pause(blink_delay_ms);
      // Messages ran during the pause: the item may be gone or have moved.
      n = item_node(handle);
      if (!n) return true;
      r = row_of(n);
      if (r < 0) break;
    }
    set_number(n, names_->online, 1);
  }
  if (r >= 0) window_->redraw_row(r);
  return true;
}

bool Instance::set_offline(int handle) {
  Node* n = item_node(handle);
  if (!n) return false;
  set_number(n, names_->online, 0);
  make_grey_if_missing(n);
  redraw(n);
  return true;
}

void Instance::sort_group(int group) {
  Node* g = group_node(group);
  if (!g || g->gd->live == 0) return;
  GroupData& gd = *g->gd;
  std::vector<Node*> order;
  order.reserve(static_cast<std::size_t>(gd.live));
  for (const Slot& s : gd.items)
    if (s.node) order.push_back(s.node);
  std::stable_partition(order.begin(), order.end(),
                        [&](const Node* it) { return number(it, names_->online) == 1; });
  int first_row = gd.expanded ? row_of(g) + 1 : -1;
  std::vector<ElementRecord> records(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    read_element(order[k]->handle, records[k]);
    records[k].row = first_row < 0 ? -1 : first_row + static_cast<int>(k);
  }
  // The items come back as new elements, online ones first, each part in its old order.
  for (Node* it : order) g->element->remove_child(it->element);
  for (std::size_t k = 0; k < order.size(); ++k) {
    auto e = document->create_element(element_name(order[k]->handle));
    write_back(e.get(), records[k]);
    order[k]->element = g->element->append_child(std::move(e));
    order[k]->element->set_user_data(order[k]);
    order[k]->slot = static_cast<int>(k);
  }
  gd.items.clear();
  for (Node* it : order) gd.items.push_back({it, it->handle});
  gd.present.assign(std::vector<int>(order.size(), 1));
  if (first_row < 0) return;
  // The rows stay where they are and are given the new order's handles.
  for (std::size_t k = 0; k < order.size(); ++k) {
    int r = first_row + static_cast<int>(k);
    window_->set_data(r, order[k]->handle);
    window_->redraw_row(r);
  }
}

void Instance::sort_all_groups() {
  for (Node* g : groups_)
    if (g) sort_group(g->handle);
}

void Instance::start_flashing(int item) {
  Node* n = item_node(item);
  if (!n || number(n, names_->flashing) != 0) return;
  set_number(n, names_->flashing, 1);
  if (std::find(flashing_.begin(), flashing_.end(), item) == flashing_.end()) flashing_.push_back(item);
  if (!flash_timer_running) {
    flash_timer_running = true;
    window_->start_flash_timer();
  }
}

void Instance::stop_flashing(int item) {
  Node* n = item_node(item);
  if (n && number(n, names_->flashing) != 0) set_number(n, names_->flashing, 0);
}

void Instance::flash_tick(const std::function<void(int row)>& paint) {
  // Indexes, not iterators: painting runs window code, which may start or stop flashing.
  for (std::size_t k = flashing_.size(); k-- > 0;) {
    if (k >= flashing_.size()) continue;
    int handle = flashing_[k];
    Node* n = item_node(handle);
    if (!n) {
      flashing_.erase(flashing_.begin() + static_cast<std::ptrdiff_t>(k));
      continue;
    }
    bool on = number(n, names_->flashing) != 0;
    set_number(n, names_->phase, on && number(n, names_->phase) == 0 ? 1 : 0);
    if (!on) flashing_.erase(flashing_.begin() + static_cast<std::ptrdiff_t>(k));
    int r = row_of(n);
    if (r >= 0) paint(r);
  }
}

// ---- Views, styles, selection ----

void Instance::set_item_row_heights(int height, int skip_row) {
  int r = 0;
  for (const Node* g : groups_) {
    if (!g) continue;
    ++r;
    if (!g->gd->expanded) continue;
    for (int k = 0; k < g->gd->live; ++k, ++r)
      if (r != skip_row) window_->set_height(r, height);
  }
  refresh();
}

void Instance::refresh() { window_->refresh(true); }

void Instance::set_group_row_style(const RowStyle& style) {
  group_style = style;
  refresh();
}

void Instance::set_item_row_style(const RowStyle& style, Colour frame) {
  item_style = style;
  avatar_frame = frame;
  refresh();
}

void Instance::set_service_icon_highlight(Colour fill, Colour frame) {
  icon_hover_fill = fill;
  icon_hover_frame = frame;
  refresh();
}

void Instance::select_item(int item) {
  const Node* n = item_node(item);
  if (!n) return;
  int r = row_of(n);
  if (r < 0 || r == selected_row) return;
  int old = selected_row;
  selected_row = r;
  if (enlarge_selected && (view_mode == 1 || view_mode == 2)) {
    if (old >= 0) {
      const Node* o = node(handle_at(old));
      if (o && !o->is_group()) window_->set_height(old, item_row_height);
    }
    window_->set_height(r, kLargeRowHeight);
    window_->refresh(false);
  } else {
    if (old >= 0) window_->redraw_row(old);
    window_->redraw_row(r);
  }
}

// ---- Service icons and saving ----

int Instance::add_service_icon(std::string_view picture, Colour key) {
  Picture pic = pictures_->load(picture, key);
  OwnedBitmap owned(*pictures_, pic.bitmap);
  if (!owned) return 0;
  std::intptr_t strip = pictures_->extend_strip(icon_strip, icon_count, pic);
  if (!strip) return 0;
  // The service freed the old strip and the picture in making the new strip.
  owned.release();
  icon_strip.release();
  icon_strip = OwnedBitmap(*pictures_, strip);
  icon_keys.push_back(key);
  return ++icon_count;
}

bool Instance::save_to_file(const std::string& path) {
  // Row indexes are derived; the file gets their current values.
  for (Node* g : groups_) {
    if (!g) continue;
    set_number(g, names_->row, row_of(g));
    for (const Slot& s : g->gd->items)
      if (s.node) set_number(s.node, names_->row, row_of(s.node));
  }
  return document->save(path);
}

}  // namespace tb::grouplist
