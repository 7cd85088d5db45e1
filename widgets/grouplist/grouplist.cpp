#include "widgets/grouplist/grouplist.h"

#include <memory>
#include <vector>

#include "widgets/grouplist/instance.h"

namespace tb::grouplist {

namespace {

// One record per successful Create, kept until the process ends. The table itself is never
// destroyed: a record frees its bitmaps through its host's picture service, which need not
// outlive static destruction (the system frees the handles at exit anyway).
std::vector<std::unique_ptr<Instance>>& instances() {
  static auto* table = new std::vector<std::unique_ptr<Instance>>;
  return *table;
}

}  // namespace

const std::vector<std::unique_ptr<Instance>>& all_instances() { return instances(); }

// Newest first: a list window handle reused after its window died names the new instance.
Instance* find_instance(std::intptr_t list_window) {
  if (!list_window) return nullptr;
  auto& t = instances();
  for (auto it = t.rbegin(); it != t.rend(); ++it)
    if ((*it)->list_window == list_window) return it->get();
  return nullptr;
}

Instance* GroupList::instance() const { return find_instance(list_); }

bool GroupList::Create(std::intptr_t parent, int border, int view, bool enlarge_selected, Colour background) {
  if (list_ && host_->is_window(list_)) return false;
  if (!host_->is_window(parent)) return false;
  parent_ = parent;
  std::unique_ptr<ListWindow> window = host_->create_list(parent, border);
  if (!window) return false;
  start_handle_counter();
  list_ = window->handle();
  auto in = std::make_unique<Instance>(std::move(window), host_->pictures(), parent, view, enlarge_selected,
                                       background);
  instances().push_back(std::move(in));
  SetItemRowStyle();
  SetGroupRowStyle();
  SetServiceIconHighlight();
  return true;
}

void GroupList::SetEventHandlers(EventHandlers handlers) {
  if (Instance* in = instance()) in->handlers = std::move(handlers);
}

int GroupList::AddServiceIcon(std::string_view picture, Colour key_colour) {
  Instance* in = instance();
  return in ? in->add_service_icon(picture, key_colour) : 0;
}

bool GroupList::GetItem(int handle, ItemRecord& item, std::vector<int>& icons, bool with_icons) const {
  Instance* in = instance();
  return in && in->get_item(handle, item, icons, with_icons);
}

bool GroupList::SetItem(const ItemRecord& item) {
  Instance* in = instance();
  return in && in->set_item(item);
}

bool GroupList::GetSelectedItem(ItemRecord& item, std::vector<int>& icons, bool with_icons) const {
  Instance* in = instance();
  return in && in->get_selected_item(item, icons, with_icons);
}

int GroupList::FindItemByNumber(std::string_view number) const { return FindItemByAttribute("QQ号码", number); }
int GroupList::FindItemByName(std::string_view name) const { return FindItemByAttribute("QQ名称", name); }
int GroupList::FindItemByRemark(std::string_view remark) const { return FindItemByAttribute("备注信息", remark); }

int GroupList::FindItemByAttribute(std::string_view attribute, std::string_view value) const {
  Instance* in = instance();
  return in ? in->find_item_by_attribute(attribute, value) : 0;
}

bool GroupList::AddItem(ItemRecord& item, const std::vector<int>& icons, bool with_icons) {
  Instance* in = instance();
  return in && in->add_item(item, icons, with_icons);
}

int GroupList::AddGroup(std::string_view name, bool expanded, Colour name_colour) {
  Instance* in = instance();
  return in ? in->add_group(name, expanded, name_colour) : 0;
}

void GroupList::ExpandGroup(int group) {
  if (Instance* in = instance()) in->expand_group(group);
}

void GroupList::CollapseGroup(int group) {
  if (Instance* in = instance()) in->collapse_group(group);
}

void GroupList::ExpandAll() {
  if (Instance* in = instance()) in->expand_all();
}

void GroupList::CollapseAll() {
  if (Instance* in = instance()) in->collapse_all();
}

bool GroupList::Remove(int handle) {
  Instance* in = instance();
  return in && in->remove(handle);
}

int GroupList::FindGroupByName(std::string_view name) const {
  Instance* in = instance();
  return in ? in->find_group_by_name(name) : 0;
}

std::string GroupList::GetGroupName(int group) const {
  Instance* in = instance();
  return in ? in->group_name(group) : std::string();
}

bool GroupList::RenameGroup(int group, std::string_view name) {
  Instance* in = instance();
  return in && in->rename_group(group, name);
}

bool GroupList::ClearGroupItems(int group, bool one_group) {
  Instance* in = instance();
  return in && in->clear_group_items(group, one_group);
}

bool GroupList::DeleteGroups(int group, bool one_group) {
  Instance* in = instance();
  return in && in->delete_groups(group, one_group);
}

bool GroupList::RemoveGroupItems(int group, bool) {
  Instance* in = instance();
  return in && in->remove_group_items(group);
}

void GroupList::Refresh() {
  if (Instance* in = instance()) in->refresh();
}

int GroupList::NewHandle() { return instance() ? next_handle() : 0; }

bool GroupList::SaveToFile(const std::string& path) {
  Instance* in = instance();
  return in && in->save_to_file(path);
}

bool GroupList::SetOnline(int handle, int blink_delay_ms) {
  Instance* in = instance();
  return in && in->set_online(handle, blink_delay_ms);
}

bool GroupList::SetOffline(int handle) {
  Instance* in = instance();
  return in && in->set_offline(handle);
}

void GroupList::SortAllGroups() {
  if (Instance* in = instance()) in->sort_all_groups();
}

void GroupList::SortGroup(int group) {
  if (Instance* in = instance()) in->sort_group(group);
}

void GroupList::StartFlashing(int item) {
  if (Instance* in = instance()) in->start_flashing(item);
}

void GroupList::StopFlashing(int item) {
  if (Instance* in = instance()) in->stop_flashing(item);
}

void GroupList::SetLargeView() {
  Instance* in = instance();
  if (!in) return;
  in->item_row_height = kLargeRowHeight;
  in->view_mode = 0;
  in->set_item_row_heights(kLargeRowHeight, -1);
}

void GroupList::SetMediumView(bool enlarge_selected) {
  Instance* in = instance();
  if (!in) return;
  in->item_row_height = kMediumRowHeight;
  in->view_mode = 1;
  in->enlarge_selected = enlarge_selected;
  in->set_item_row_heights(kMediumRowHeight, enlarge_selected ? in->selected_row : -1);
}

void GroupList::SetSmallView(bool enlarge_selected) {
  Instance* in = instance();
  if (!in) return;
  in->item_row_height = kSmallRowHeight;
  in->view_mode = 2;
  in->enlarge_selected = enlarge_selected;
  in->set_item_row_heights(kSmallRowHeight, enlarge_selected ? in->selected_row : -1);
}

namespace {

// Colours not given take their defaults; the normal ones follow the current background.
RowStyle make_style(Colour background, int shape, std::optional<Colour> nf, std::optional<Colour> nfill,
                    std::optional<Colour> hf, std::optional<Colour> hfill, std::optional<Colour> sf,
                    std::optional<Colour> sfill) {
  RowStyle d;
  RowStyle s;
  s.shape = shape;
  s.normal_frame = nf.value_or(background);
  s.normal_fill = nfill.value_or(background);
  s.hover_frame = hf.value_or(d.hover_frame);
  s.hover_fill = hfill.value_or(d.hover_fill);
  s.selected_frame = sf.value_or(d.selected_frame);
  s.selected_fill = sfill.value_or(d.selected_fill);
  return s;
}

}  // namespace

void GroupList::SetGroupRowStyle(int shape, std::optional<Colour> normal_frame, std::optional<Colour> normal_fill,
                                 std::optional<Colour> hover_frame, std::optional<Colour> hover_fill,
                                 std::optional<Colour> selected_frame, std::optional<Colour> selected_fill) {
  Instance* in = instance();
  if (!in) return;
  in->set_group_row_style(make_style(in->background, shape, normal_frame, normal_fill, hover_frame, hover_fill,
                                     selected_frame, selected_fill));
}

void GroupList::SetItemRowStyle(int shape, std::optional<Colour> normal_frame, std::optional<Colour> normal_fill,
                                std::optional<Colour> hover_frame, std::optional<Colour> hover_fill,
                                std::optional<Colour> selected_frame, std::optional<Colour> selected_fill,
                                std::optional<Colour> avatar_frame) {
  Instance* in = instance();
  if (!in) return;
  in->set_item_row_style(make_style(in->background, shape, normal_frame, normal_fill, hover_frame, hover_fill,
                                    selected_frame, selected_fill),
                         avatar_frame.value_or(0xE9E3D7));
}

void GroupList::SetServiceIconHighlight(std::optional<Colour> fill, std::optional<Colour> frame) {
  if (Instance* in = instance()) in->set_service_icon_highlight(fill.value_or(0xBEE8FC), frame.value_or(0x438ACE));
}

void GroupList::SetItemRowHeights(int height, int skip_row) {
  if (Instance* in = instance()) in->set_item_row_heights(height, skip_row);
}

void GroupList::SelectItem(int item) {
  if (Instance* in = instance()) in->select_item(item);
}

int GroupList::GetHandleAt(int row) const {
  Instance* in = instance();
  return in ? in->handle_at(row) : 0;
}

bool GroupList::ReadElement(int handle, ElementRecord& element) const {
  Instance* in = instance();
  return in && in->read_element(handle, element);
}

}  // namespace tb::grouplist
