// Control table of the code manager.
#pragma once
#include <string_view>

#include "platform/controls.h"

namespace tb::res {

extern const WindowDef kCodeManagerWindow;

// Stored names of the code manager's controls.
namespace codemanager_names {
inline constexpr std::string_view kLeftTabs = "高级选择夹2";
inline constexpr std::string_view kNameBox = "编辑框1";
inline constexpr std::string_view kRenameButton = "按钮1";
inline constexpr std::string_view kTree = "树型框1";
inline constexpr std::string_view kSearchPicture = "图形按钮6";
inline constexpr std::string_view kSearchBox = "编辑框2";
inline constexpr std::string_view kSearchList = "列表框1";
inline constexpr std::string_view kHelp = "透明标签4";
inline constexpr std::string_view kRightTabs = "高级选择夹1";
inline constexpr std::string_view kReadingView = "超级编辑框1";
inline constexpr std::string_view kCopyReadingButton = "按钮3";
inline constexpr std::string_view kSourceView = "超级编辑框2";
inline constexpr std::string_view kSaveButton = "按钮4";
inline constexpr std::string_view kCopySourceButton = "按钮2";
inline constexpr std::string_view kResourceTitle = "透明标签3";
inline constexpr std::string_view kResourceList = "列表框2";
inline constexpr std::string_view kPreviewTitle = "透明标签1";
inline constexpr std::string_view kPreview = "画板1";
inline constexpr std::string_view kResourceHelp = "透明标签2";
inline constexpr std::string_view kDrop = "拖放对象1";
inline constexpr std::string_view kSettingsButton = "图形按钮7";
inline constexpr std::string_view kMinimise = "图形按钮5";
inline constexpr std::string_view kClose = "图形按钮3";
inline constexpr std::string_view kTreeMenu = "主项目";
inline constexpr std::string_view kResourceMenu = "资源列表";
inline constexpr std::string_view kSettingsMenu = "设置";
inline constexpr std::string_view kAll[] = {
    kLeftTabs,     kNameBox,       kRenameButton,  kTree,        kSearchPicture, kSearchBox,    kSearchList,
    kHelp,         kRightTabs,     kReadingView,   kCopyReadingButton, kSourceView, kSaveButton, kCopySourceButton,
    kResourceTitle, kResourceList, kPreviewTitle,  kPreview,     kResourceHelp,  kDrop,         kSettingsButton,
    kMinimise,     kClose,         kTreeMenu,      kResourceMenu, kSettingsMenu};

// Items of the tree's menu, by their place in it (the separator counts).
enum TreeMenuItem { kAddMain = 0, kDeleteMain = 1, kAddSnippet = 3, kDeleteSnippet = 4 };
enum ResourceMenuItem { kDeleteResource = 0, kExportResource = 1, kExportAll = 2 };
enum SettingsMenuItem { kTopmostOn = 0, kTopmostOff = 1 };
}  // namespace codemanager_names

}  // namespace tb::res
