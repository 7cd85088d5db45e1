// QQ列表框: the grouped list control. Groups and items live in one XML document per control;
// the display rows mirror them, one row per visible element. The control object below
// carries the method table; every operation finds its instance record by list window.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/grouplist/host.h"

namespace tb::grouplist {

constexpr Colour kNoColour = 0xFFFFFFFF;  // -1: no fill or frame for the hovered service icon

constexpr int kGroupRowHeight = 24;
constexpr int kLargeRowHeight = 54;
constexpr int kMediumRowHeight = 30;
constexpr int kSmallRowHeight = 20;

// An element's kind, as its record and the document name it.
constexpr std::string_view kGroupKind = "分组";
constexpr std::string_view kItemKind = "项目";

// The record the owner passes and receives items in.
struct ItemRecord {
  int handle = 0;
  int group = 0;
  std::string avatar;  // image file bytes, read by AddItem only
  std::string name;
  std::string number;
  Colour name_colour = 0;
  bool online = false;
  std::string signature;
  std::string remark;
};

// Everything known about a group or an item, as drawing reads it.
struct ElementRecord {
  int handle = 0;
  std::string kind;  // kGroupKind or kItemKind
  int group = 0;
  std::string avatar_bytes;  // only while adding; never kept
  std::intptr_t avatar = 0;
  std::intptr_t grey_avatar = 0;
  std::string name;  // the group name for a group
  std::string number;
  Colour name_colour = 0;
  bool online = false;
  std::string signature;
  bool expanded = false;
  std::vector<int> icons;
  int icon_count = 0;
  std::string remark;
  bool flashing = false;
  int flash_phase = 0;
  int avatar_width = 0;
  int avatar_height = 0;
  int row = -1;
};

// Each handler gets three 32-bit integers; an empty one is not called.
using EventHandler = std::function<void(std::int32_t, std::int32_t, std::int32_t)>;
struct EventHandlers {
  EventHandler item_clicked;
  EventHandler item_double_clicked;
  EventHandler item_right_clicked;
  EventHandler row_entered;
  EventHandler row_left;
  EventHandler group_clicked;
  EventHandler group_double_clicked;
  EventHandler group_right_clicked;
  EventHandler service_icon_clicked;
  // The right button below the last row, or on an empty list: 0, x, y.
  EventHandler blank_right_clicked;
};

struct RowStyle {
  int shape = 0;  // 1 box, anything else rounded
  Colour normal_frame = 0xFFFFFF;
  Colour normal_fill = 0xFFFFFF;
  Colour hover_frame = 0xFFDEA6;
  Colour hover_fill = 0xFFF0DC;
  Colour selected_frame = 0x26C8FD;
  Colour selected_fill = 0xA9E7FF;
};

class Instance;

class GroupList {
 public:
  explicit GroupList(ListHost& host) : host_(&host) {}

  std::intptr_t list_window() const { return list_; }
  std::intptr_t parent_window() const { return parent_; }

  // view: 1 medium, 2 small, anything else large. border: 0 none, 1 sunken, 2 thin.
  bool Create(std::intptr_t parent, int border, int view, bool enlarge_selected,
              Colour background = 0xFFFFFF);
  void SetEventHandlers(EventHandlers handlers);
  int AddServiceIcon(std::string_view picture, Colour key_colour = 0xFF00FF);
  bool GetItem(int handle, ItemRecord& item, std::vector<int>& icons, bool with_icons) const;
  bool SetItem(const ItemRecord& item);
  bool GetSelectedItem(ItemRecord& item, std::vector<int>& icons, bool with_icons) const;
  int FindItemByNumber(std::string_view number) const;
  int FindItemByName(std::string_view name) const;
  int FindItemByRemark(std::string_view remark) const;
  int FindItemByAttribute(std::string_view attribute, std::string_view value) const;
  bool AddItem(ItemRecord& item, const std::vector<int>& icons, bool with_icons);
  // Left out, a group starts collapsed with a black name.
  int AddGroup(std::string_view name, bool expanded = false, Colour name_colour = 0);
  void ExpandGroup(int group);
  void CollapseGroup(int group);
  void ExpandAll();
  void CollapseAll();
  bool Remove(int handle);
  int FindGroupByName(std::string_view name) const;
  std::string GetGroupName(int group) const;
  // False for a handle that is no group; two groups may share a name, as AddGroup allows.
  bool RenameGroup(int group, std::string_view name);
  bool ClearGroupItems(int group, bool one_group);
  bool DeleteGroups(int group, bool one_group);
  // Serves the operations above; row indexes are derived, so renumber changes nothing.
  bool RemoveGroupItems(int group, bool renumber);
  void Refresh();
  int NewHandle();
  // False when the file could not be written; nothing half-written is left behind.
  bool SaveToFile(const std::string& path);
  bool SetOnline(int handle, int blink_delay_ms);
  bool SetOffline(int handle);
  void SortAllGroups();
  void SortGroup(int group);
  void StartFlashing(int item);
  void StopFlashing(int item);
  void SetLargeView();
  void SetMediumView(bool enlarge_selected);
  void SetGroupRowStyle(int shape = 0, std::optional<Colour> normal_frame = {},
                        std::optional<Colour> normal_fill = {}, std::optional<Colour> hover_frame = {},
                        std::optional<Colour> hover_fill = {}, std::optional<Colour> selected_frame = {},
                        std::optional<Colour> selected_fill = {});
  void SetItemRowStyle(int shape = 0, std::optional<Colour> normal_frame = {},
                       std::optional<Colour> normal_fill = {}, std::optional<Colour> hover_frame = {},
                       std::optional<Colour> hover_fill = {}, std::optional<Colour> selected_frame = {},
                       std::optional<Colour> selected_fill = {}, std::optional<Colour> avatar_frame = {});
  void SetServiceIconHighlight(std::optional<Colour> fill = {}, std::optional<Colour> frame = {});
  void SetSmallView(bool enlarge_selected);
  void SetItemRowHeights(int height, int skip_row);
  void SelectItem(int item);
  int GetHandleAt(int row) const;

  // For the row painter and the message handlers.
  bool ReadElement(int handle, ElementRecord& element) const;
  Instance* instance() const;

 private:
  ListHost* host_;
  std::intptr_t list_ = 0;
  std::intptr_t parent_ = 0;
};

// The instance of a list window (the newest, should a dead window's handle come back);
// nullptr if none.
Instance* find_instance(std::intptr_t list_window);

}  // namespace tb::grouplist
