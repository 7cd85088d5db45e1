// Window descriptions as data: every control with its stored name, kind, position,
// container and initial text. Windows are built from these tables at run time.
#pragma once
#include <string_view>
#include <vector>

namespace tb {

enum class Kind {
  Edit,
  Label,
  TransparentLabel,
  Button,
  PictureButton,
  CheckBox,
  Radio,
  ListBox,
  Tree,
  Tab,
  RichEdit,
  ShapeBox,
  PictureBox,
  DrawingPanel,
  GroupBox,
  HScrollBar,
  Timer,
  FileDrop,
  PopupMenu,
};

struct ControlDef {
  std::string_view name;
  Kind kind;
  int x, y, w, h;                // design pixels at 96 DPI, relative to the container
  std::string_view parent = {};  // container's stored name; empty: the window itself
  std::string_view text = {};    // caption, initial text; tab pages and menu items split at "|"
  int page = -1;                 // with a tab control as parent: the page it sits on
  bool visible = true;
};

struct WindowDef {
  std::string_view name;  // stored name of the window
  std::string_view caption;
  int w, h;      // outer size in design pixels
  int x = -1, y = -1;  // initial position; -1 centres on the screen
  std::vector<ControlDef> controls;
  bool caption_bar = true;  // draw the themed caption band and let it drag the window
};

// Control identifiers are stable: 1000 + the control's index in its table.
constexpr int kFirstControlId = 1000;

}  // namespace tb
