#include "app/launcher_win.h"

#include "app/launcher.h"
#include "app/launcher_icons_win.h"
#include "app/shell.h"
#include "base/fileio.h"
#include "base/ini.h"
#include "platform/handles.h"
#include "platform/msgbox.h"
#include "platform/registry_win.h"
#include "platform/shell_win.h"
#include "platform/window.h"
#include "resources/launcher_windows.h"
#include "util/file_dialog.h"
#include "widgets/grouplist/grouplist_win.h"

namespace tb::shell {

namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Velgo";

std::string set_ini() { return program_dir() + "set.ini"; }

// Pops up beside the menu. A menu and the group name popup end when the user clicks
// elsewhere; the item dialog waits for its own button, so nothing typed is lost.
class Popup : public Window {
 protected:
  explicit Popup(bool ends_when_inactive = true) : ends_when_inactive_(ends_when_inactive) {}
  bool on_message(UINT msg, WPARAM wp, LPARAM, LRESULT&) override {
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE && ends_when_inactive_ && !busy_) end_modal(0);
    return false;
  }
  void move_to(int x, int y) {
    SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
  }
  // While a window of its own is open the popup stays, whatever has the focus.
  template <class W>
  int run_child(const WindowDef& def) {
    busy_ = true;
    int r = Window::run_modal<W>(def);
    busy_ = false;
    return r;
  }
  bool busy_ = false;

 private:
  bool ends_when_inactive_;
};

RECT g_menu_rect{};  // where the open menu popup is, for the windows it opens

class GroupNamePopup : public Popup {
 protected:
  void on_created() override {
    using namespace res::group_popup_names;
    move_to(g_menu_rect.left + scale(135), g_menu_rect.top + scale(3));
    on(kName, Event::Change, [this](const EventArgs&) { set_text(kButton, "确定"); });
    on(kName, Event::KeyDown, [this](EventArgs& a) {
      if (a.key == VK_RETURN) {
        a.answer(0);
        confirm();
      }
    });
    on(kButton, Event::Click, [this](const EventArgs&) { confirm(); });
    SetForegroundWindow(hwnd());
    SetFocus(control(kName));
  }
  void confirm() {
    std::string name = text(res::group_popup_names::kName);
    if (!name.empty()) {
      launcher().list().AddGroup(name);
      launcher().save();
    }
    end_modal(1);
  }
};

class ItemDialog : public Popup {
 public:
  ItemDialog() : Popup(false) {}

 protected:
  void on_created() override {
    using namespace res::item_dialog_names;
    move_to(g_menu_rect.left + scale(135), g_menu_rect.top + scale(75));
    for (std::string_view box : {kPath, kName, kNote})
      on(box, Event::Change, [this](const EventArgs&) { set_text(kButton, "确定"); });
    on(kBrowse, Event::Click, [this](const EventArgs&) { browse(); });
    on(kButton, Event::Click, [this](const EventArgs&) { confirm(); });
    SetForegroundWindow(hwnd());
    SetFocus(control(kPath));
  }
  void browse() {
    using namespace res::item_dialog_names;
    busy_ = true;  // the dialog takes the activation; this window stays
    std::string path = open_file(hwnd(), ini_read(config_ini(), "exe", "上次打开路径"), "请选择图片", "*.*");
    busy_ = false;
    if (path.empty()) return;
    ini_write(config_ini(), "exe", "上次打开路径", folder_of(path));
    set_text(kPath, path);
    std::string file = path.substr(folder_of(path).size());
    std::size_t dot = file.rfind('.');
    set_text(kName, dot == std::string::npos ? file : file.substr(0, dot));
    SetForegroundWindow(hwnd());
  }
  void confirm() {
    using namespace res::item_dialog_names;
    std::string path = text(kPath), name = text(kName);
    if (!path.empty() && !name.empty()) {
      grouplist::ItemRecord r;
      r.group = launcher().target_group();
      r.avatar = launcher_icon(path, IconMode::Adding);
      r.name = name;
      r.signature = text(kNote);
      r.remark = path;
      r.online = false;
      if (launcher().list().AddItem(r, {}, false)) launcher().save();
    }
    end_modal(1);
  }
};

