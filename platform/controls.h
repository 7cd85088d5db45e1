// Window descriptions as data: every control with its stored name, kind, position,
// container, initial text, styles and tooltip. Windows are built from these tables at run time.
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

enum class Tip { None, Centred, AtPointer };

// Style bits the tables use, with their Win32 values (the tables are portable data).
namespace style {
constexpr unsigned long kLabelNotify = 0x0100;         // SS_NOTIFY: the label reports clicks
constexpr unsigned long kLabelCentredLine = 0x0200;    // SS_CENTERIMAGE: one line, centred vertically
constexpr unsigned long kTreeEditLabels = 0x0008;      // TVS_EDITLABELS
// TVS_NOTOOLTIPS: under Wine the tree's own tooltip, a pop-up owned by the window, keeps
// the window from becoming topmost.
constexpr unsigned long kTreeNoTooltips = 0x0080;
// A tab control whose pages draw the page names as a row of headers that switch pages
// (a style bit of the framework's own container class).
constexpr unsigned long kTabHeaders = 0x0001;
constexpr unsigned long kButtonMultiline = 0x2000;     // BS_MULTILINE: a caption of several lines
// WS_CLIPCHILDREN: a container painted often (a live view) does not draw over its children.
constexpr unsigned long kClipChildren = 0x02000000;
// A one-line edit the program rewrites as the mouse moves (a live readout). While the box
// lacks the focus the framework keeps and draws its text, and the edit gets it only when it
// is needed: the edit lays its text out again on every write and paint, which under Wine
// costs several microseconds a character. A bit the edit itself does not use.
constexpr unsigned long kLiveBox = 0x4000;
// A picture button, picture box, shape box or transparent label that holds no other row,
// drawn by its container instead of being a window of its own; it lies beneath the windows
// beside it. Under Wine every child window costs about a millisecond to make and paint
// first, which a window that must appear at once cannot spend on its decorations.
constexpr unsigned long kDrawn = 0x00008000;
}  // namespace style

struct ControlDef {
  std::string_view name;
  Kind kind;
  int x, y, w, h;                // design pixels at 96 DPI, relative to the container
  std::string_view parent = {};  // container's stored name; empty: the window itself
  std::string_view text = {};    // caption, initial text; tab pages and menu items split at "|"
                               // (a menu item "-" is a separator)
  int page = -1;                 // with a tab control as parent: the page it sits on
  bool visible = true;
  unsigned long style = 0;       // window styles added to the kind's own
  unsigned long style_off = 0;   // styles of the kind this control goes without
  unsigned long ex_style = 0;    // extended styles added
  std::string_view tip = {};     // tooltip text
  Tip tip_at = Tip::None;
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

// The table row of a stored name; nullptr when the table has none.
inline const ControlDef* find_control(const WindowDef& def, std::string_view name) {
  for (const ControlDef& c : def.controls)
    if (c.name == name) return &c;
  return nullptr;
}

}  // namespace tb
