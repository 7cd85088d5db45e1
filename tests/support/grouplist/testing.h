// Look-ups into the list control's instances that only tests need.
#pragma once
#include <cstdint>

#include "widgets/grouplist/grouplist.h"

namespace tb::grouplist {

// The first instance made on a parent window; nullptr if none.
Instance* find_instance_by_parent(std::intptr_t parent_window);
// How many instances the process has made.
int instance_count();

}  // namespace tb::grouplist
