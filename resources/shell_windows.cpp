#include "resources/shell_windows.h"

namespace tb::res {

using K = Kind;

const WindowDef kMainWindow{
    "主窗口",
    "Tarvo按键工具箱",
    267,
    597,
    50,
    50,
    {
        {"图形按钮6", K::PictureButton, 164, 5, 26, 17, {}, "设置", -1, true, style::kDrawn},
        {"图形按钮3", K::PictureButton, 194, 3, 34, 17, {}, {}, -1, true, style::kDrawn},
        {"图形按钮5", K::PictureButton, 226, 3, 35, 17, {}, {}, -1, true, style::kDrawn},
        {"图形按钮_头像", K::PictureButton, 9, 29, 48, 48, {}, {}, -1, true, style::kDrawn},
        {"透明标签2", K::TransparentLabel, 56, 34, 193, 40, {}, "论坛ID：Tarvo"},
        {"时钟3", K::Timer, 224, 32, 0, 0},
        {"图片框6", K::PictureBox, 3, 77, 85, 27, {}, "工具", -1, true, style::kDrawn},
        {"图片框5", K::PictureBox, 88, 77, 85, 28, {}, "排行", -1, true, style::kDrawn},
        {"图片框7", K::PictureBox, 173, 77, 84, 28, {}, "说明", -1, true, style::kDrawn},
        {"图形按钮13", K::PictureButton, 10, 77, 85, 28, {}, "工具", -1, true, style::kDrawn},
        {"图形按钮14", K::PictureButton, 87, 77, 85, 28, {}, "排行", -1, true, style::kDrawn},
        {"图形按钮15", K::PictureButton, 173, 77, 84, 28, {}, "说明", -1, true, style::kDrawn},
        {"选择夹1", K::Tab, 8, 108, 248, 408, {}, "工具|排行|说明"},
        {"外形框", K::ShapeBox, 0, 1, 249, 395, "选择夹1", {}, 0},
        {"标签2", K::Label, 16, 16, 216, 68, "选择夹1", "呼出热键:CTRL+ALT+W 键\r\n", 1},
        {"标签1", K::Label, 8, 296, 208, 68, "选择夹1",
         "这里也不知道加点什么好？\r\n教程？精华帖？或者广告位招租？", 1},
        {"外形框2", K::ShapeBox, -8, 0, 256, 388, "选择夹1", {}, 1, true, style::kDrawn},
        {"外形框1", K::ShapeBox, 0, 0, 248, 388, "选择夹1", {}, 2},
        {"透明标签4", K::TransparentLabel, 11, 10, 208, 210, "外形框1",
         "1、本版本还没有经过长时间的测试，使用中遇到问题欢迎反馈。\r\n\r\n"
         "2、界面功能一看就懂，如有不明白的地方，请通过下面的反馈链接询问。\r\n\r\n"
         "3、有什么好的建议，也请通过反馈链接告诉我。\r\n\r\n"
         "4、承接各类脚本定制，有需要的朋友请联系作者。", -1, true, style::kDrawn},
        {"透明标签1", K::TransparentLabel, 7, 212, 177, 32, "外形框1", "BUG问题、建议等反馈链接", -1, true, style::kDrawn},
        {"图形按钮2", K::PictureButton, 7, 264, 202, 52, "外形框1", "联系作者", -1, true, style::kDrawn},
        {"图片框1", K::PictureBox, 11, 516, 233, 24},
        {"编辑框1", K::Edit, 9, 5, 179, 19, "图片框1", "按键论坛搜索……"},
        {"图形按钮1", K::PictureButton, 10, 546, 24, 24, {}, {}, -1, true, style::kDrawn, 0, 0, "窗口雷达", Tip::AtPointer},
        {"图形按钮4", K::PictureButton, 42, 546, 24, 24, {}, {}, -1, true, style::kDrawn, 0, 0, "图色工具", Tip::Centred},
        {"图形按钮8", K::PictureButton, 75, 546, 24, 24, {}, {}, -1, true, style::kDrawn, 0, 0, "代码管理器", Tip::Centred},
        {"图形按钮_记事本", K::PictureButton, 110, 546, 24, 24, {}, {}, -1, true, style::kDrawn, 0, 0, "记事本", Tip::Centred},
        {"图形按钮_计算器", K::PictureButton, 143, 546, 30, 29, {}, {}, -1, true, style::kDrawn, 0, 0, "计算器", Tip::Centred},
        {"图形按钮_画图", K::PictureButton, 174, 546, 30, 31, {}, {}, -1, true, style::kDrawn, 0, 0, "画图", Tip::Centred},
    },
};

const WindowDef kNoticeWindow{
    "信息窗口",
    "",
    311,
    189,
    -1,
    -1,
    {
        {"透明标签1", K::TransparentLabel, 40, 8, 232, 16, {}, "Tarvo"},
        {"透明标签2", K::TransparentLabel, 48, 40, 216, 96, {}, "Tarvo"},
        {"图形按钮3", K::PictureButton, 274, 4, 35, 17},
        {"按钮1", K::Button, 120, 139, 64, 30, {}, "确定"},
    },
};

const WindowDef kInputWindow{
    "输入窗口",
    "",
    311,
    189,
    -1,
    -1,
    {
        {"透明标签1", K::TransparentLabel, 40, 8, 32, 16, {}, "Tarvo"},
        {"透明标签2", K::TransparentLabel, 96, 48, 112, 24, {}, "请输入相关内容"},
        {"编辑框1", K::Edit, 24, 112, 272, 32},
        {"按钮1", K::Button, 120, 147, 64, 30, {}, "确定"},
        {"图形按钮3", K::PictureButton, 274, 4, 35, 17},
    },
};

}  // namespace tb::res
