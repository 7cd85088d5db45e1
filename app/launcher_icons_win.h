// The icons of launcher items: a 40 x 40 picture on white, as picture file bytes for the list.
#pragma once
#include <string>

namespace tb::shell {

enum class IconMode {
  Loading,  // at start-up: file icon, else the default pictures, the folder test and the file type's icon
  Adding,   // from the item dialog: file icon, else the default pictures by the target's form only
};

enum class DefaultIcon { Web = 0, Computer = 1, Folder = 2 };

std::string launcher_icon(const std::string& target, IconMode mode);
std::string default_icon(DefaultIcon which);

}  // namespace tb::shell
