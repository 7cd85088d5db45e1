#include "resources/codemanager_window.h"

namespace tb::res {

using K = Kind;

namespace {
constexpr std::string_view kLeft = "高级选择夹2";
constexpr std::string_view kRight = "高级选择夹1";
}  // namespace

const WindowDef kCodeManagerWindow{
    .name = "代码管理器",
    .caption = "Tarvo代码管理器",
    .w = 805,
    .h = 526,
    .controls = {
        {.name = "高级选择夹2", .kind = K::Tab, .x = 5, .y = 29, .w = 212, .h = 464, .text = "目录|搜索|说明",
         .style = style::kTabHeaders},
        {.name = "编辑框1", .kind = K::Edit, .x = 7, .y = 30, .w = 132, .h = 24, .parent = kLeft, .page = 0},
        {.name = "按钮1", .kind = K::Button, .x = 139, .y = 29, .w = 64, .h = 24, .parent = kLeft, .text = "修改标题",
         .page = 0},
        {.name = "树型框1", .kind = K::Tree, .x = 6, .y = 59, .w = 198, .h = 397, .parent = kLeft, .page = 0,
         .style = style::kTreeNoTooltips},
        {.name = "图形按钮6", .kind = K::PictureButton, .x = 10, .y = 32, .w = 28, .h = 24, .parent = kLeft, .page = 1},
        {.name = "编辑框2", .kind = K::Edit, .x = 43, .y = 31, .w = 151, .h = 24, .parent = kLeft, .page = 1},
        {.name = "列表框1", .kind = K::ListBox, .x = 14, .y = 64, .w = 179, .h = 392, .parent = kLeft, .page = 1},
        {.name = "透明标签4", .kind = K::TransparentLabel, .x = 11, .y = 59, .w = 200, .h = 304, .parent = kLeft,
         .text = "1、所有代码和资源，采用的是一个文件对应一个子代码的方式储存在软件目录下。\r\n\r\n"
                 "2、右键点击列表，可以选择 删除、添加,主项目或子代码\r\n\r\n"
                 "3、右键点击资源列表，可以选择删除、导出资源\r\n\r\n"
                 "4、直接拖放资源到资源列表，可以直接获得资源文件\r\n\r\n"
                 "5、欢迎提供BUG、建议等",
         .page = 2},
        {.name = "高级选择夹1", .kind = K::Tab, .x = 216, .y = 27, .w = 583, .h = 466,
         .text = "中文显示|源码显示|相关资源", .style = style::kTabHeaders},
        {.name = "超级编辑框1", .kind = K::RichEdit, .x = 1, .y = 27, .w = 583, .h = 438, .parent = kRight, .page = 0},
        {.name = "按钮3", .kind = K::Button, .x = 510, .y = 432, .w = 72, .h = 32, .parent = kRight, .text = "复制源码",
         .page = 0},
        {.name = "超级编辑框2", .kind = K::RichEdit, .x = 1, .y = 27, .w = 583, .h = 438, .parent = kRight, .page = 1},
        {.name = "按钮4", .kind = K::Button, .x = 511, .y = 394, .w = 72, .h = 32, .parent = kRight, .text = "保存修改",
         .page = 1},
        {.name = "按钮2", .kind = K::Button, .x = 510, .y = 432, .w = 72, .h = 32, .parent = kRight, .text = "复制源码",
         .page = 1},
        {.name = "透明标签3", .kind = K::TransparentLabel, .x = 9, .y = 40, .w = 72, .h = 16, .parent = kRight,
         .text = "资源列表", .page = 2},
        {.name = "列表框2", .kind = K::ListBox, .x = 5, .y = 61, .w = 163, .h = 320, .parent = kRight, .page = 2},
        {.name = "透明标签1", .kind = K::TransparentLabel, .x = 168, .y = 43, .w = 55, .h = 16, .parent = kRight,
         .text = "预览区", .page = 2},
        {.name = "画板1", .kind = K::DrawingPanel, .x = 168, .y = 62, .w = 408, .h = 320, .parent = kRight, .page = 2},
        {.name = "透明标签2", .kind = K::TransparentLabel, .x = 8, .y = 389, .w = 520, .h = 56, .parent = kRight,
         .text = "1、可以左键拖放来导入资源,右键点击可选择性删除或导出\r\n\r\n2、资源可以是任何东东，不一定全是图片",
         .page = 2},
        {.name = "拖放对象1", .kind = K::FileDrop, .visible = false},
        {.name = "图形按钮7", .kind = K::PictureButton, .x = 702, .y = 5, .w = 26, .h = 17, .text = "设置"},
        {.name = "图形按钮5", .kind = K::PictureButton, .x = 733, .y = 3, .w = 34, .h = 17},
        {.name = "图形按钮3", .kind = K::PictureButton, .x = 765, .y = 3, .w = 35, .h = 17},
        {.name = "主项目", .kind = K::PopupMenu,
         .text = "主项目_增加|主项目_删除当前|-|子 项目_增加新的 |子 项目_删除当前 "},
        {.name = "资源列表", .kind = K::PopupMenu, .text = "删除选中的资源|导出选中的资源|导出列表内所有资源"},
        {.name = "设置", .kind = K::PopupMenu, .text = "置顶|取消置顶"},
    },
};

}  // namespace tb::res
