// Control table of the image and colour tool.
#pragma once
#include <string_view>

#include "platform/controls.h"

namespace tb::res {

extern const WindowDef kImageToolWindow;

// Stored names of the image tool's controls.
namespace imagetool_names {
inline constexpr std::string_view kGatherTabButton = "图形按钮3";
inline constexpr std::string_view kWorkTabButton = "图形按钮1";
inline constexpr std::string_view kTitleLabel = "透明标签5";
inline constexpr std::string_view kTitleBox = "编辑框2";
inline constexpr std::string_view kPickPanel = "画板1";
inline constexpr std::string_view kHandleLabel = "透明标签4";
inline constexpr std::string_view kHandleBox = "编辑框_句柄";
inline constexpr std::string_view kBindButton = "按钮1";
inline constexpr std::string_view kBindNote = "透明标签6";
inline constexpr std::string_view kPinButton = "图形按钮7";
inline constexpr std::string_view kMinimise = "图形按钮5";
inline constexpr std::string_view kClose = "图形按钮2";
inline constexpr std::string_view kPinMenu = "置顶";
inline constexpr std::string_view kTabs = "选择夹1";
inline constexpr std::string_view kSlotFrame = "外形框2";
inline constexpr std::string_view kSlotTexts[] = {"编辑框_颜色1", "编辑框_颜色2", "编辑框_颜色3", "编辑框_颜色4",
                                                  "编辑框_颜色5", "编辑框_颜色6", "编辑框_颜色7"};
inline constexpr std::string_view kSlotSwatches[] = {"外形框_颜色1", "外形框_颜色2", "外形框_颜色3", "外形框_颜色4",
                                                     "外形框_颜色5", "外形框_颜色6", "外形框_颜色7"};
inline constexpr std::string_view kWorkFrame = "外形框7";
inline constexpr std::string_view kPictureFrame = "外形框6";
inline constexpr std::string_view kPicture = "画板2";
inline constexpr std::string_view kCaptureMode = "选择框1";
inline constexpr std::string_view kCaptureButton = "按钮2";
inline constexpr std::string_view kLoadButton = "按钮3";
inline constexpr std::string_view kExportButton = "按钮4";
inline constexpr std::string_view kFindButton = "按钮6";
inline constexpr std::string_view kSimilarityLabel = "透明标签28";
inline constexpr std::string_view kSimilarityBox = "编辑框_相似度";
inline constexpr std::string_view kKeepBox = "编辑框_保留色";
inline constexpr std::string_view kBackgroundBox = "编辑框_背景色";
inline constexpr std::string_view kKeepSwatch = "外形框_颜色9";
inline constexpr std::string_view kBackgroundSwatch = "外形框_颜色10";
inline constexpr std::string_view kSeparateButton = "按钮_颜色分离";
inline constexpr std::string_view kMagnifierGroup = "分组框2";
inline constexpr std::string_view kMagnifier = "图片框1";
inline constexpr std::string_view kMarker = "外形框1";
inline constexpr std::string_view kReadoutTimer = "时钟1";
inline constexpr std::string_view kCoordinateBox = "编辑框_坐标";
inline constexpr std::string_view kColourSwatch = "外形框_颜色8";
inline constexpr std::string_view kHexBox = "编辑框_颜色16进制";
inline constexpr std::string_view kDecimalBox = "编辑框_颜色10进制";
inline constexpr std::string_view kRedBox = "编辑框_R";
inline constexpr std::string_view kGreenBox = "编辑框_G";
inline constexpr std::string_view kBlueBox = "编辑框_B";
inline constexpr std::string_view kAll[] = {
    kGatherTabButton, kWorkTabButton, kTitleLabel, kTitleBox, kPickPanel, kHandleLabel, kHandleBox, kBindButton,
    kBindNote, kPinButton, kMinimise, kClose, kPinMenu, kTabs, kSlotFrame, kSlotTexts[0], kSlotTexts[1],
    kSlotTexts[2], kSlotTexts[3], kSlotTexts[4], kSlotTexts[5], kSlotTexts[6], kSlotSwatches[0], kSlotSwatches[1],
    kSlotSwatches[2], kSlotSwatches[3], kSlotSwatches[4], kSlotSwatches[5], kSlotSwatches[6], kWorkFrame,
    kPictureFrame, kPicture, kCaptureMode, kCaptureButton, kLoadButton, kExportButton, kFindButton, kSimilarityLabel,
    kSimilarityBox, kKeepBox, kBackgroundBox, kKeepSwatch, kBackgroundSwatch, kSeparateButton, kMagnifierGroup, kMagnifier, kMarker,
    kReadoutTimer, kCoordinateBox, kColourSwatch, kHexBox, kDecimalBox, kRedBox, kGreenBox, kBlueBox};
}  // namespace imagetool_names

}  // namespace tb::res
