// Control tables of the launcher's small windows: the menu popup, the group name popup and
// the item dialog.
#pragma once
#include <string_view>

#include "platform/controls.h"

namespace tb::res {

extern const WindowDef kLauncherMenu;
extern const WindowDef kGroupNamePopup;
extern const WindowDef kItemDialog;

// Stored names of the menu popup's controls.
namespace menu_names {
inline constexpr std::string_view kAddGroup = "图形按钮2";
inline constexpr std::string_view kDeleteGroup = "图形按钮3";
inline constexpr std::string_view kRenameGroup = "图形按钮4";
inline constexpr std::string_view kAddItem = "图形按钮1";
inline constexpr std::string_view kDeleteItem = "图形按钮10";
inline constexpr std::string_view kStartWithWindows = "图形按钮8";
inline constexpr std::string_view kNoStartWithWindows = "图形按钮9";
inline constexpr std::string_view kTopmost = "图形按钮5";
inline constexpr std::string_view kNotTopmost = "图形按钮6";
inline constexpr std::string_view kDone = "图形按钮7";
inline constexpr std::string_view kHoverTimer = "时钟1";
inline constexpr std::string_view kAll[] = {kAddGroup,  kDeleteGroup, kRenameGroup, kAddItem,    kDeleteItem, kStartWithWindows,
                                            kNoStartWithWindows, kTopmost, kNotTopmost, kDone, kHoverTimer};
}  // namespace menu_names

// Stored names of the group name popup's controls.
namespace group_popup_names {
inline constexpr std::string_view kName = "编辑框1";
inline constexpr std::string_view kButton = "按钮1";
inline constexpr std::string_view kAll[] = {kName, kButton};
}  // namespace group_popup_names

// Stored names of the item dialog's controls.
namespace item_dialog_names {
inline constexpr std::string_view kPathLabel = "透明标签2";
inline constexpr std::string_view kPath = "项目路径框";
inline constexpr std::string_view kBrowse = "浏览按钮";
inline constexpr std::string_view kNameLabel = "透明标签1";
inline constexpr std::string_view kName = "项目名称框";
inline constexpr std::string_view kNoteLabel = "透明标签3";
inline constexpr std::string_view kNote = "项目说明框";
inline constexpr std::string_view kButton = "按钮1";
inline constexpr std::string_view kAll[] = {kPathLabel, kPath, kBrowse, kNameLabel, kName, kNoteLabel, kNote, kButton};
}  // namespace item_dialog_names

}  // namespace tb::res
