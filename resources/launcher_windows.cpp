#include "resources/launcher_windows.h"

namespace tb::res {

using K = Kind;

const WindowDef kLauncherMenu{
    "菜单窗口",
    "",
    137,
    268,
    -1,
    -1,
    {
        {"图形按钮2", K::PictureButton, 32, 6, 88, 20, {}, "添加分组"},
        {"图形按钮3", K::PictureButton, 30, 29, 96, 20, {}, "删除分组"},
        {"图形按钮4", K::PictureButton, 30, 51, 96, 20, {}, "更改当前组名称"},
        {"图形按钮1", K::PictureButton, 31, 76, 89, 20, {}, "添加子项目"},
        {"图形按钮10", K::PictureButton, 31, 100, 89, 20, {}, "删除当前子项目"},
        {"图形按钮8", K::PictureButton, 31, 124, 99, 20, {}, "开机启动"},
        {"图形按钮9", K::PictureButton, 32, 147, 99, 20, {}, "取消开机启动"},
        {"图形按钮5", K::PictureButton, 32, 169, 99, 20, {}, "窗口置顶"},
        {"图形按钮6", K::PictureButton, 32, 192, 99, 20, {}, "取消窗口置顶"},
        {"图形按钮7", K::PictureButton, 32, 241, 99, 20, {}, "结束选择"},
        {"时钟1", K::Timer, 0, 0, 0, 0},
    },
    false,
};

const WindowDef kGroupNamePopup{
    "分组名称窗口",
    "",
    168,
    25,
    -1,
    -1,
    {
        {"编辑框1", K::Edit, 0, 0, 128, 24},
        {"按钮1", K::Button, 128, 1, 40, 24, {}, "取消"},
    },
    false,
};

const WindowDef kItemDialog{
    "项目窗口",
    "",
    199,
    114,
    -1,
    -1,
    {
        {"透明标签2", K::TransparentLabel, 19, 9, 29, 16, {}, "路径"},
        {"项目路径框", K::Edit, 62, 4, 101, 24},
        {"浏览按钮", K::Button, 164, 3, 32, 24, {}, "浏览"},
        {"透明标签1", K::TransparentLabel, 7, 34, 56, 16, {}, "项目名称"},
        {"项目名称框", K::Edit, 62, 33, 131, 24},
        {"透明标签3", K::TransparentLabel, 19, 60, 30, 16, {}, "备注"},
        {"项目说明框", K::Edit, 62, 60, 131, 24},
        {"按钮1", K::Button, 97, 84, 88, 24, {}, "取消"},
    },
    false,
};

}  // namespace tb::res
