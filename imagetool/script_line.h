// Lines of script made from what the tool picked: templates the user may edit in
// 配置信息.ini [脚本模板], their {name} fields filled from the pick. Portable.
#pragma once
#include <map>
#include <string>
#include <string_view>

namespace tb::imagetool {

inline constexpr std::string_view kTemplateSection = "脚本模板";
inline constexpr std::string_view kColourKey = "颜色";
inline constexpr std::string_view kFindPicKey = "找图";
inline constexpr std::string_view kColourTemplate = "IfColor {x},{y},\"{颜色}\",0 Then";
inline constexpr std::string_view kFindPicTemplate = "FindPic {x1},{y1},{x2},{y2},\"{文件}\",{相似度},intX,intY";

using Fields = std::map<std::string, std::string, std::less<>>;

// Every {name} of `text` whose name is a field gives way to its value; an unknown {name}, a
// lone brace and everything else stay as written. GBK-aware: a brace byte inside a two-byte
// character is no brace.
std::string fill_template(std::string_view text, const Fields& fields);

// The template kept under `key` in `ini` (a settings file's path); when there is none, the
// default is written there first, so the user finds it to edit.
std::string script_template(const std::string& ini, std::string_view key, std::string_view fallback);

// The fields of a slot's text "X,Y BBGGRR" (the readout's coordinate and colour): x, y and
// 颜色. Empty for an empty slot or one that holds no such text.
Fields slot_fields(std::string_view slot);

}  // namespace tb::imagetool
