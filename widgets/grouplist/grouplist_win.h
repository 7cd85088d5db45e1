// The Win32 host of the list control: rows in a real owner-drawn "ListBox" window titled
// "QQ列表框", pictures decoded by the Windows Imaging Component.
#pragma once
#include "widgets/grouplist/host.h"

namespace tb::grouplist {

ListHost& win32_list_host();

}  // namespace tb::grouplist
