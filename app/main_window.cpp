#include "app/shell.h"

#include "app/shell_pictures.h"
#include "app/launcher_win.h"
#include "app/links.h"
#include "app/update_notice.h"
#include "platform/handles.h"
#include "platform/http_win.h"
#include "platform/msgbox.h"
#include "platform/shell_win.h"
#include "codemanager/codemanager.h"
#include "imagetool/imagetool.h"
#include "radar/radar.h"
#include "resources/shell_windows.h"
#include "util/hotkey.h"

namespace tb::shell {

using namespace res::main_names;

namespace {
MainWindow* g_main = nullptr;

constexpr UINT kUpdateReply = WM_APP + 1;  // the update page has been read, or not
constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

dock::Screen screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
}  // namespace

State& state() {
  static State s;
  return s;
}

MainWindow* main_window() { return g_main; }

bool open_main_window() {
  OpenOptions o;
  o.topmost = true;  // the toolbox stays on top from the start
  return Window::open_single(g_main, res::kMainWindow, o) != nullptr;
}

void MainWindow::on_created() {
  using namespace pictures;
  const int pct = scale_pct();

  set_painter(kSettingsLabel, caption_label("设置", pct));
  set_painter(kMinimise, minimise_button(pct));
  set_painter(kClose, close_button(pct));
  set_painter(kAvatar, avatar(pct));
  set_painter(kToolsTabShown, tab_selected("工具", pct));
  set_painter(kRankTabShown, tab_selected("排行", pct));
  set_painter(kNotesTabShown, tab_selected("说明", pct));
  set_painter(kToolsTab, tab_idle("工具", pct));
  set_painter(kRankTab, tab_idle("排行", pct));
  set_painter(kNotesTab, tab_idle("说明", pct));
  set_painter(kSearchFrame, search_frame(pct));
  set_painter(kContactCard, contact_card(pct));
  set_painter(kRadarButton, tool(ToolIcon::Radar, pct));
  set_painter(kImageToolButton, tool(ToolIcon::ImageTool, pct));
  set_painter(kCodeManagerButton, tool(ToolIcon::CodeManager, pct));
  set_painter(kNotepadButton, tool(ToolIcon::Notepad, pct));
  set_painter(kCalculatorButton, tool(ToolIcon::Calculator, pct));
  set_painter(kPaintButton, tool(ToolIcon::Paint, pct));

  on(kMinimise, Event::Click, [this](const EventArgs&) { ShowWindow(hwnd(), SW_MINIMIZE); });
  on(kClose, Event::Click, [this](const EventArgs&) { exit_process(); });
  // Alt+F4, the taskbar or another program: the same exit, never a window gone while the
  // process lives on.
  on("", Event::Close, [this](EventArgs& a) {
    a.refuse();
    exit_process();
  });
  on(kToolsTab, Event::Click, [this](const EventArgs&) { select_tab(0); });
  on(kRankTab, Event::Click, [this](const EventArgs&) { select_tab(1); });
  on(kNotesTab, Event::Click, [this](const EventArgs&) { select_tab(2); });
  on(kDockTimer, Event::Tick, [this](const EventArgs&) { timer_check(); });
  on(kRadarButton, Event::Click, [](const EventArgs&) { radar::open(); });
  on(kImageToolButton, Event::Click, [](const EventArgs&) { imagetool::open(); });
  on(kCodeManagerButton, Event::Click, [](const EventArgs&) { codemanager::open(ask_for_text); });
  on(kNotepadButton, Event::Click, [](const EventArgs&) { start_system_program("notepad.exe"); });
  on(kCalculatorButton, Event::Click, [](const EventArgs&) { start_system_program("calc.exe"); });
  on(kPaintButton, Event::Click, [](const EventArgs&) { start_system_program("mspaint.exe"); });
  on(kSearchBox, Event::Focus, [this](const EventArgs&) {
    if (text(kSearchBox) == kSearchPlaceholder) set_text(kSearchBox, "");
  });
  on(kSearchBox, Event::KeyDown, [this](EventArgs& a) {
    if (a.key != VK_RETURN) return;
    a.answer(0);  // no beep, no character
    search();
  });
  on(kFeedbackLink, Event::MouseDown, [](const EventArgs&) { shell_open(feedback_address()); });
  on(kContactCard, Event::Click, [](const EventArgs&) { shell_open(contact_address()); });

  // The search box must keep its placeholder: the first focus goes to the launcher's frame.
  SetFocus(control(kLauncherFrame));
  state().docking_margin = 3;
  select_tab(0);
  set_timer(kDockTimer, 50);
  // The launcher and the update check wait for the window's first paint: the window shows
  // at once, and the list appears whole a moment later, filled with its drawing held.
  when_painted([] {
    MainWindow* w = main_window();
    if (!w) return;
    if (launcher().create(w->control(kLauncherFrame))) launcher().load();
    // The update page is read off the UI thread; the window answers meanwhile.
    http_get_async(update_address(), kUserAgent, w->hwnd(), kUpdateReply);
  });
  // The call-out hotkey; a refused registration is silent.
  register_hotkey(hwnd(), MOD_CONTROL | MOD_ALT, 'W',
                  [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
                    activate_main_window();
                    return 0;
                  },
                  "窗口激活置前");
}

void MainWindow::search() {
  std::string q = text(kSearchBox);
  if (q.empty() || q == kSearchPlaceholder) {
    message_box("请输入要搜索的内容！");
    return;
  }
  shell_open(search_address(q));
}

void MainWindow::show_update(std::string_view body) {
  UpdateNotice n = read_update_page(body);
  if (!n.found) return;
  if (n.ask && message_box(n.note, MB_OKCANCEL, "有新版是否下载") == 0) shell_open(update_address());
  set_text(kAuthorLabel, n.message);
}

void MainWindow::select_tab(int n) {
  if (n < 0 || n > 2) return;
  select_page(kPages, n);
  const std::string_view buttons[3] = {kToolsTab, kRankTab, kNotesTab};
  for (int i = 0; i < 3; ++i) show(buttons[i], i != n);
}

dock::Box MainWindow::box() const {
  RECT r;
  GetWindowRect(hwnd(), &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool MainWindow::place(const dock::Box& now, const dock::Box& next) {
  if (next == now) return false;
  placing_ = true;
  SetWindowPos(hwnd(), nullptr, next.left, next.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  placing_ = false;
  return true;
}

void MainWindow::idle_check() {
  // A minimised window or one being dragged is left alone.
  if (!hwnd() || moving_ || IsIconic(hwnd())) return;
  State& s = state();
  GetCursorPos(&s.autohide_point);
  dock::Box b = box();
  place(b, dock::on_idle(b, screen(), s.docking_margin, s.autohide_point.x, s.autohide_point.y));
}

void MainWindow::timer_check() {
  if (!hwnd() || moving_ || IsIconic(hwnd())) return;
  State& s = state();
  GetCursorPos(&s.autohide_point);
  dock::Box b = box();
  place(b, dock::on_timer(b, screen(), s.docking_margin, s.autohide_point.x, s.autohide_point.y));
}

void MainWindow::activate() {
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  dock::Box b = box();
  place(b, dock::activate(b, screen()));
  SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd());
}

void MainWindow::exit_process() {
  // Every other window closes first through its own close handler, so unsaved work is
  // asked about; one that stays open keeps the toolbox running.
  if (!Window::close_all(this)) return;
  destroy();
  ProcessHandle self(OpenProcess(PROCESS_TERMINATE, FALSE, GetCurrentProcessId()));
  TerminateProcess(self ? self.get() : GetCurrentProcess(), 0);
}

bool MainWindow::on_message(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case kUpdateReply: {
      std::unique_ptr<HttpReply> reply = take_http_reply(lp);
      show_update(reply->body);
      result = 0;
      return true;
    }
    case WM_ENTERSIZEMOVE:
      moving_ = true;
      return false;
    case WM_WINDOWPOSCHANGED: {
      // A move from outside a drag (another program, a script) snaps as a drag's end does;
      // our own docking moves do not.
      auto* wp = reinterpret_cast<const WINDOWPOS*>(lp);
      if (!(wp->flags & SWP_NOMOVE) && !moving_ && !placing_ && !IsIconic(hwnd())) {
        dock::Box b = box();
        place(b, dock::snap(b, screen(), state().docking_margin));
      }
      return false;
    }
    case WM_EXITSIZEMOVE: {
      moving_ = false;
      dock::Box b = box();
      place(b, dock::snap(b, screen(), state().docking_margin));
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void activate_main_window() {
  if (g_main) g_main->activate();
}

}  // namespace tb::shell
