#include "resources/codemanager_window.h"

namespace tb::res {

using K = Kind;

namespace n = codemanager_names;

const WindowDef kCodeManagerWindow{
    .name = "代码管理器",
    .caption = "Tarvo代码管理器",
    .w = 805,
    .h = 526,
    .controls = {
        {.name = n::kLeftTabs, .kind = K::Tab, .x = 5, .y = 29, .w = 212, .h = 464, .text = "目录|搜索|说明",
         .style = style::kTabHeaders},
        {.name = n::kNameBox, .kind = K::Edit, .x = 7, .y = 30, .w = 132, .h = 24, .parent = n::kLeftTabs, .page = 0},
        {.name = n::kRenameButton, .kind = K::Button, .x = 139, .y = 29, .w = 64, .h = 24, .parent = n::kLeftTabs,
         .text = "修改标题", .page = 0},
        {.name = n::kTree, .kind = K::Tree, .x = 6, .y = 59, .w = 198, .h = 397, .parent = n::kLeftTabs, .page = 0,
         .style = style::kTreeNoTooltips},
        {.name = n::kSearchPicture, .kind = K::PictureButton, .x = 10, .y = 32, .w = 28, .h = 24,
         .parent = n::kLeftTabs, .page = 1},
        {.name = n::kSearchBox, .kind = K::Edit, .x = 43, .y = 31, .w = 151, .h = 24, .parent = n::kLeftTabs,
         .page = 1},
        {.name = n::kSearchList, .kind = K::ListBox, .x = 14, .y = 64, .w = 179, .h = 392, .parent = n::kLeftTabs,
         .page = 1},
        {.name = n::kHelp, .kind = K::TransparentLabel, .x = 11, .y = 59, .w = 200, .h = 304, .parent = n::kLeftTabs,
         .text = "1、所有代码和资源，采用的是一个文件对应一个子代码的方式储存在软件目录下。\r\n\r\n"
                 "2、右键点击列表，可以选择 删除、添加,主项目或子代码\r\n\r\n"
                 "3、右键点击资源列表，可以选择删除、导出资源\r\n\r\n"
                 "4、直接拖放资源到资源列表，可以直接获得资源文件\r\n\r\n"
                 "5、欢迎提供BUG、建议等",
         .page = 2},
        {.name = n::kRightTabs, .kind = K::Tab, .x = 216, .y = 27, .w = 583, .h = 466,
         .text = "中文显示|源码显示|相关资源", .style = style::kTabHeaders},
        {.name = n::kReadingView, .kind = K::RichEdit, .x = 1, .y = 27, .w = 583, .h = 438, .parent = n::kRightTabs,
         .page = 0},
        {.name = n::kCopyReadingButton, .kind = K::Button, .x = 510, .y = 432, .w = 72, .h = 32,
         .parent = n::kRightTabs, .text = "复制源码", .page = 0},
        {.name = n::kSourceView, .kind = K::RichEdit, .x = 1, .y = 27, .w = 583, .h = 438, .parent = n::kRightTabs,
         .page = 1},
        {.name = n::kSaveButton, .kind = K::Button, .x = 511, .y = 394, .w = 72, .h = 32, .parent = n::kRightTabs,
         .text = "保存修改", .page = 1},
        {.name = n::kCopySourceButton, .kind = K::Button, .x = 510, .y = 432, .w = 72, .h = 32, .parent = n::kRightTabs,
         .text = "复制源码", .page = 1},
        {.name = n::kResourceTitle, .kind = K::TransparentLabel, .x = 9, .y = 40, .w = 72, .h = 16,
         .parent = n::kRightTabs, .text = "资源列表", .page = 2},
        {.name = n::kResourceList, .kind = K::ListBox, .x = 5, .y = 61, .w = 163, .h = 320, .parent = n::kRightTabs,
         .page = 2},
        {.name = n::kPreviewTitle, .kind = K::TransparentLabel, .x = 168, .y = 43, .w = 55, .h = 16,
         .parent = n::kRightTabs, .text = "预览区", .page = 2},
        {.name = n::kPreview, .kind = K::DrawingPanel, .x = 168, .y = 62, .w = 408, .h = 320, .parent = n::kRightTabs,
         .page = 2},
        {.name = n::kResourceHelp, .kind = K::TransparentLabel, .x = 8, .y = 389, .w = 520, .h = 56,
         .parent = n::kRightTabs,
         .text = "1、可以左键拖放来导入资源,右键点击可选择性删除或导出\r\n\r\n2、资源可以是任何东东，不一定全是图片",
         .page = 2},
        {.name = n::kDrop, .kind = K::FileDrop, .visible = false},
        {.name = n::kSettingsButton, .kind = K::PictureButton, .x = 702, .y = 5, .w = 26, .h = 17, .text = "设置"},
        {.name = n::kMinimise, .kind = K::PictureButton, .x = 733, .y = 3, .w = 34, .h = 17},
        {.name = n::kClose, .kind = K::PictureButton, .x = 765, .y = 3, .w = 35, .h = 17},
        {.name = n::kTreeMenu, .kind = K::PopupMenu,
         .text = "主项目_增加|主项目_删除当前|-|子 项目_增加新的 |子 项目_删除当前 "},
        {.name = n::kResourceMenu, .kind = K::PopupMenu, .text = "删除选中的资源|导出选中的资源|导出列表内所有资源"},
        {.name = n::kSettingsMenu, .kind = K::PopupMenu, .text = "置顶|取消置顶"},
    },
};

}  // namespace tb::res
