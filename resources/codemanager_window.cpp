#include "resources/codemanager_window.h"

namespace tb::res {

using K = Kind;

namespace {
constexpr std::string_view kLeft = "高级选择夹2";
constexpr std::string_view kRight = "高级选择夹1";
}  // namespace

const WindowDef kCodeManagerWindow{
    "代码管理器",
    "Tarvo代码管理器",
    805,
    526,
    -1,
    -1,
    {
        {"高级选择夹2", K::Tab, 5, 29, 212, 464, {}, "目录|搜索|说明", -1, true, style::kTabHeaders},
        {"编辑框1", K::Edit, 7, 30, 132, 24, kLeft, {}, 0},
        {"按钮1", K::Button, 139, 29, 64, 24, kLeft, "修改标题", 0},
        {"树型框1", K::Tree, 6, 59, 198, 397, kLeft, {}, 0, true, style::kTreeNoTooltips},
        {"图形按钮6", K::PictureButton, 10, 32, 28, 24, kLeft, {}, 1},
        {"编辑框2", K::Edit, 43, 31, 151, 24, kLeft, {}, 1},
        {"列表框1", K::ListBox, 14, 64, 179, 392, kLeft, {}, 1},
        {"透明标签4", K::TransparentLabel, 11, 59, 200, 304, kLeft,
         "1、所有代码和资源，采用的是一个文件对应一个子代码的方式储存在软件目录下。\r\n\r\n"
         "2、右键点击列表，可以选择 删除、添加,主项目或子代码\r\n\r\n"
         "3、右键点击资源列表，可以选择删除、导出资源\r\n\r\n"
         "4、直接拖放资源到资源列表，可以直接获得资源文件\r\n\r\n"
         "5、欢迎提供BUG、建议等",
         2},
        {"高级选择夹1", K::Tab, 216, 27, 583, 466, {}, "中文显示|源码显示|相关资源", -1, true, style::kTabHeaders},
        {"超级编辑框1", K::RichEdit, 1, 27, 583, 438, kRight, {}, 0},
        {"按钮3", K::Button, 510, 432, 72, 32, kRight, "复制源码", 0},
        {"超级编辑框2", K::RichEdit, 1, 27, 583, 438, kRight, {}, 1},
        {"按钮4", K::Button, 511, 394, 72, 32, kRight, "保存修改", 1},
        {"按钮2", K::Button, 510, 432, 72, 32, kRight, "复制源码", 1},
        {"透明标签3", K::TransparentLabel, 9, 40, 72, 16, kRight, "资源列表", 2},
        {"列表框2", K::ListBox, 5, 61, 163, 320, kRight, {}, 2},
        {"透明标签1", K::TransparentLabel, 168, 43, 55, 16, kRight, "预览区", 2},
        {"画板1", K::DrawingPanel, 168, 62, 408, 320, kRight, {}, 2},
        {"透明标签2", K::TransparentLabel, 8, 389, 520, 56, kRight,
         "1、可以左键拖放来导入资源,右键点击可选择性删除或导出\r\n\r\n2、资源可以是任何东东，不一定全是图片", 2},
        {"拖放对象1", K::FileDrop, 0, 0, 0, 0, {}, {}, -1, false},
        {"图形按钮7", K::PictureButton, 702, 5, 26, 17, {}, "设置"},
        {"图形按钮5", K::PictureButton, 733, 3, 34, 17},
        {"图形按钮3", K::PictureButton, 765, 3, 35, 17},
        {"主项目", K::PopupMenu, 0, 0, 0, 0, {}, "主项目_增加|主项目_删除当前|-|子 项目_增加新的 |子 项目_删除当前 "},
        {"资源列表", K::PopupMenu, 0, 0, 0, 0, {}, "删除选中的资源|导出选中的资源|导出列表内所有资源"},
        {"设置", K::PopupMenu, 0, 0, 0, 0, {}, "置顶|取消置顶"},
    },
};

}  // namespace tb::res
