#include "tests/support/grouplist/testing.h"

#include "widgets/grouplist/instance.h"

namespace tb::grouplist {

Instance* find_instance_by_parent(std::intptr_t parent_window) {
  if (!parent_window) return nullptr;
  for (auto& in : all_instances())
    if (in->parent_window == parent_window) return in.get();
  return nullptr;
}

int instance_count() { return static_cast<int>(all_instances().size()); }

}  // namespace tb::grouplist
