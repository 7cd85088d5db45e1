// Lifetime and dispatch: windows from their tables, the registry of open windows, modal
// windows, handlers by name and event, the message loop.
#include "platform/window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "base/encoding.h"
#include "base/text.h"
#include "platform/hook.h"
#include "platform/kinds.h"
#include "platform/late_bind.h"
#include "platform/shell_win.h"

namespace tb {

namespace detail {
HINSTANCE g_inst = nullptr;
}
using namespace detail;

namespace {
// The row of d's container; -1 when it sits on the window itself (or names no row).
int container_row(const std::vector<ControlDef>& rows, const ControlDef& d) {
  if (d.parent.empty()) return -1;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].name == d.parent) return static_cast<int>(i);
  return -1;
}

// The rows in the order their windows are made. A new child window goes beneath its
// siblings, so each container's children are made top first: later rows of the table lie
// above earlier ones, as in the stored layouts, and shape boxes (frames and backdrops) lie
// beneath their siblings. Stacking them so costs no window moves afterwards, each a round
// trip to the server under Wine. A container is made before what it holds.
std::vector<std::size_t> creation_order(const WindowDef& def) {
  const std::vector<ControlDef>& rows = def.controls;
  // Where each row sits: its container's row (-1: the window) and, on a tab, the page.
  std::vector<std::pair<int, int>> at;
  for (const ControlDef& d : rows) {
    const int p = container_row(rows, d);
    at.emplace_back(p, p >= 0 && rows[static_cast<std::size_t>(p)].kind == Kind::Tab ? d.page : -1);
  }
  std::vector<std::size_t> order;
  std::function<void(int, int)> visit = [&](int parent, int page) {
    std::vector<std::size_t> kids;
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (at[i] == std::pair<int, int>{parent, page}) kids.push_back(i);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it)
      if (rows[*it].kind != Kind::ShapeBox) order.push_back(*it);
    for (std::size_t i : kids)
      if (rows[i].kind == Kind::ShapeBox) order.push_back(i);
    for (std::size_t i : kids) {
      const int pages = rows[i].kind == Kind::Tab ? static_cast<int>(split(rows[i].text, "|").size()) : 0;
      visit(static_cast<int>(i), -1);
      for (int p = 0; p < pages; ++p) visit(static_cast<int>(i), p);
    }
  };
  visit(-1, -1);
  return order;
}

// For each row, the tab page (tab's row, page) that holds it, directly or through its
// containers, when that page is not the one shown at first; else (-1, -1). A row on pages of
// nested tabs goes with the outermost of them.
std::vector<std::pair<int, int>> deferred_pages(const WindowDef& def) {
  const std::vector<ControlDef>& rows = def.controls;
  std::vector<std::pair<int, int>> out(rows.size(), {-1, -1});
  for (std::size_t i = 0; i < rows.size(); ++i) {
    int cur = static_cast<int>(i);
    for (int guard = 0; guard < 64; ++guard) {  // a table naming itself as its own container ends
      const int p = container_row(rows, rows[static_cast<std::size_t>(cur)]);
      if (p < 0) break;
      if (rows[static_cast<std::size_t>(p)].kind == Kind::Tab && rows[static_cast<std::size_t>(cur)].page > 0)
        out[i] = {p, rows[static_cast<std::size_t>(cur)].page};
      cur = p;
    }
  }
  return out;
}

// Open windows, oldest first. Never destroyed: windows get messages during static teardown.
std::vector<Window*>& open_list() {
  static auto* v = new std::vector<Window*>;
  return *v;
}
}  // namespace

