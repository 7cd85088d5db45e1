// Control tables of the shell's windows.
#pragma once
#include <string_view>

#include "platform/controls.h"

namespace tb::res {

extern const WindowDef kMainWindow;
extern const WindowDef kNoticeWindow;
extern const WindowDef kInputWindow;

// Stored names of the main window's controls.
namespace main_names {
inline constexpr std::string_view kSettingsLabel = "图形按钮6";
inline constexpr std::string_view kMinimise = "图形按钮3";
inline constexpr std::string_view kClose = "图形按钮5";
inline constexpr std::string_view kAvatar = "图形按钮_头像";
inline constexpr std::string_view kAuthorLabel = "透明标签2";
inline constexpr std::string_view kFeedbackLink = "透明标签1";
inline constexpr std::string_view kDockTimer = "时钟3";
inline constexpr std::string_view kToolsTabShown = "图片框6";
inline constexpr std::string_view kRankTabShown = "图片框5";
inline constexpr std::string_view kNotesTabShown = "图片框7";
inline constexpr std::string_view kToolsTab = "图形按钮13";
inline constexpr std::string_view kRankTab = "图形按钮14";
inline constexpr std::string_view kNotesTab = "图形按钮15";
inline constexpr std::string_view kPages = "选择夹1";
inline constexpr std::string_view kLauncherFrame = "外形框";
inline constexpr std::string_view kContactCard = "图形按钮2";
inline constexpr std::string_view kSearchFrame = "图片框1";
inline constexpr std::string_view kSearchBox = "编辑框1";
inline constexpr std::string_view kRadarButton = "图形按钮1";
inline constexpr std::string_view kImageToolButton = "图形按钮4";
inline constexpr std::string_view kCodeManagerButton = "图形按钮8";
inline constexpr std::string_view kNotepadButton = "图形按钮_记事本";
inline constexpr std::string_view kCalculatorButton = "图形按钮_计算器";
inline constexpr std::string_view kPaintButton = "图形按钮_画图";
inline constexpr std::string_view kAll[] = {kSettingsLabel, kMinimise, kClose, kAvatar, kAuthorLabel, kFeedbackLink, kDockTimer, kToolsTabShown, kRankTabShown, kNotesTabShown, kToolsTab, kRankTab, kNotesTab, kPages, kLauncherFrame, kContactCard, kSearchFrame, kSearchBox, kRadarButton, kImageToolButton, kCodeManagerButton, kNotepadButton, kCalculatorButton, kPaintButton};
inline constexpr std::string_view kSearchPlaceholder = "按键论坛搜索……";  // the box's first text
}  // namespace main_names

// Stored names of the notice window's controls.
namespace notice_names {
inline constexpr std::string_view kTitle = "透明标签1";
inline constexpr std::string_view kMessage = "透明标签2";
inline constexpr std::string_view kClose = "图形按钮3";
inline constexpr std::string_view kOk = "按钮1";
inline constexpr std::string_view kAll[] = {kTitle, kMessage, kClose, kOk};
}  // namespace notice_names

// Stored names of the input window's controls.
namespace input_names {
inline constexpr std::string_view kTitle = "透明标签1";
inline constexpr std::string_view kPrompt = "透明标签2";
inline constexpr std::string_view kBox = "编辑框1";
inline constexpr std::string_view kOk = "按钮1";
inline constexpr std::string_view kClose = "图形按钮3";
inline constexpr std::string_view kAll[] = {kTitle, kPrompt, kBox, kOk, kClose};
}  // namespace input_names

}  // namespace tb::res
