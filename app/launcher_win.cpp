#include "app/launcher_win.h"

#include "app/launcher.h"
#include "app/launcher_icons_win.h"
#include "app/shell.h"
#include "base/encoding.h"
#include "base/fileio.h"
#include "base/ini.h"
#include "base/text.h"
#include "platform/handles.h"
#include "platform/hook.h"
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
int g_renamed_group = 0;  // the group the name popup renames; 0 when it adds one

void tell(std::string_view text) { message_box(text, MB_OK | MB_ICONWARNING, "Tarvo"); }

class GroupNamePopup : public Popup {
 protected:
  void on_created() override {
    using namespace res::group_popup_names;
    move_to(g_menu_rect.left + scale(135), g_menu_rect.top + scale(3));
    if (g_renamed_group) {  // before the handler below: the button says 取消 until a change
      set_text(kName, launcher().list().GetGroupName(g_renamed_group));
      SendMessageW(control(kName), EM_SETSEL, 0, -1);
    }
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
    if (g_renamed_group) return rename(std::string(trim(name)));
    if (!name.empty()) {
      launcher().list().AddGroup(name);
      launcher().save();
    }
    end_modal(1);
  }
  void rename(const std::string& name) {
    grouplist::GroupList& list = launcher().list();
    const std::string old = list.GetGroupName(g_renamed_group);
    if (name.empty() || name == old) return end_modal(1);
    // Two groups of one name would merge on the next start.
    const int other = list.FindGroupByName(name);
    if (other && other != g_renamed_group) {
      busy_ = true;
      tell("已有名为 " + name + " 的分组，请换一个名称。");
      busy_ = false;
      SetForegroundWindow(hwnd());
      return;
    }
    list.RenameGroup(g_renamed_group, name);
    if (!launcher().save()) {
      list.RenameGroup(g_renamed_group, old);
      busy_ = true;
      tell("保存 set.ini 失败，分组名称没有改动。");
      busy_ = false;
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
    set_text(kName, item_name_for(path, false));
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
    on(kAddGroup, Event::Click, [this](const EventArgs&) { name_group(0); });
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
      if (int group = launcher().target_group()) name_group(group);
    });
    on(kTopmost, Event::Click, [this](const EventArgs&) {
      if (MainWindow* m = main_window()) m->set_topmost(true);
      end_modal(1);
    });
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
  // The group name popup: a new group for 0, else the group's new name.
  void name_group(int group) {
    g_renamed_group = group;
    const int done = run_child<GroupNamePopup>(res::kGroupNamePopup);
    g_renamed_group = 0;
    if (done) end_modal(1);
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
  // Files dropped from Explorer become items; an empty list says how to fill it.
  HWND box = reinterpret_cast<HWND>(list_->list_window());
  accept_dropped_files(box);
  hook_window(box, [this](HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
    if (msg == WM_DROPFILES) {
      const DroppedFiles d = take_dropped_files(wp);
      add_files(d.paths, d.at);
      r = 0;
      return true;
    }
    if (msg != WM_PAINT || list_->GetHandleAt(0) >= 1) return false;
    r = call_next(w, msg, wp, lp);
    paint_hint(w);
    return true;
  });
  return true;
}

void Launcher::paint_hint(HWND list) const {
  WindowDc dc(list);
  RECT rc;
  GetClientRect(list, &rc);
  SelectGuard font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), theme::kMuted);
  const std::wstring hint = to_wide("右键添加分组，或把文件拖到这里");
  DrawTextW(dc.get(), hint.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The group of the row at `at`; below the last row, the last group; 0 with no group at all.
int Launcher::group_at(POINT at) const {
  HWND box = reinterpret_cast<HWND>(list_->list_window());
  const LRESULT hit = SendMessageW(box, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
  int last = 0;
  for (int row = 0, h; (h = list_->GetHandleAt(row)) >= 1; ++row) {
    grouplist::ElementRecord e;
    if (!list_->ReadElement(h, e)) continue;
    const int group = e.kind == grouplist::kGroupKind ? e.handle : e.group;
    if (!HIWORD(hit) && row == LOWORD(hit)) return group;
    last = group;
  }
  return last;
}

bool Launcher::add_files(const std::vector<std::string>& paths, POINT at) {
  if (paths.empty() || !list_) return false;
  int group = group_at(at);
  const bool new_group = group == 0;
  if (new_group) group = list_->AddGroup("常用");
  std::vector<int> added;
  for (const std::string& path : paths) {
    grouplist::ItemRecord r;
    r.group = group;
    r.avatar = launcher_icon(path, IconMode::Adding);
    const DWORD attributes = GetFileAttributesW(to_wide(path).c_str());
    r.name = item_name_for(path, attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    r.remark = path;
    r.online = false;
    if (list_->AddItem(r, {}, false)) added.push_back(r.handle);
  }
  if (!save()) {  // nothing is added that set.ini does not hold
    for (int h : added) list_->Remove(h);
    if (new_group) list_->DeleteGroups(group, true);
    message_box("无法写入 set.ini（程序所在的文件夹只读？），拖入的文件没有添加。", MB_OK | MB_ICONWARNING, "Tarvo");
    return false;
  }
  list_->ExpandGroup(group);
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