// What a modal window's loop needs: where its result goes and the windows it disabled.
struct Window::Modal {
  int result = 0;
  std::vector<HWND> disabled;
  void enable_others() {
    for (HWND h : disabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    disabled.clear();
  }
};

Window::Window() = default;

Window::Busy::~Busy() {
  if (--w->depth_ == 0 && w->dead_) delete w;
}

Window::~Window() {
  // Reached once the window is gone and its messages have returned, or for an object whose
  // window was never made.
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

CommonControlsLook::CommonControlsLook() {
  // The program's second manifest (resource 101) names the library's version 6.
  static const HANDLE context = [] {
    ACTCTXW a{sizeof a};
    a.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    a.hModule = GetModuleHandleW(nullptr);
    a.lpResourceName = MAKEINTRESOURCEW(101);
    return CreateActCtxW(&a);
  }();
  if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

CommonControlsLook::~CommonControlsLook() {
  if (active_) DeactivateActCtx(0, cookie_);
}

namespace detail {
void need_common_controls() {
  // Loaded by the first tree or tooltip, not at start-up: under Wine the library and what it
  // pulls in take as long to load as the main window takes to appear.
  static const bool done = [] {
    CommonControlsLook look;
    TB_LATE(L"comctl32.dll", InitCommonControlsEx);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                             ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    return InitCommonControlsEx && InitCommonControlsEx(&icc);
  }();
  (void)done;
}
}  // namespace detail

int screen_dpi() {
  WindowDc dc(nullptr);
  int dpi = dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 96;
  return dpi > 0 ? dpi : 96;
}

void init_framework(HINSTANCE inst) {
  g_inst = inst;

  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_DBLCLKS;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
  wc.lpfnWndProc = &Window::window_proc;
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  wc.hIcon = nullptr;
  wc.lpfnWndProc = &child_proc;
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
}

bool dispatch_pending(int& quit_code) {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      quit_code = static_cast<int>(m.wParam);
      return false;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return true;
}

void pump_pending() {
  int code = 0;
  if (!dispatch_pending(code)) PostQuitMessage(code);  // for the loop that owns it
}

void pump_pending_input() {
  if (HIWORD(GetQueueStatus(QS_INPUT))) pump_pending();
}

namespace {
struct PaintedTasks {
  std::vector<std::function<void()>> queue;
  UINT_PTR timer = 0;
};
thread_local PaintedTasks t_painted;

void CALLBACK run_painted(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  t_painted.timer = 0;
  std::vector<std::function<void()>> now;
  now.swap(t_painted.queue);  // tasks given meanwhile wait for a timer of their own
  for (auto& task : now) task();
}
}  // namespace

void when_painted(std::function<void()> task) {
  t_painted.queue.push_back(std::move(task));
  if (!t_painted.timer) t_painted.timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &run_painted);
}

int run_message_loop(const std::function<void()>& idle) {
  int code = 0;
  for (;;) {
    if (!dispatch_pending(code)) return code;
    if (idle) idle();
    WaitMessage();
  }
}

Window* Window::from(HWND w) {
  if (!w) return nullptr;
  for (Window* x : open_list())
    if (x->hwnd_ == w) return x;
  return nullptr;
}

std::vector<Window*> Window::open_windows() { return open_list(); }

bool Window::close_all(Window* except) {
  // Newest first: a window opened from another closes before it.
  std::vector<Window*> all = open_list();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    if (*it == except) continue;
    auto& now = open_list();
    if (std::find(now.begin(), now.end(), *it) == now.end()) continue;  // gone with another
    HWND h = (*it)->hwnd_;
    SendMessageW(h, WM_CLOSE, 0, 0);
    if (IsWindow(h) && from(h)) return false;
  }
  return true;
}

bool Window::build(const WindowDef& def, const OpenOptions& o, std::function<void()> gone) {
  gone_ = std::move(gone);
  def_ = &def;
  dpi_ = screen_dpi();
  int w = scale(def.w), h = scale(def.h);
  int x = def.x >= 0 ? scale(def.x) : (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int y = def.y >= 0 ? scale(def.y) : (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  const DWORD ex = WS_EX_APPWINDOW | (o.topmost ? WS_EX_TOPMOST : 0);
  HWND made = CreateWindowExW(ex, kWindowClass, to_wide(def.caption).c_str(),
                              WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, x, y, w, h, o.owner, nullptr, g_inst, this);
  if (!made) {
    if (gone_) gone_();
    delete this;
    return false;
  }
  // From here on the window owns the object; it stays whole until this call returns.
  Busy busy(this);
  host_ = std::make_unique<PaintedHost>(made, nullptr);
  for (std::size_t i = 0; i < def.controls.size(); ++i) {
    controls_.push_back(make_control(*this, i));
    by_name_.emplace(std::string(def.controls[i].name), i);
    if (def.controls[i].tip_at != Tip::None) pending_tips_ = true;
    if (def.controls[i].kind == Kind::FileDrop) accept_dropped_files(made);
  }
  page_of_ = deferred_pages(def);
  for (std::size_t i : creation_order(def))
    if (page_of_[i].first < 0) controls_[i]->create();
  // Shown before its created handler runs, as a loaded window is; the handler's work (pictures,
  // hotkeys) is done before the first paint reaches the screen.
  if (o.show) ShowWindow(made, SW_SHOW);
  if (!dead_) on_created();
  // The handler may have closed the window.
  return !dead_;
}

void Window::bring_forward() {
  if (!hwnd_) return;
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
}

void Window::open_page(std::pair<int, int> page) {
  if (page.first < 0 || !made_pages_.insert(page).second) return;
  controls_[static_cast<std::size_t>(page.first)]->inner(page.second);  // the page's own window first
  for (std::size_t i : creation_order(*def_))
    if (page_of_[i] == page) controls_[i]->create();
}

Control* Window::made(std::string_view name) {
  Control* c = find(name);
  if (c && !c->made() && c->index() < page_of_.size()) open_page(page_of_[c->index()]);
  return c;
}

int Window::modal_loop(Window* w, const WindowDef& def, const OpenOptions& o) {
  Modal modal;
  // The others are disabled before the window exists, so nothing reaches them meanwhile.
  for (Window* x : open_list())
    if (x->hwnd_ && IsWindowEnabled(x->hwnd_)) {
      EnableWindow(x->hwnd_, FALSE);
      modal.disabled.push_back(x->hwnd_);
    }
  w->modal_ = &modal;
  HWND h = w->build(def, o, {}) ? w->hwnd_ : nullptr;
  bool quit = false;
  int code = 0;
  while (h && IsWindow(h)) {
    if (!dispatch_pending(code)) {
      quit = true;
      break;
    }
    if (IsWindow(h)) WaitMessage();
  }
  modal.enable_others();
  if (quit) {
    if (h && IsWindow(h)) DestroyWindow(h);
    PostQuitMessage(code);  // the outer loop ends too
  }
  return modal.result;
}

void Window::end_modal(int result) {
  if (!hwnd_ || destroying_) return;  // the first end stands
  if (modal_) modal_->result = result;
  destroy();
}

void Window::close() {
  if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Window::destroy() {
  if (!hwnd_ || destroying_) return;
  destroying_ = true;
  // Enabled again before this one goes, so activation returns to them, not another program.
  if (modal_) modal_->enable_others();
  DestroyWindow(hwnd_);
}

void Window::note_unknown(std::string_view name) const {
  if (!name.empty() && def_ && !find_control(*def_, name)) unknown_.emplace(name);
}

void Window::on(std::string_view name, Event ev, Handler h) {
  note_unknown(name);
  handlers_[{std::string(name), ev}] = std::make_shared<Handler>(std::move(h));
}

bool Window::fire(std::string_view name, Event ev, EventArgs& a) {
  auto it = handlers_.find(std::pair<std::string, Event>{std::string(name), ev});
  if (it == handlers_.end() || !it->second || !*it->second) return false;
  std::shared_ptr<Handler> h = it->second;  // the handler may rebind itself or close the window
  (*h)(a);
  return a.handled;
}

bool Window::bound(std::string_view name, Event ev) const {
  auto it = handlers_.find(std::pair<std::string, Event>{std::string(name), ev});
  return it != handlers_.end() && it->second && *it->second;
}

bool Window::on_message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void Window::finish() {
  if (tooltip_) DestroyWindow(tooltip_);
  tooltip_ = nullptr;
  on_destroyed();
  auto& v = open_list();
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  if (gone_) gone_();
  if (modal_) modal_->enable_others();
  modal_ = nullptr;
  hwnd_ = nullptr;
  dead_ = true;  // deleted once the messages under way have returned
}

LRESULT CALLBACK Window::window_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  // The object sits in the window's user data: a property look-up on every message is a
  // server round trip under Wine.
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = h;
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    open_list().push_back(self);
  }
  if (!self) return DefWindowProcW(h, msg, wp, lp);
  Busy busy(self);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    self->finish();
    return DefWindowProcW(h, msg, wp, lp);
  }
  return self->handle(msg, wp, lp);
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  // Any control passes the cursor question up to here: the mouse is over the window.
  if (msg == WM_SETCURSOR) add_pending_tooltips();
  if (host_ && host_->message(msg, wp, lp, r)) return r;
  if (on_message(msg, wp, lp, r)) return r;
  if (reflect_notification(hwnd_, msg, wp, lp, r) || body_colours(msg, wp, r)) return r;
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_NCPAINT:
      if (lacks_frame(hwnd_)) return 0;
      break;
    case WM_PAINT: paint_client(hwnd_, [this](HDC dc, const RECT& rc) { paint(dc, rc); }); return 0;
    case WM_NCHITTEST: {
      // The caption band drags the window, but for the rows painted on it.
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(hwnd_, &p);
      return host_->at(p) || p.y < 0 || p.y >= scale(theme::kCaptionHeight) ? HTCLIENT : HTCAPTION;
    }
    case WM_CLOSE: {
      EventArgs a;
      if (!fire("", Event::Close, a) || a.result) destroy();  // else refused
      return 0;
    }
    case WM_TIMER:
      if (Control* c = by_id(static_cast<int>(wp))) {
        fire(c->def().name, Event::Tick);
        return 0;
      }
      break;
    case WM_DROPFILES: drop_files(wp); return 0;
    case WM_RBUTTONUP: {  // the window's own background
      EventArgs a;
      a.x = GET_X_LPARAM(lp);
      a.y = GET_Y_LPARAM(lp);
      if (fire("", Event::RightClick, a)) return 0;
      break;
    }
    default: break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::paint(HDC dc, const RECT& rc) {
  if (background_) background_(dc, rc, theme::Face::Normal);
  else theme::window_background(dc, rc, def_ ? def_->caption : "", scale_pct(), def_ && def_->caption_bar);
  host_->paint(dc);
}

void Window::drop_files(WPARAM wp) {
  EventArgs a;
  a.files = take_dropped_files(wp).paths;
  for (auto& c : controls_)
    if (c->def().kind == Kind::FileDrop) fire(c->def().name, Event::Drop, a);
}

// ---- Rows by stored name ----

Control* Window::find(std::string_view name) {
  auto it = by_name_.find(name);
  if (it != by_name_.end()) return controls_[it->second].get();
  note_unknown(name);
  return nullptr;
}
const Control* Window::find(std::string_view name) const { return const_cast<Window*>(this)->find(name); }

Control* Window::by_id(int id) {
  const auto i = static_cast<std::size_t>(id - kFirstControlId);
  return id >= kFirstControlId && i < controls_.size() ? controls_[i].get() : nullptr;
}

HWND Window::container_of(const ControlDef& d) {
  Control* p = d.parent.empty() ? nullptr : find(d.parent);
  HWND in = p ? p->inner(d.page) : nullptr;
  return in ? in : hwnd_;
}

PaintedHost* Window::host_of(const ControlDef& d) {
  Control* p = d.parent.empty() ? nullptr : find(d.parent);
  PaintedHost* in = p ? p->inner_host(d.page) : nullptr;
  return in ? in : host_.get();
}

HWND Window::control(std::string_view name) const {
  // Asking for the window of a row on a page not yet shown makes that page's windows.
  const Control* c = const_cast<Window*>(this)->made(name);
  return c ? c->hwnd() : nullptr;
}

const ControlDef* Window::control_def(std::string_view name) const {
  const Control* c = find(name);
  return c ? &c->def() : nullptr;
}

bool Window::locate(std::string_view name, HWND& in, RECT& r) {
  Control* c = made(name);
  return c && c->locate(in, r);
}

bool Window::visible(std::string_view name) {
  Control* c = made(name);
  return c && c->visible();
}

void Window::set_painter(std::string_view name, Painter p) {
  if (name.empty()) {
    background_ = std::move(p);
  } else if (Control* c = find(name)) {
    c->painter = std::move(p);
  }
  repaint(name);
}

void Window::repaint(std::string_view name) {
  if (name.empty()) {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
  } else if (Control* c = find(name)) {
    c->repaint();  // one not made yet paints when it is
  }
}

std::string Window::text(std::string_view name) const {
  if (!name.empty()) {
    const Control* c = const_cast<Window*>(this)->made(name);
    return c ? c->text() : std::string();
  }
  std::wstring w(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  w.resize(static_cast<std::size_t>(std::max(GetWindowTextW(hwnd_, w.data(), static_cast<int>(w.size())), 0)));
  return to_gbk(w);
}

void Window::set_text(std::string_view name, std::string_view t) {
  if (name.empty()) {
    SetWindowTextW(hwnd_, to_wide(t).c_str());
  } else if (Control* c = made(name)) {
    c->set_text(t);
  }
}

void Window::show(std::string_view name, bool on) {
  if (Control* c = made(name)) c->show(on);
}

bool Window::checked(std::string_view name) const {
  HWND h = control(name);
  return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::set_checked(std::string_view name, bool on) {
  if (HWND h = control(name)) SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Window::select_page(std::string_view tab, int page) {
  Control* c = made(tab);
  if (!c || c->def().kind != Kind::Tab) return;
  auto* t = static_cast<TabControl*>(c);
  if (page < 0 || page >= t->pages()) return;
  open_page({static_cast<int>(c->index()), page});  // its rows are made before the page shows
  t->select(page);
}

int Window::selected_page(std::string_view tab) const {
  const Control* c = find(tab);
  return c && c->def().kind == Kind::Tab ? static_cast<const TabControl*>(c)->selected() : -1;
}

void Window::set_timer(std::string_view name, unsigned ms) {
  if (Control* c = find(name)) SetTimer(hwnd_, static_cast<UINT_PTR>(c->id()), ms, nullptr);
}

void Window::kill_timer(std::string_view name) {
  if (Control* c = find(name)) KillTimer(hwnd_, static_cast<UINT_PTR>(c->id()));
}

void Window::set_scroll(std::string_view name, int min, int max, int page, int pos) {
  Control* c = made(name);
  if (c && c->made() && c->def().kind == Kind::HScrollBar) static_cast<ScrollControl*>(c)->set_range(min, max, page, pos);
}

int Window::scroll_pos(std::string_view name) const {
  const Control* c = const_cast<Window*>(this)->made(name);
  return c && c->made() && c->def().kind == Kind::HScrollBar ? static_cast<const ScrollControl*>(c)->position() : 0;
}

void Window::set_cursor(std::string_view name, HCURSOR cur) {
  Control* c = find(name);
  if (!c) return;
  c->cursor = cur;
  POINT p;
  GetCursorPos(&p);
  if (HWND h = c->hwnd(); h && (WindowFromPoint(p) == h || GetCapture() == h))
    SetCursor(cur ? cur : LoadCursorW(nullptr, IDC_ARROW));
}

void Window::caption_buttons(std::string_view minimise, std::string_view close) {
  const int pct = scale_pct();
  set_painter(minimise, [pct](HDC dc, const RECT& r, theme::Face f) { theme::minimise_glyph(dc, r, f, pct); });
  set_painter(close, [pct](HDC dc, const RECT& r, theme::Face f) { theme::close_glyph(dc, r, f, pct); });
  on(minimise, Event::Click, [this](const EventArgs&) { ShowWindow(hwnd_, SW_SHOWMINNOACTIVE); });
  on(close, Event::Click, [this](const EventArgs&) { this->close(); });
}

void Window::set_topmost(bool on) {
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Window::show_popup_menu(std::string_view name) {
  const Control* c = find(name);
  if (!c || c->def().kind != Kind::PopupMenu) return;
  EventArgs a;
  a.item = choose_from_menu(split(c->def().text, "|"));
  if (a.item >= 0) fire(c->def().name, Event::Menu, a);
}

int Window::choose_from_menu(const std::vector<std::string>& items, std::string_view group) {
  constexpr int kMenuBase = 40000;  // command ids: base + item
  if (items.empty() && group.empty()) return -1;
  HMENU m = CreatePopupMenu(), into = m;
  if (!group.empty()) {  // the menu owns the group's menu: both go with DestroyMenu
    into = CreatePopupMenu();
    AppendMenuW(m, MF_POPUP | (items.empty() ? MF_GRAYED : 0), reinterpret_cast<UINT_PTR>(into),
                to_wide(group).c_str());
  }
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == "-") AppendMenuW(into, MF_SEPARATOR, 0, nullptr);  // keeps its place in the item numbers
    else AppendMenuW(into, MF_STRING, static_cast<UINT_PTR>(kMenuBase + i), to_wide(items[i]).c_str());
  POINT p;
  GetCursorPos(&p);
  SetForegroundWindow(hwnd_);
  const int cmd = TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd_, nullptr);
  DestroyMenu(m);
  return cmd > 0 ? cmd - kMenuBase : -1;
}

Surface Window::surface(std::string_view name) {
  Control* c = made(name);
  return c && c->def().kind == Kind::DrawingPanel ? static_cast<PanelControl*>(c)->surface() : Surface{};
}

bool Window::set_surface(std::string_view name, Dib dib) {
  Control* c = made(name);
  return c && c->def().kind == Kind::DrawingPanel && static_cast<PanelControl*>(c)->set_surface(std::move(dib));
}

bool Window::renew(std::string_view name) {
  Control* c = made(name);
  return c && c->renew();
}

}  // namespace tb
