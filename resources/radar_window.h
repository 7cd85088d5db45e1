// Control table of the window radar.
#pragma once
#include <string_view>

#include "platform/controls.h"

namespace tb::res {

extern const WindowDef kRadarWindow;

// Stored names of the radar's controls.
namespace radar_names {
inline constexpr std::string_view kMinimise = "图形按钮3";
inline constexpr std::string_view kClose = "图形按钮5";
inline constexpr std::string_view kTip = "透明标签1";
inline constexpr std::string_view kFrame = "外形框1";
inline constexpr std::string_view kPanel = "画板1";
inline constexpr std::string_view kHandleBox = "编辑框2";
inline constexpr std::string_view kClassBox = "编辑框3";
inline constexpr std::string_view kRectBox = "编辑框坐标";
inline constexpr std::string_view kLeftBox = "编辑框6";
inline constexpr std::string_view kTopBox = "编辑框10";
inline constexpr std::string_view kWidthBox = "编辑框8";
inline constexpr std::string_view kHeightBox = "编辑框9";
inline constexpr std::string_view kMoveButton = "按钮2";
inline constexpr std::string_view kPidBox = "编辑框4";
inline constexpr std::string_view kProcessNameBox = "编辑框7";
inline constexpr std::string_view kTitleBox = "编辑框1";
inline constexpr std::string_view kTitleButton = "按钮1";
inline constexpr std::string_view kPathBox = "编辑框5";
inline constexpr std::string_view kFolderButton = "按钮4";
inline constexpr std::string_view kTopmost = "单选框1";
inline constexpr std::string_view kNotTopmost = "单选框2";
inline constexpr std::string_view kShow = "单选框4";
inline constexpr std::string_view kHide = "单选框3";
inline constexpr std::string_view kOpacity = "横向滚动条1";
inline constexpr std::string_view kTipTimer = "时钟1";
inline constexpr std::string_view kAll[] = {kMinimise, kClose, kTip, kFrame, kPanel, kHandleBox, kClassBox, kRectBox, kLeftBox, kTopBox, kWidthBox, kHeightBox, kMoveButton, kPidBox, kProcessNameBox, kTitleBox, kTitleButton, kPathBox, kFolderButton, kTopmost, kNotTopmost, kShow, kHide, kOpacity, kTipTimer};
}  // namespace radar_names

}  // namespace tb::res