class LauncherMenu : public Popup {
 protected:
  void on_created() override {
    using namespace res::menu_names;
    POINT p{};
    GetCursorPos(&p);
    move_to(p.x - 5, p.y - 5);
    GetWindowRect(hwnd(), &g_menu_rect);
    set_timer(kHoverTimer, 500);
    const int pct = scale_pct();
    set_painter("", [pct](HDC dc, const RECT& r, theme::Face) { panel(dc, r, pct); });
    for (const ControlDef& d : def()->controls) {
      if (d.kind != Kind::PictureButton) continue;
      std::string label(d.text);
      set_painter(d.name, [label, pct](HDC dc, const RECT& r, theme::Face f) {
        theme::fill(dc, r, theme::kPanel);
        if (f != theme::Face::Normal) theme::fill(dc, r, f == theme::Face::Hover ? theme::kHover : theme::kPressed);
        RECT t = r;
        t.left += MulDiv(6, pct, 100);
        theme::text(dc, t, label, theme::kText, theme::ui_font(MulDiv(12, pct, 100)), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      });
    }
    on(kHoverTimer, Event::Tick, [this](const EventArgs&) { hover_tick(); });
    on(kAddGroup, Event::Click, [this](const EventArgs&) {
      if (run_child<GroupNamePopup>(res::kGroupNamePopup)) end_modal(1);
    });
    // Opened on the list's blank area there is no group: these entries do nothing then.
    on(kAddItem, Event::Click, [this](const EventArgs&) {
      if (launcher().target_group() && run_child<ItemDialog>(res::kItemDialog)) end_modal(1);
    });
    on(kDeleteGroup, Event::Click, [this](const EventArgs&) {
      if (launcher().target_group()) delete_group();
    });
    on(kDeleteItem, Event::Click, [this](const EventArgs&) {
      if (launcher().target_group()) delete_item();
    });
    on(kRenameGroup, Event::Click, [this](const EventArgs&) {
      if (launcher().target_group()) later();
    });
    on(kTopmost, Event::Click, [this](const EventArgs&) { later(); });
    on(kNotTopmost, Event::Click, [this](const EventArgs&) {
      if (MainWindow* m = main_window()) m->set_topmost(false);
      end_modal(1);
    });
    on(kStartWithWindows, Event::Click, [this](const EventArgs&) {
      bool ok = set_start_with_windows(true);
      end_modal(1);
      show_notice(ok ? "设置开机启动成功！" : "设置开机启动失败！");
    });
    on(kNoStartWithWindows, Event::Click, [this](const EventArgs&) {
      bool ok = set_start_with_windows(false);
      end_modal(1);
      show_notice(ok ? "取消开机启动成功！" : "取消开机启动失败！");
    });
    on(kDone, Event::Click, [this](const EventArgs&) { end_modal(0); });
    SetForegroundWindow(hwnd());
  }

 private:
  // The white panel with a small arrow beside the entries that open a window, and
  // separator lines between the entry groups.
  static void panel(HDC dc, const RECT& r, int pct) {
    auto s = [pct](int v) { return MulDiv(v, pct, 100); };
    theme::fill(dc, r, theme::kPanel);
    theme::frame(dc, r, theme::kBorder);
    for (int y : {73, 121, 229}) {
      RECT line{r.left + s(8), r.top + s(y), r.right - s(8), r.top + s(y) + 1};
      theme::fill(dc, line, theme::kBorder);
    }
    for (int y : {16, 86}) {
      POINT tri[3] = {{s(124), s(y - 4)}, {s(124), s(y + 4)}, {s(128), s(y)}};
      GdiBrush b(CreateSolidBrush(theme::kAccent));
      GdiPen p(CreatePen(PS_SOLID, 1, theme::kAccent));
      SelectGuard sb(dc, b.get());
      SelectGuard sp(dc, p.get());
      Polygon(dc, tri, 3);
    }
  }
  void hover_tick() {
    POINT p{};
    GetCursorPos(&p);
    if (WindowFromPoint(p) == control(res::menu_names::kAddGroup)) kill_timer(res::menu_names::kHoverTimer);
  }
  void later() {
    busy_ = true;
    message_box("待开发", MB_OK, "Tarvo");
    busy_ = false;
  }
  void delete_group() {
    const int group = launcher().target_group();
    const std::string name = launcher().list().GetGroupName(group);
    busy_ = true;
    const int answer = message_box("你确认要删除 " + name + " 及以下的所有的子项目吗？", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2,
                                   "你确认要删除");
    busy_ = false;
    if (group && answer == 5 && launcher().list().DeleteGroups(group, true)) launcher().save();
    end_modal(1);
  }
  void delete_item() {
    grouplist::ItemRecord item;
    std::vector<int> icons;
    if (launcher().list().GetSelectedItem(item, icons, false)) {
      busy_ = true;
      const int answer =
          message_box("你确认要删除 " + item.name + " 吗？", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, "你确认要删除");
      busy_ = false;
      if (answer == 5 && launcher().list().Remove(item.handle)) launcher().save();
    }
    end_modal(1);
  }
};

}  // namespace

