#include "resources/launcher_windows.h"

namespace tb::res {

using K = Kind;

const WindowDef kLauncherMenu{
    .name = "菜单窗口",
    .caption = "",
    .w = 137,
    .h = 268,
    .controls = {
        {.name = menu_names::kAddGroup, .kind = K::PictureButton, .x = 32, .y = 6, .w = 88, .h = 20,
         .text = "添加分组"},
        {.name = menu_names::kDeleteGroup, .kind = K::PictureButton, .x = 30, .y = 29, .w = 96, .h = 20,
         .text = "删除分组"},
        {.name = menu_names::kRenameGroup, .kind = K::PictureButton, .x = 30, .y = 51, .w = 96, .h = 20,
         .text = "更改当前组名称"},
        {.name = menu_names::kAddItem, .kind = K::PictureButton, .x = 31, .y = 76, .w = 89, .h = 20,
         .text = "添加子项目"},
        {.name = menu_names::kDeleteItem, .kind = K::PictureButton, .x = 31, .y = 100, .w = 89, .h = 20,
         .text = "删除当前子项目"},
        {.name = menu_names::kStartWithWindows, .kind = K::PictureButton, .x = 31, .y = 124, .w = 99, .h = 20,
         .text = "开机启动"},
        {.name = menu_names::kNoStartWithWindows, .kind = K::PictureButton, .x = 32, .y = 147, .w = 99, .h = 20,
         .text = "取消开机启动"},
        {.name = menu_names::kTopmost, .kind = K::PictureButton, .x = 32, .y = 169, .w = 99, .h = 20,
         .text = "窗口置顶"},
        {.name = menu_names::kNotTopmost, .kind = K::PictureButton, .x = 32, .y = 192, .w = 99, .h = 20,
         .text = "取消窗口置顶"},
        {.name = menu_names::kDone, .kind = K::PictureButton, .x = 32, .y = 241, .w = 99, .h = 20, .text = "结束选择"},
        {.name = menu_names::kHoverTimer, .kind = K::Timer},
    },
    .caption_bar = false,
};

const WindowDef kGroupNamePopup{
    .name = "分组名称窗口",
    .caption = "",
    .w = 168,
    .h = 25,
    .controls = {
        {.name = group_popup_names::kName, .kind = K::Edit, .x = 0, .y = 0, .w = 128, .h = 24},
        {.name = group_popup_names::kButton, .kind = K::Button, .x = 128, .y = 1, .w = 40, .h = 24, .text = "取消"},
    },
    .caption_bar = false,
};

const WindowDef kItemDialog{
    .name = "项目窗口",
    .caption = "",
    .w = 199,
    .h = 114,
    .controls = {
        {.name = item_dialog_names::kPathLabel, .kind = K::TransparentLabel, .x = 19, .y = 9, .w = 29, .h = 16,
         .text = "路径"},
        {.name = item_dialog_names::kPath, .kind = K::Edit, .x = 62, .y = 4, .w = 101, .h = 24},
        {.name = item_dialog_names::kBrowse, .kind = K::Button, .x = 164, .y = 3, .w = 32, .h = 24, .text = "浏览"},
        {.name = item_dialog_names::kNameLabel, .kind = K::TransparentLabel, .x = 7, .y = 34, .w = 56, .h = 16,
         .text = "项目名称"},
        {.name = item_dialog_names::kName, .kind = K::Edit, .x = 62, .y = 33, .w = 131, .h = 24},
        {.name = item_dialog_names::kNoteLabel, .kind = K::TransparentLabel, .x = 19, .y = 60, .w = 30, .h = 16,
         .text = "备注"},
        {.name = item_dialog_names::kNote, .kind = K::Edit, .x = 62, .y = 60, .w = 131, .h = 24},
        {.name = item_dialog_names::kButton, .kind = K::Button, .x = 97, .y = 84, .w = 88, .h = 24, .text = "取消"},
    },
    .caption_bar = false,
};

}  // namespace tb::res
