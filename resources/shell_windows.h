// Control tables of the shell's windows.
#pragma once
#include "platform/controls.h"

namespace tb::res {

extern const WindowDef kMainWindow;
extern const WindowDef kNoticeWindow;
extern const WindowDef kInputWindow;

}  // namespace tb::res
