// The toolbar under a finished selection: its button table and its picture, drawn by code.
#pragma once
#include <windows.h>

namespace capture {

enum class Command { Left, Right, Up, Down, Undo, Save, Close, Finish };

struct ToolButton {
  const char* name;  // stored name of the design
  int x, y, w, h;    // design pixels (96 DPI)
  Command command;
};

inline constexpr int kToolbarWidth = 250, kToolbarHeight = 28;
inline constexpr ToolButton kToolButtons[] = {
    {"按钮_左", 4, 3, 24, 22, Command::Left},      {"按钮_右", 30, 3, 24, 22, Command::Right},
    {"按钮_上", 56, 3, 24, 22, Command::Up},       {"按钮_下", 81, 3, 24, 22, Command::Down},
    {"按钮_撤销", 110, 3, 24, 22, Command::Undo},  {"按钮_保存", 139, 3, 24, 22, Command::Save},
    {"按钮_关闭", 167, 3, 24, 22, Command::Close}, {"按钮_完成", 195, 3, 51, 22, Command::Finish},
};
inline constexpr int kToolButtonCount = sizeof kToolButtons / sizeof kToolButtons[0];

// Index of the button under the toolbar client point `p` (physical pixels), or -1.
int toolbar_hit(POINT p, int dpi);
// Paints the whole toolbar; `hot` and `pressed` are button indexes or -1.
void paint_toolbar(HDC dc, int dpi, int hot, int pressed, COLORREF accent, HFONT font);

}  // namespace capture
