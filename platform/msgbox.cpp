#include "platform/msgbox.h"

#include "base/encoding.h"
#include "platform/window.h"

namespace tb {

int message_box(std::string_view text, UINT buttons, std::string_view title, HWND owner) {
  UINT flags = buttons;
  if (!owner) flags |= MB_TASKMODAL;
  CommonControlsLook look;
  return MessageBoxW(owner, to_wide(text).c_str(), to_wide(title).c_str(), flags) - 1;
}

}  // namespace tb
