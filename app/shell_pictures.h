// Code-drawn pictures of the shell's windows.
#pragma once
#include "platform/window.h"

namespace tb::pictures {

enum class ToolIcon { Radar, ImageTool, CodeManager, Notepad, Calculator, Paint };

Painter caption_label(std::string_view label, int pct);
Painter minimise_button(int pct);
Painter close_button(int pct);
Painter avatar(int pct);
Painter tab_selected(std::string_view label, int pct);
Painter tab_idle(std::string_view label, int pct);
Painter search_frame(int pct);
Painter tool(ToolIcon icon, int pct);
Painter contact_card(int pct);

}  // namespace tb::pictures
