#include "resources/radar_window.h"

namespace tb::res {

using K = Kind;

namespace {
constexpr std::string_view kBox = "外形框1";
}

const WindowDef kRadarWindow{
    "窗口雷达",
    "窗口工具",
    492,
    296,
    -1,
    -1,
    {
        {"图形按钮3", K::PictureButton, 419, 3, 34, 17},
        {"图形按钮5", K::PictureButton, 451, 3, 35, 17},
        {"透明标签1", K::TransparentLabel, 103, 4, 313, 24, {}, "可以更改窗口高度、宽度、标题", -1, true,
         style::kLabelCentredLine, style::kLabelNotify},
        {"外形框1", K::ShapeBox, 8, 30, 475, 232},
        {"画板1", K::DrawingPanel, 12, 9, 46, 40, kBox},
        {"标签10", K::Label, 13, 56, 48, 58, kBox, "拖动图标到目标窗口\r\n"},
        {"标签2", K::Label, 78, 8, 23, 24, kBox, "句柄", -1, true, style::kLabelCentredLine},
        {"编辑框2", K::Edit, 110, 9, 98, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签3", K::Label, 212, 8, 31, 24, kBox, "类名", -1, true, style::kLabelCentredLine},
        {"编辑框3", K::Edit, 240, 8, 232, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签7", K::Label, 78, 39, 27, 24, kBox, "坐标", -1, true, style::kLabelCentredLine},
        {"编辑框坐标", K::Edit, 110, 39, 299, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签12", K::Label, 79, 69, 30, 24, kBox, "左边", -1, true, style::kLabelCentredLine},
        {"编辑框6", K::Edit, 110, 69, 45, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签13", K::Label, 163, 70, 28, 24, kBox, "顶边", -1, true, style::kLabelCentredLine},
        {"编辑框10", K::Edit, 192, 69, 45, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签8", K::Label, 254, 69, 27, 24, kBox, "宽度", -1, true, style::kLabelCentredLine},
        {"编辑框8", K::Edit, 284, 69, 45, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签9", K::Label, 336, 69, 27, 24, kBox, "高度", -1, true, style::kLabelCentredLine},
        {"编辑框9", K::Edit, 364, 69, 45, 26, kBox, {}, -1, true, style::kLiveBox},
        {"按钮2", K::Button, 414, 69, 59, 26, kBox, "更改坐标"},
        {"标签4", K::Label, 64, 101, 41, 24, kBox, "进程 ID", -1, true, style::kLabelCentredLine},
        {"编辑框4", K::Edit, 111, 101, 89, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签6", K::Label, 220, 101, 41, 24, kBox, "进程 名", -1, true, style::kLabelCentredLine},
        {"编辑框7", K::Edit, 272, 99, 140, 26, kBox, {}, -1, true, style::kLiveBox},
        {"标签1", K::Label, 10, 132, 50, 24, kBox, "窗口标题", -1, true, style::kLabelCentredLine},
        {"编辑框1", K::Edit, 64, 132, 346, 26, kBox, {}, -1, true, style::kLiveBox},
        {"按钮1", K::Button, 414, 132, 59, 26, kBox, "更改标题"},
        {"标签5", K::Label, 9, 161, 48, 24, kBox, "进程路径", -1, true, style::kLabelCentredLine},
        {"编辑框5", K::Edit, 64, 162, 346, 26, kBox, {}, -1, true, style::kLiveBox},
        {"按钮4", K::Button, 413, 162, 59, 26, kBox, "打开目录"},
        {"单选框1", K::Radio, 10, 198, 48, 24, kBox, "置顶"},
        {"单选框2", K::Radio, 64, 198, 72, 24, kBox, "取消置顶"},
        {"单选框4", K::Radio, 141, 198, 51, 24, kBox, "显示"},
        {"单选框3", K::Radio, 192, 198, 48, 24, kBox, "隐藏"},
        {"横向滚动条1", K::HScrollBar, 242, 200, 168, 16, kBox},
        {"标签11", K::Label, 416, 197, 56, 24, kBox, "调节透明", -1, true, style::kLabelCentredLine},
        {"时钟1", K::Timer, 312, 194, 0, 0, kBox},
    },
};

}  // namespace tb::res
