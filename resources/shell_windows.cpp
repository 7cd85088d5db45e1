#include "resources/shell_windows.h"

namespace tb::res {

using K = Kind;

namespace n = main_names;

namespace {
// The notes page's frame, which holds the help text and the links.
constexpr std::string_view kNotesFrame = "外形框1";
}  // namespace

const WindowDef kMainWindow{
    .name = "主窗口",
    .caption = "Tarvo按键工具箱",
    .w = 267,
    .h = 597,
    .x = 50,
    .y = 50,
    .controls = {
        {.name = n::kSettingsLabel, .kind = K::PictureButton, .x = 164, .y = 5, .w = 26, .h = 17, .text = "设置",
         .style = style::kDrawn},
        {.name = n::kMinimise, .kind = K::PictureButton, .x = 194, .y = 3, .w = 34, .h = 17, .style = style::kDrawn},
        {.name = n::kClose, .kind = K::PictureButton, .x = 226, .y = 3, .w = 35, .h = 17, .style = style::kDrawn},
        {.name = n::kAvatar, .kind = K::PictureButton, .x = 9, .y = 29, .w = 48, .h = 48, .style = style::kDrawn},
        {.name = n::kAuthorLabel, .kind = K::TransparentLabel, .x = 56, .y = 34, .w = 193, .h = 40,
         .text = "论坛ID：Tarvo"},
        {.name = n::kDockTimer, .kind = K::Timer, .x = 224, .y = 32, .w = 0, .h = 0},
        {.name = n::kToolsTabShown, .kind = K::PictureBox, .x = 3, .y = 77, .w = 85, .h = 27, .text = "工具",
         .style = style::kDrawn},
        {.name = n::kRankTabShown, .kind = K::PictureBox, .x = 88, .y = 77, .w = 85, .h = 28, .text = "排行",
         .style = style::kDrawn},
        {.name = n::kNotesTabShown, .kind = K::PictureBox, .x = 173, .y = 77, .w = 84, .h = 28, .text = "说明",
         .style = style::kDrawn},
        {.name = n::kToolsTab, .kind = K::PictureButton, .x = 10, .y = 77, .w = 85, .h = 28, .text = "工具",
         .style = style::kDrawn},
        {.name = n::kRankTab, .kind = K::PictureButton, .x = 87, .y = 77, .w = 85, .h = 28, .text = "排行",
         .style = style::kDrawn},
        {.name = n::kNotesTab, .kind = K::PictureButton, .x = 173, .y = 77, .w = 84, .h = 28, .text = "说明",
         .style = style::kDrawn},
        {.name = n::kPages, .kind = K::Tab, .x = 8, .y = 108, .w = 248, .h = 408, .text = "工具|排行|说明"},
        {.name = n::kLauncherFrame, .kind = K::ShapeBox, .x = 0, .y = 1, .w = 249, .h = 395, .parent = n::kPages,
         .page = 0},
        {.name = "标签2", .kind = K::Label, .x = 16, .y = 16, .w = 216, .h = 68, .parent = n::kPages,
         .text = "呼出热键:CTRL+ALT+W 键\r\n", .page = 1},
        {.name = "标签1", .kind = K::Label, .x = 8, .y = 296, .w = 208, .h = 68, .parent = n::kPages,
         .text = "这里也不知道加点什么好？\r\n教程？精华帖？或者广告位招租？", .page = 1},
        {.name = "外形框2", .kind = K::ShapeBox, .x = -8, .y = 0, .w = 256, .h = 388, .parent = n::kPages, .page = 1,
         .style = style::kDrawn},
        {.name = kNotesFrame, .kind = K::ShapeBox, .x = 0, .y = 0, .w = 248, .h = 388, .parent = n::kPages, .page = 2},
        {.name = "透明标签4", .kind = K::TransparentLabel, .x = 11, .y = 10, .w = 208, .h = 210, .parent = kNotesFrame,
         .text = "1、本版本还没有经过长时间的测试，使用中遇到问题欢迎反馈。\r\n\r\n"
                 "2、界面功能一看就懂，如有不明白的地方，请通过下面的反馈链接询问。\r\n\r\n"
                 "3、有什么好的建议，也请通过反馈链接告诉我。\r\n\r\n"
                 "4、承接各类脚本定制，有需要的朋友请联系作者。",
         .style = style::kDrawn},
        {.name = n::kFeedbackLink, .kind = K::TransparentLabel, .x = 7, .y = 212, .w = 177, .h = 32,
         .parent = kNotesFrame, .text = "BUG问题、建议等反馈链接", .style = style::kDrawn},
        {.name = n::kContactCard, .kind = K::PictureButton, .x = 7, .y = 264, .w = 202, .h = 52, .parent = kNotesFrame,
         .text = "联系作者", .style = style::kDrawn},
        {.name = n::kSearchFrame, .kind = K::PictureBox, .x = 11, .y = 516, .w = 233, .h = 24},
        {.name = n::kSearchBox, .kind = K::Edit, .x = 9, .y = 5, .w = 179, .h = 19, .parent = n::kSearchFrame,
         .text = n::kSearchPlaceholder},
        {.name = n::kRadarButton, .kind = K::PictureButton, .x = 10, .y = 546, .w = 24, .h = 24, .style = style::kDrawn,
         .tip = "窗口雷达", .tip_at = Tip::AtPointer},
        {.name = n::kImageToolButton, .kind = K::PictureButton, .x = 42, .y = 546, .w = 24, .h = 24,
         .style = style::kDrawn, .tip = "图色工具", .tip_at = Tip::Centred},
        {.name = n::kCodeManagerButton, .kind = K::PictureButton, .x = 75, .y = 546, .w = 24, .h = 24,
         .style = style::kDrawn, .tip = "代码管理器", .tip_at = Tip::Centred},
        {.name = n::kNotepadButton, .kind = K::PictureButton, .x = 110, .y = 546, .w = 24, .h = 24,
         .style = style::kDrawn, .tip = "记事本", .tip_at = Tip::Centred},
        {.name = n::kCalculatorButton, .kind = K::PictureButton, .x = 143, .y = 546, .w = 30, .h = 29,
         .style = style::kDrawn, .tip = "计算器", .tip_at = Tip::Centred},
        {.name = n::kPaintButton, .kind = K::PictureButton, .x = 174, .y = 546, .w = 30, .h = 31,
         .style = style::kDrawn, .tip = "画图", .tip_at = Tip::Centred},
    },
};

const WindowDef kNoticeWindow{
    .name = "信息窗口",
    .caption = "",
    .w = 311,
    .h = 189,
    .controls = {
        {.name = notice_names::kTitle, .kind = K::TransparentLabel, .x = 40, .y = 8, .w = 232, .h = 16,
         .text = "Tarvo"},
        {.name = notice_names::kMessage, .kind = K::TransparentLabel, .x = 48, .y = 40, .w = 216, .h = 96,
         .text = "Tarvo"},
        {.name = notice_names::kClose, .kind = K::PictureButton, .x = 274, .y = 4, .w = 35, .h = 17},
        {.name = notice_names::kOk, .kind = K::Button, .x = 120, .y = 139, .w = 64, .h = 30, .text = "确定"},
    },
};

const WindowDef kInputWindow{
    .name = "输入窗口",
    .caption = "",
    .w = 311,
    .h = 189,
    .controls = {
        {.name = input_names::kTitle, .kind = K::TransparentLabel, .x = 40, .y = 8, .w = 32, .h = 16, .text = "Tarvo"},
        {.name = input_names::kPrompt, .kind = K::TransparentLabel, .x = 96, .y = 48, .w = 112, .h = 24,
         .text = "请输入相关内容"},
        {.name = input_names::kBox, .kind = K::Edit, .x = 24, .y = 112, .w = 272, .h = 32},
        {.name = input_names::kOk, .kind = K::Button, .x = 120, .y = 147, .w = 64, .h = 30, .text = "确定"},
        {.name = input_names::kClose, .kind = K::PictureButton, .x = 274, .y = 4, .w = 35, .h = 17},
    },
};

}  // namespace tb::res
