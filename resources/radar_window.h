// Control table of the window radar.
#pragma once
#include "platform/controls.h"

namespace tb::res {

extern const WindowDef kRadarWindow;

}  // namespace tb::res
