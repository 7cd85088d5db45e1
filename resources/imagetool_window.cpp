#include "resources/imagetool_window.h"

namespace tb::res {

using K = Kind;

// The page's frame 外形框7 covers the whole page at (0, 0); the controls that sit on the page
// beside it are its children at the same places, so the frame never hides them.
namespace {
constexpr std::string_view kTabs = "选择夹1";
constexpr std::string_view kSlots = "外形框2";
constexpr std::string_view kWork = "外形框7";
constexpr std::string_view kGroup = "分组框2";
}  // namespace

const WindowDef kImageToolWindow{
    "图色工具",
    "Tarvo图色工具",
    709,
    431,
    -1,
    -1,
    {
        {"图形按钮3", K::PictureButton, 8, 32, 104, 32, {}, "采集"},
        {"图形按钮1", K::PictureButton, 8, 72, 104, 32, {}, "处理"},
        {"透明标签5", K::TransparentLabel, 168, 32, 36, 16, {}, "标题:"},
        {"编辑框2", K::Edit, 204, 31, 292, 25},
        {"画板1", K::DrawingPanel, 115, 37, 46, 40},
        {"透明标签4", K::TransparentLabel, 168, 64, 36, 16, {}, "句柄:"},
        {"编辑框_句柄", K::Edit, 205, 59, 88, 25},
        {"按钮1", K::Button, 297, 57, 65, 32, {}, "绑定"},
        {"透明标签6", K::TransparentLabel, 367, 61, 144, 35, {}, "绑定后获得的坐标为窗口坐标,绑定前为桌面坐标"},
        {"图形按钮7", K::PictureButton, 607, 5, 26, 17, {}, "置顶"},
        {"图形按钮5", K::PictureButton, 637, 3, 34, 17},
        {"图形按钮2", K::PictureButton, 669, 3, 35, 17},
        {"置顶", K::PopupMenu, 0, 0, 0, 0, {}, "窗口置顶|取消置顶"},
        {"选择夹1", K::Tab, 8, 104, 504, 288, {}, "采集|处理"},
        {"外形框2", K::ShapeBox, 0, 0, 256, 280, kTabs, {}, 0},
        {"透明标签9", K::TransparentLabel, 8, 8, 40, 16, kSlots, "内容"},
        {"透明标签8", K::TransparentLabel, 124, 8, 40, 16, kSlots, "颜色"},
        {"透明标签7", K::TransparentLabel, 200, 8, 40, 16, kSlots, "热键"},
        {"编辑框_颜色1", K::Edit, 5, 25, 110, 25, kSlots},
        {"外形框_颜色1", K::ShapeBox, 120, 29, 37, 18, kSlots},
        {"透明标签2", K::TransparentLabel, 168, 30, 80, 16, kSlots, "Ctrl+Alt+ 1"},
        {"编辑框_颜色2", K::Edit, 5, 60, 110, 25, kSlots},
        {"外形框_颜色2", K::ShapeBox, 120, 64, 37, 18, kSlots},
        {"透明标签10", K::TransparentLabel, 168, 65, 80, 16, kSlots, "Ctrl+Alt+ 2"},
        {"编辑框_颜色3", K::Edit, 5, 95, 110, 25, kSlots},
        {"外形框_颜色3", K::ShapeBox, 120, 99, 37, 18, kSlots},
        {"透明标签11", K::TransparentLabel, 168, 100, 80, 16, kSlots, "Ctrl+Alt+ 3"},
        {"编辑框_颜色4", K::Edit, 5, 130, 110, 25, kSlots},
        {"外形框_颜色4", K::ShapeBox, 120, 134, 37, 18, kSlots},
        {"透明标签12", K::TransparentLabel, 168, 135, 80, 16, kSlots, "Ctrl+Alt+ 4"},
        {"编辑框_颜色5", K::Edit, 5, 165, 110, 25, kSlots},
        {"外形框_颜色5", K::ShapeBox, 120, 169, 37, 18, kSlots},
        {"透明标签13", K::TransparentLabel, 168, 170, 80, 16, kSlots, "Ctrl+Alt+ 5"},
        {"编辑框_颜色6", K::Edit, 5, 200, 110, 25, kSlots},
        {"外形框_颜色6", K::ShapeBox, 120, 204, 37, 18, kSlots},
        {"透明标签14", K::TransparentLabel, 168, 205, 80, 16, kSlots, "Ctrl+Alt+ 6"},
        {"编辑框_颜色7", K::Edit, 5, 235, 110, 25, kSlots},
        {"外形框_颜色7", K::ShapeBox, 120, 239, 37, 18, kSlots},
        {"透明标签15", K::TransparentLabel, 168, 240, 80, 16, kSlots, "Ctrl+Alt+ 7"},
        {"外形框7", K::ShapeBox, 0, 0, 504, 280, kTabs, {}, 1},
        {"外形框6", K::ShapeBox, 0, 0, 416, 200, kWork},
        {"画板2", K::DrawingPanel, 4, 3, 76, 45, "外形框6"},
        {"选择框1", K::CheckBox, 419, 7, 84, 33, kWork, "使用QQ截图\n  不失真", -1, true, style::kButtonMultiline},
        {"按钮2", K::Button, 424, 42, 72, 32, kWork, "截图"},
        {"按钮3", K::Button, 424, 93, 72, 32, kWork, "载入"},
        {"按钮4", K::Button, 423, 149, 74, 32, kWork, "导出"},
        {"按钮6", K::Button, 418, 209, 80, 38, kWork, "找图 测试"},
        {"透明标签23", K::TransparentLabel, 8, 208, 46, 16, kWork, "保留色"},
        {"编辑框_保留色", K::Edit, 57, 202, 83, 25, kWork},
        {"透明标签24", K::TransparentLabel, 9, 237, 46, 16, kWork, "背景色"},
        {"编辑框_背景色", K::Edit, 57, 232, 83, 25, kWork},
        {"外形框_颜色9", K::ShapeBox, 152, 208, 48, 18, kWork},
        {"外形框_颜色10", K::ShapeBox, 152, 234, 47, 18, kWork},
        {"透明标签26", K::TransparentLabel, 225, 206, 83, 16, kWork, "Ctrl+Alt+ 1"},
        {"透明标签27", K::TransparentLabel, 224, 238, 83, 16, kWork, "Ctrl+Alt+ 2"},
        {"按钮_颜色分离", K::Button, 308, 209, 96, 39, kWork, "颜色分离"},
        {"透明标签25", K::TransparentLabel, 10, 261, 374, 15, kWork, "颜色分离：把不等于保留色的颜色变为背景色，用于按键或插件找图"},
        {"分组框2", K::GroupBox, 513, 30, 192, 368},
        {"图片框1", K::PictureBox, 5, 17, 180, 160, kGroup, {}, -1, true, style::kClipChildren},
        {"外形框1", K::ShapeBox, 73, 65, 9, 9, "图片框1"},
        {"时钟1", K::Timer, 129, 82, 0, 0, "图片框1"},
        {"透明标签22", K::TransparentLabel, 31, 184, 67, 16, kGroup, "当前坐标:"},
        {"编辑框_坐标", K::Edit, 99, 180, 83, 25, kGroup, {}, -1, true, style::kLiveBox},
        {"透明标签16", K::TransparentLabel, 31, 215, 67, 16, kGroup, "颜色效果:"},
        {"外形框_颜色8", K::ShapeBox, 98, 210, 84, 24, kGroup},
        {"透明标签17", K::TransparentLabel, 17, 245, 83, 16, kGroup, "颜色16进制："},
        {"编辑框_颜色16进制", K::Edit, 100, 239, 83, 25, kGroup, {}, -1, true, style::kLiveBox},
        {"透明标签18", K::TransparentLabel, 17, 273, 83, 16, kGroup, "颜色10进制："},
        {"编辑框_颜色10进制", K::Edit, 100, 268, 83, 25, kGroup, {}, -1, true, style::kLiveBox},
        {"透明标签19", K::TransparentLabel, 8, 297, 17, 16, kGroup, "R:"},
        {"编辑框_R", K::Edit, 25, 295, 40, 20, kGroup, {}, -1, true, style::kLiveBox},
        {"透明标签20", K::TransparentLabel, 8, 318, 17, 16, kGroup, "G:"},
        {"编辑框_G", K::Edit, 25, 318, 40, 20, kGroup, {}, -1, true, style::kLiveBox},
        {"透明标签21", K::TransparentLabel, 8, 340, 17, 16, kGroup, "B:"},
        {"编辑框_B", K::Edit, 25, 341, 40, 20, kGroup, {}, -1, true, style::kLiveBox},
        {"透明标签3", K::TransparentLabel, 72, 298, 103, 56, kGroup, "上下左右方向键,也可以移动鼠标"},
    },
};

}  // namespace tb::res