Launcher& launcher() {
  static auto* l = new Launcher;  // lives until the process ends, as the list does
  return *l;
}

bool Launcher::create(HWND frame) {
  list_ = std::make_unique<grouplist::GroupList>(grouplist::win32_list_host());
  if (!list_->Create(reinterpret_cast<std::intptr_t>(frame), 0, 1, true, 0xFFFFFF)) return false;
  grouplist::EventHandlers h;
  h.item_clicked = [this](std::int32_t item, std::int32_t, std::int32_t) { flash(item); };
  h.item_double_clicked = [this](std::int32_t item, std::int32_t, std::int32_t) {
    flash(item);
    grouplist::ItemRecord r;
    std::vector<int> icons;
    if (list_->GetItem(item, r, icons, false)) shell_open(r.remark);
  };
  auto menu = [this](std::int32_t target, std::int32_t, std::int32_t) { open_menu(target); };
  h.item_right_clicked = menu;
  h.group_right_clicked = menu;
  h.blank_right_clicked = menu;  // no target: a new user's way to the first group
  list_->SetEventHandlers(std::move(h));
  return true;
}

void Launcher::flash(int item) {
  State& s = state();
  list_->StopFlashing(static_cast<int>(s.flashing_item));
  s.flashing_item = item;
  list_->StartFlashing(item);
}

void Launcher::load() {
  // Filled out of sight: a shown list box updates and repaints for every row it gets, and
  // the list must appear whole.
  HWND shown = reinterpret_cast<HWND>(list_->list_window());
  if (!(GetWindowLongPtrW(shown, GWL_STYLE) & WS_VISIBLE)) shown = nullptr;
  if (shown) ShowWindow(shown, SW_HIDE);
  fill_launcher(*list_, read_launcher(ini_load(set_ini())),
                [](const std::string& path) { return launcher_icon(path, IconMode::Loading); });
  if (shown) ShowWindow(shown, SW_SHOWNA);
}

bool Launcher::save() { return save_launcher(*list_, set_ini()); }

int Launcher::target_group() const {
  const int target = static_cast<int>(state().menu_target);
  grouplist::ElementRecord e;
  if (!list_ || !list_->ReadElement(target, e)) return 0;
  return e.kind == grouplist::kGroupKind ? e.handle : e.group;
}

void Launcher::open_menu(int target) {
  state().menu_target = target;
  Window::run_modal<LauncherMenu>(res::kLauncherMenu);
}

bool set_start_with_windows(bool on, HKEY machine_root, HKEY user_root) {
  const std::string value = on ? program_path() : std::string();
  bool machine = registry_set_string(machine_root, kRunKey, kRunValue, value);
  if (on) return machine || registry_set_string(user_root, kRunKey, kRunValue, value);
  // Off empties the value wherever it exists.
  bool user_ok = true;
  if (registry_string(user_root, kRunKey, kRunValue)) user_ok = registry_set_string(user_root, kRunKey, kRunValue, "");
  return (machine || !registry_string(machine_root, kRunKey, kRunValue)) && user_ok;
}

}  // namespace tb::shell
