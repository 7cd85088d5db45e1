// What the radar's target process shows, shared by the tests, the benchmark and the target.
#pragma once
#include <windows.h>

#include <string>

namespace radar_target {

constexpr wchar_t kClass[] = L"TbRadarTarget";
// 66 characters: more than the 49 bytes the class box keeps.
constexpr wchar_t kLongClass[] = L"TbRadarTargetWhoseClassNameIsLongerThanFortyNineBytes_0123456789ab";
// The last character is Thai, which GBK lacks.
constexpr wchar_t kTitle[] = L"\x96F7\x8FBE\x76EE\x6807 \x0E01";  // 雷达目标 ก
constexpr wchar_t kChildText[] = L"\x76EE\x6807\x6309\x94AE";    // 目标按钮
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT;
// Screen rectangles: clear of the radar, which opens in the middle of a 1280 x 1024 screen.
constexpr RECT kTop{920, 60, 1220, 260};
constexpr RECT kChild{20, 20, 140, 50};  // client coordinates of the top window
constexpr RECT kSecond{920, 320, 1220, 420};
// Posted to the top window: the target stops pumping messages (a hung program) for wParam
// milliseconds, then its process ends, so a test that hangs on it does not hang for good.
constexpr UINT kStopAnswering = WM_APP + 1;

}  // namespace radar_target
