#include "platform/window.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "base/encoding.h"
#include "base/text.h"
#include "platform/handles.h"

namespace tb {

namespace {

constexpr wchar_t kWindowClass[] = L"TbWindow";
constexpr wchar_t kContainerClass[] = L"TbContainer";
constexpr wchar_t kWindowProp[] = L"tb.window";
constexpr int kMenuBase = 40000;  // pop-up menu command ids: base + control index * 100 + item

HINSTANCE g_inst = nullptr;
const wchar_t* g_rich_class = L"RichEdit20W";

bool is_container(Kind k) {
  return k == Kind::PictureButton || k == Kind::ShapeBox || k == Kind::PictureBox ||
         k == Kind::DrawingPanel || k == Kind::Tab;
}

// Runs a WM_PAINT: paint(dc, client rectangle) between BeginPaint and EndPaint.
template <class Paint>
void paint_client(HWND h, Paint&& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  paint(dc, rc);
  EndPaint(h, &ps);
}

HBRUSH body_brush() {
  static GdiBrush b(CreateSolidBrush(theme::kBody));
  return b.get();
}

}  // namespace

// The DIB section behind a drawing panel.
struct Dib {
  MemDc dc;
  GdiBitmap bmp;
  HGDIOBJ old = nullptr;
  Surface s;
  Dib(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc.reset(CreateCompatibleDC(nullptr));
    bmp.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bmp) return;
    old = SelectObject(dc.get(), bmp.get());
    s = Surface{dc.get(), static_cast<std::uint32_t*>(bits), w, h};
    const std::uint32_t body = (GetRValue(theme::kBody) << 16) | (GetGValue(theme::kBody) << 8) | GetBValue(theme::kBody);
    std::fill(s.pixels, s.pixels + static_cast<std::size_t>(w) * static_cast<std::size_t>(h), body);
  }
  ~Dib() {
    if (old) SelectObject(dc.get(), old);
  }
};

struct Window::Ctl {
  Window* owner = nullptr;  // read on every message, so no property look-up is needed
  const ControlDef* def = nullptr;
  std::size_t index = 0;
  HWND hwnd = nullptr;
  Painter painter;
  theme::Face face = theme::Face::Normal;
  bool pressed = false;
  bool tracking = false;
  HCURSOR cursor = nullptr;
  std::vector<HWND> pages;
  int page = 0;
  int line_step = 1, page_step = 10;
  std::vector<std::string> items;  // pop-up menu
  std::unique_ptr<Dib> dib;         // drawing panel
  WNDPROC old_proc = nullptr;       // standard control's own procedure
  int id() const { return kFirstControlId + static_cast<int>(index); }
};

Window::Window() = default;

Window::~Window() {
  self_delete_ = false;
  if (hwnd_) DestroyWindow(hwnd_);
}

int screen_dpi() {
  WindowDc dc(nullptr);
  int dpi = dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 96;
  return dpi > 0 ? dpi : 96;
}

void init_framework(HINSTANCE inst) {
  g_inst = inst;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                           ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_DBLCLKS;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
  wc.lpfnWndProc = &Window::window_proc;
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  wc.hIcon = nullptr;
  wc.lpfnWndProc = &Window::container_proc;
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
}

int run_message_loop(const std::function<void()>& idle) {
  MSG m;
  for (;;) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) return static_cast<int>(m.wParam);
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    if (idle) idle();
    WaitMessage();
  }
}

namespace {
BOOL CALLBACK flatten_child(HWND h, LPARAM) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
  bool framed = lstrcmpiW(cls, L"Edit") == 0 || lstrcmpiW(cls, L"ListBox") == 0 ||
                lstrcmpiW(cls, WC_TREEVIEWW) == 0 || wcsncmp(cls, L"RichEdit", 8) == 0 ||
                wcsncmp(cls, L"RICHEDIT", 8) == 0;
  if (framed && (ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) {
    SetWindowLongPtrW(h, GWL_EXSTYLE, ex & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | WS_BORDER);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  return TRUE;
}

BOOL CALLBACK flatten_top(HWND top, LPARAM) {
  EnumChildWindows(top, flatten_child, 0);
  return TRUE;
}
}  // namespace

void apply_flat_look(int style) {
  if (style < 1) return;
  EnumThreadWindows(GetCurrentThreadId(), flatten_top, 0);
}

Window* Window::from(HWND w) { return w ? static_cast<Window*>(GetPropW(w, kWindowProp)) : nullptr; }

bool Window::create(const WindowDef& def, HWND owner, bool show) {
  if (hwnd_) return false;
  def_ = &def;
  dpi_ = screen_dpi();
  int w = scale(def.w), h = scale(def.h);
  int x = def.x >= 0 ? scale(def.x) : (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int y = def.y >= 0 ? scale(def.y) : (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HWND created = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, to_wide(def.caption).c_str(),
                                 WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, x, y, w, h, owner, nullptr, g_inst, this);
  if (!created) return false;
  ctls_.clear();
  by_name_.clear();
  for (std::size_t i = 0; i < def.controls.size(); ++i) create_control(i);
  // Later rows of the table lie above earlier ones, as in the stored layouts; shape boxes
  // are frames and backdrops, so they stay beneath their siblings.
  for (auto& c : ctls_)
    if (c->hwnd)
      SetWindowPos(c->hwnd, c->def->kind == Kind::ShapeBox ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Shown before its created handler runs, as a loaded window is; the handler's work (pictures,
  // tooltips, hotkeys) is done before the first paint reaches the screen.
  if (show) ShowWindow(hwnd_, SW_SHOW);
  on_created();
  return hwnd_ != nullptr;
}

void Window::close() {
  if (hwnd_) DestroyWindow(hwnd_);
}

HWND Window::container_of(const ControlDef& d) const {
  if (d.parent.empty()) return hwnd_;
  const Ctl* p = find(d.parent);
  if (!p) return hwnd_;
  if (p->def->kind == Kind::Tab && d.page >= 0 && d.page < static_cast<int>(p->pages.size())) return p->pages[d.page];
  return p->hwnd ? p->hwnd : hwnd_;
}

void Window::create_control(std::size_t index) {
  const ControlDef& d = def_->controls[index];
  auto c = std::make_unique<Ctl>();
  c->owner = this;
  c->def = &d;
  c->index = index;
  HWND parent = container_of(d);
  const wchar_t* cls = nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (d.visible ? WS_VISIBLE : 0);
  DWORD ex = 0;
  std::wstring text = to_wide(d.text);
  switch (d.kind) {
    case Kind::Edit:
      cls = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      ex = WS_EX_CLIENTEDGE;
      break;
    case Kind::Label:
    case Kind::TransparentLabel:
      cls = L"STATIC";
      style |= SS_LEFT | SS_NOTIFY;
      break;
    case Kind::Button:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_OWNERDRAW;
      break;
    case Kind::CheckBox:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case Kind::Radio: {
      cls = L"BUTTON";
      style |= BS_AUTORADIOBUTTON;
      bool first = std::none_of(ctls_.begin(), ctls_.end(), [](auto& o) { return o->def->kind == Kind::Radio; });
      if (first) style |= WS_GROUP | WS_TABSTOP;
      break;
    }
    case Kind::ListBox:
      cls = L"LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      ex = WS_EX_CLIENTEDGE;
      break;
    case Kind::Tree:
      cls = WC_TREEVIEWW;
      style |= WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
      ex = WS_EX_CLIENTEDGE;
      text.clear();
      break;
    case Kind::RichEdit: {
      // Loaded on first use: the rich edit library is slow to load and most windows lack one.
      static const bool loaded = [] {
        if (LoadLibraryW(L"Msftedit.dll")) g_rich_class = MSFTEDIT_CLASS;
        else LoadLibraryW(L"riched20.dll");
        return true;
      }();
      (void)loaded;
      cls = g_rich_class;
      style |= WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
      ex = WS_EX_CLIENTEDGE;
      break;
    }
    case Kind::GroupBox:
      cls = L"BUTTON";
      style |= BS_GROUPBOX;
      break;
    case Kind::HScrollBar:
      cls = L"SCROLLBAR";
      style |= SBS_HORZ;
      text.clear();
      break;
    case Kind::PictureButton:
    case Kind::ShapeBox:
    case Kind::PictureBox:
    case Kind::DrawingPanel:
    case Kind::Tab:
      cls = kContainerClass;
      break;
    case Kind::Timer:
    case Kind::PopupMenu:
      if (d.kind == Kind::PopupMenu) c->items = split(d.text, "|");
      break;
    case Kind::FileDrop:
      DragAcceptFiles(hwnd_, TRUE);
      break;
  }
  Ctl* raw = c.get();
  by_name_.emplace(std::string(d.name), ctls_.size());
  ctls_.push_back(std::move(c));
  if (!cls) return;
  HWND h = CreateWindowExW(ex, cls, text.c_str(), style, scale(d.x), scale(d.y), scale(d.w), scale(d.h), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(raw->id())), g_inst, nullptr);
  raw->hwnd = h;
  if (!h) return;
  SetPropW(h, kWindowProp, this);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(theme::ui_font(scale(12))), FALSE);
  if (cls == kContainerClass) {
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(raw));
    if (d.kind == Kind::Tab) {
      for (const std::string& name : split(d.text, "|")) {
        HWND page = CreateWindowExW(0, kContainerClass, to_wide(name).c_str(), WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                                    scale(d.w), scale(d.h), h, nullptr, g_inst, nullptr);
        SetPropW(page, kWindowProp, this);
        // A page carries its tab's record; it is told apart from the tab by its handle.
        SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(raw));
        raw->pages.push_back(page);
      }
      if (!raw->pages.empty()) ShowWindow(raw->pages[0], SW_SHOW);
    }
  } else {
    // Subclassed through the window procedure and the user data, not SetWindowSubclass: that
    // one looks up a window property on every message, a server round trip under Wine.
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(raw));
    raw->old_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::control_proc)));
  }
  if (d.kind == Kind::HScrollBar) set_scroll(d.name, 1, 100, 10, 1);
  if (d.kind == Kind::DrawingPanel) raw->dib = std::make_unique<Dib>(std::max(1, scale(d.w)), std::max(1, scale(d.h)));
}

Surface Window::surface(std::string_view name) {
  Ctl* c = find(name);
  return (c && c->dib) ? c->dib->s : Surface{};
}

Window::Ctl* Window::find(std::string_view name) {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : ctls_[it->second].get();
}
const Window::Ctl* Window::find(std::string_view name) const {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : ctls_[it->second].get();
}
Window::Ctl* Window::by_hwnd(HWND h) {
  for (auto& c : ctls_)
    if (c->hwnd == h) return c.get();
  return nullptr;
}
Window::Ctl* Window::by_id(int id) {
  std::size_t i = static_cast<std::size_t>(id - kFirstControlId);
  return (id >= kFirstControlId && i < ctls_.size()) ? ctls_[i].get() : nullptr;
}

HWND Window::control(std::string_view name) const {
  const Ctl* c = find(name);
  return c ? c->hwnd : nullptr;
}
const ControlDef* Window::control_def(std::string_view name) const {
  const Ctl* c = find(name);
  return c ? c->def : nullptr;
}

void Window::on(std::string_view name, Event ev, Handler h) {
  handlers_[{std::string(name), ev}] = std::move(h);
}

void Window::fire(std::string_view name, Event ev, const EventArgs& a) {
  auto it = handlers_.find(std::pair<std::string, Event>{std::string(name), ev});
  if (it != handlers_.end() && it->second) {
    Handler h = it->second;  // the handler may rebind or close the window
    h(a);
  }
}

void Window::set_painter(std::string_view name, Painter p) {
  if (name.empty()) {
    background_ = std::move(p);
  } else if (Ctl* c = find(name)) {
    c->painter = std::move(p);
  }
  repaint(name);
}

void Window::repaint(std::string_view name) {
  HWND h = name.empty() ? hwnd_ : control(name);
  if (h) InvalidateRect(h, nullptr, TRUE);
}

std::string Window::text(std::string_view name) const {
  HWND h = name.empty() ? hwnd_ : control(name);
  if (!h) return {};
  int n = GetWindowTextLengthW(h);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  n = GetWindowTextW(h, w.data(), n + 1);
  w.resize(static_cast<std::size_t>(std::max(n, 0)));
  return to_gbk(w);
}

void Window::set_text(std::string_view name, std::string_view t) {
  HWND h = name.empty() ? hwnd_ : control(name);
  if (!h) return;
  SetWindowTextW(h, to_wide(t).c_str());
  const Ctl* c = find(name);
  if (c && c->def->kind == Kind::TransparentLabel) {
    // A transparent label draws no background: let its container repaint under it.
    RECT r;
    GetWindowRect(h, &r);
    HWND parent = GetParent(h);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
  } else if (c && is_container(c->def->kind)) {
    InvalidateRect(h, nullptr, TRUE);
  }
}

void Window::show(std::string_view name, bool visible) {
  if (HWND h = control(name)) ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::checked(std::string_view name) const {
  HWND h = control(name);
  return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::set_checked(std::string_view name, bool on) {
  if (HWND h = control(name)) SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Window::select_page(std::string_view tab, int page) {
  Ctl* c = find(tab);
  if (!c || page < 0 || page >= static_cast<int>(c->pages.size())) return;
  c->page = page;
  for (std::size_t i = 0; i < c->pages.size(); ++i)
    ShowWindow(c->pages[i], static_cast<int>(i) == page ? SW_SHOWNA : SW_HIDE);
}

int Window::selected_page(std::string_view tab) const {
  const Ctl* c = find(tab);
  return c ? c->page : -1;
}

void Window::set_timer(std::string_view name, unsigned ms) {
  if (Ctl* c = find(name)) SetTimer(hwnd_, static_cast<UINT_PTR>(c->id()), ms, nullptr);
}

void Window::kill_timer(std::string_view name) {
  if (Ctl* c = find(name)) KillTimer(hwnd_, static_cast<UINT_PTR>(c->id()));
}

void Window::set_scroll(std::string_view name, int min, int max, int page, int pos) {
  Ctl* c = find(name);
  if (!c || !c->hwnd) return;
  c->page_step = page;
  // The page step is a step, not a thumb size: with a thumb of the page's size the last
  // positions of the range could never be reached.
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, min, max, 0, pos, 0};
  SetScrollInfo(c->hwnd, SB_CTL, &si, TRUE);
}

int Window::scroll_pos(std::string_view name) const {
  HWND h = control(name);
  if (!h) return 0;
  SCROLLINFO si{sizeof si, SIF_POS};
  GetScrollInfo(h, SB_CTL, &si);
  return si.nPos;
}

void Window::set_cursor(std::string_view name, HCURSOR cur) {
  if (Ctl* c = find(name)) {
    c->cursor = cur;
    POINT p;
    GetCursorPos(&p);
    if (c->hwnd && (WindowFromPoint(p) == c->hwnd || GetCapture() == c->hwnd))
      SetCursor(cur ? cur : LoadCursorW(nullptr, IDC_ARROW));
  }
}

void Window::add_tooltip(std::string_view name, std::string_view tip, bool at_pointer) {
  HWND h = control(name);
  if (!h) return;
  if (!tooltip_) {
    // Plain (not balloon) tips that show while the window is inactive too. Not owned by
    // the window: under Wine an owned topmost pop-up keeps its owner from becoming topmost.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_inst,
                               nullptr);
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(theme::ui_font(scale(12))), FALSE);
  }
  std::wstring w = to_wide(tip);
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS | (at_pointer ? 0 : TTF_CENTERTIP);
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(h);
  ti.lpszText = w.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Window::set_topmost(bool on) {
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Window::show_popup_menu(std::string_view name) {
  Ctl* c = find(name);
  if (!c || c->items.empty()) return;
  HMENU m = CreatePopupMenu();
  for (std::size_t i = 0; i < c->items.size(); ++i)
    AppendMenuW(m, MF_STRING, static_cast<UINT_PTR>(kMenuBase + c->index * 100 + i), to_wide(c->items[i]).c_str());
  POINT p;
  GetCursorPos(&p);
  SetForegroundWindow(hwnd_);
  int cmd = TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd_, nullptr);
  DestroyMenu(m);
  if (cmd > 0) {
    EventArgs a;
    a.item = cmd - kMenuBase - static_cast<int>(c->index) * 100;
    fire(c->def->name, Event::Menu, a);
  }
}

bool Window::on_message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void Window::paint_picture(Ctl& c, HDC dc, const RECT& r) {
  if (c.painter) {
    c.painter(dc, r, c.face);
    return;
  }
  theme::fill(dc, r, theme::kBody);
  switch (c.def->kind) {
    case Kind::PictureButton:
      theme::button_face(dc, r, c.def->text, c.face, scale_pct());
      break;
    case Kind::ShapeBox:
    case Kind::Tab:
      theme::frame(dc, r, theme::kBorder);
      break;
    case Kind::DrawingPanel:
      if (c.dib && c.dib->s.dc) BitBlt(dc, 0, 0, c.dib->s.width, c.dib->s.height, c.dib->s.dc, 0, 0, SRCCOPY);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK Window::window_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  // The object sits in the window's user data: a property look-up on every message is a
  // server round trip under Wine.
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = h;
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(h, kWindowProp, self);
  }
  if (!self) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  return self->handle(msg, wp, lp);
}

bool Window::forward_common(UINT msg, WPARAM wp, LPARAM lp, LRESULT& out) {
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp);
      int code = HIWORD(wp);
      Ctl* c = by_id(id);
      if (!c) return false;
      std::string_view n = c->def->name;
      switch (c->def->kind) {
        case Kind::Button:
        case Kind::CheckBox:
        case Kind::Radio:
          if (code == BN_CLICKED) fire(n, Event::Click);
          break;
        case Kind::Edit:
        case Kind::RichEdit:
          if (code == EN_CHANGE) fire(n, Event::Change);
          break;
        case Kind::ListBox:
          if (code == LBN_SELCHANGE) fire(n, Event::Change);
          if (code == LBN_DBLCLK) fire(n, Event::DoubleClick);
          break;
        case Kind::Label:
        case Kind::TransparentLabel:
          if (code == STN_CLICKED) fire(n, Event::Click);
          if (code == STN_DBLCLK) fire(n, Event::DoubleClick);
          break;
        default:
          break;
      }
      out = 0;
      return true;
    }
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      Ctl* c = by_hwnd(nm->hwndFrom);
      if (!c) return false;
      if (nm->code == TVN_SELCHANGEDW) fire(c->def->name, Event::Change);
      else if (nm->code == NM_DBLCLK) fire(c->def->name, Event::DoubleClick);
      else if (nm->code == NM_RCLICK) fire(c->def->name, Event::RightClick);
      out = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wp);
      Ctl* c = by_hwnd(reinterpret_cast<HWND>(lp));
      SetTextColor(dc, theme::kText);
      if (c && c->def->kind == Kind::TransparentLabel) {
        // A label lying on the caption band (a small window's title) reads in the band's colour.
        if (def_->caption_bar && c->def->parent.empty() && c->def->y < theme::kCaptionHeight)
          SetTextColor(dc, theme::kCaptionText);
        SetBkMode(dc, TRANSPARENT);
        out = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      } else {
        SetBkColor(dc, theme::kBody);
        out = reinterpret_cast<LRESULT>(body_brush());
      }
      return true;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      Ctl* c = by_hwnd(di->hwndItem);
      if (!c || c->def->kind != Kind::Button) return false;
      theme::Face f = (di->itemState & ODS_SELECTED) ? theme::Face::Pressed : theme::Face::Normal;
      std::string label = text(c->def->name);
      theme::button_face(di->hDC, di->rcItem, label, f, scale_pct());
      if (di->itemState & ODS_FOCUS) {
        RECT fr = di->rcItem;
        InflateRect(&fr, -scale(3), -scale(3));
        DrawFocusRect(di->hDC, &fr);
      }
      out = TRUE;
      return true;
    }
    case WM_HSCROLL: {
      Ctl* c = by_hwnd(reinterpret_cast<HWND>(lp));
      if (!c) return false;
      SCROLLINFO si{sizeof si, SIF_ALL};
      GetScrollInfo(c->hwnd, SB_CTL, &si);
      int pos = si.nPos;
      switch (LOWORD(wp)) {
        case SB_LINELEFT: pos -= c->line_step; break;
        case SB_LINERIGHT: pos += c->line_step; break;
        case SB_PAGELEFT: pos -= c->page_step; break;
        case SB_PAGERIGHT: pos += c->page_step; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_LEFT: pos = si.nMin; break;
        case SB_RIGHT: pos = si.nMax; break;
        default: break;
      }
      pos = std::clamp(pos, si.nMin, si.nMax);
      if (pos != si.nPos) {
        SCROLLINFO set{sizeof set, SIF_POS, 0, 0, 0, pos, 0};
        SetScrollInfo(c->hwnd, SB_CTL, &set, TRUE);
        EventArgs a;
        a.pos = pos;
        fire(c->def->name, Event::Scroll, a);
      }
      out = 0;
      return true;
    }
    default:
      return false;
  }
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  if (on_message(msg, wp, lp, r)) return r;
  if (forward_common(msg, wp, lp, r)) return r;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint_client(hwnd_, [this](HDC dc, const RECT& rc) {
        if (background_) background_(dc, rc, theme::Face::Normal);
        else theme::window_background(dc, rc, def_ ? def_->caption : "", scale_pct(), def_ && def_->caption_bar);
      });
      return 0;
    case WM_NCHITTEST: {
      // The caption band drags the window.
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(hwnd_, &p);
      if (p.y >= 0 && p.y < scale(theme::kCaptionHeight)) return HTCAPTION;
      return HTCLIENT;
    }
    case WM_TIMER:
      if (Ctl* c = by_id(static_cast<int>(wp))) {
        fire(c->def->name, Event::Tick);
        return 0;
      }
      break;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wp);
      EventArgs a;
      UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < n; ++i) {
        UINT len = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring w(len + 1, L'\0');
        DragQueryFileW(drop, i, w.data(), len + 1);
        w.resize(len);
        a.files.push_back(to_gbk(w));
      }
      DragFinish(drop);
      for (auto& c : ctls_)
        if (c->def->kind == Kind::FileDrop) fire(c->def->name, Event::Drop, a);
      return 0;
    }
    case WM_DESTROY:
      if (tooltip_) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      break;
    case WM_NCDESTROY: {
      on_destroyed();
      for (auto& c : ctls_)
        if (c->hwnd && IsWindow(c->hwnd)) RemovePropW(c->hwnd, kWindowProp);
      RemovePropW(hwnd_, kWindowProp);
      hwnd_ = nullptr;
      tooltip_ = nullptr;
      if (self_delete_) delete this;
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::container_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* c = reinterpret_cast<Ctl*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!c) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    RemovePropW(h, kWindowProp);
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    return DefWindowProcW(h, msg, wp, lp);
  }
  return c->owner->handle_container(*c, h, msg, wp, lp);
}

LRESULT Window::handle_container(Ctl& c, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Ctl* ctl = &c;
  bool page = h != c.hwnd;  // a tab's page
  LRESULT r = 0;
  if (forward_common(msg, wp, lp, r)) return r;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint_client(h, [&](HDC dc, const RECT& rc) {
        if (page) theme::fill(dc, rc, theme::kBody);
        else paint_picture(*ctl, dc, rc);
      });
      return 0;
    default:
      break;
  }
  if (page) return DefWindowProcW(h, msg, wp, lp);
  std::string_view name = ctl->def->name;
  bool button = ctl->def->kind == Kind::PictureButton;
  EventArgs a;
  a.x = GET_X_LPARAM(lp);
  a.y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_SETCURSOR:
      if (ctl->cursor) {
        SetCursor(ctl->cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (button) {
        ctl->pressed = true;
        ctl->face = theme::Face::Pressed;
        SetCapture(h);
        InvalidateRect(h, nullptr, FALSE);
      }
      if (msg == WM_LBUTTONDBLCLK) fire(name, Event::DoubleClick, a);
      fire(name, Event::MouseDown, a);
      return 0;
    case WM_LBUTTONUP: {
      bool was_pressed = ctl->pressed;
      if (button && was_pressed) {
        ctl->pressed = false;
        ReleaseCapture();
        RECT rc;
        GetClientRect(h, &rc);
        POINT p{a.x, a.y};
        bool inside = PtInRect(&rc, p);
        ctl->face = inside ? theme::Face::Hover : theme::Face::Normal;
        InvalidateRect(h, nullptr, FALSE);
        fire(name, Event::MouseUp, a);
        if (inside) fire(name, Event::Click, a);
        return 0;
      }
      fire(name, Event::MouseUp, a);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (button && !ctl->tracking) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
        TrackMouseEvent(&t);
        ctl->tracking = true;
        if (!ctl->pressed) {
          ctl->face = theme::Face::Hover;
          InvalidateRect(h, nullptr, FALSE);
        }
      }
      fire(name, Event::MouseMove, a);
      return 0;
    case WM_MOUSELEAVE:
      ctl->tracking = false;
      if (!ctl->pressed) {
        ctl->face = theme::Face::Normal;
        InvalidateRect(h, nullptr, FALSE);
      }
      return 0;
    case WM_RBUTTONUP:
      fire(name, Event::RightClick, a);
      return 0;
    case WM_CAPTURECHANGED:
      if (button && ctl->pressed) {
        ctl->pressed = false;
        ctl->face = theme::Face::Normal;
        InvalidateRect(h, nullptr, FALSE);
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

LRESULT CALLBACK Window::control_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* c = reinterpret_cast<Ctl*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!c) return DefWindowProcW(h, msg, wp, lp);
  WNDPROC old = c->old_proc;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    return CallWindowProcW(old, h, msg, wp, lp);
  }
  Window* self = c->owner;
  std::string_view name = c->def->name;
  EventArgs a;
  a.x = GET_X_LPARAM(lp);
  a.y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_SETFOCUS: {
      LRESULT r = CallWindowProcW(old, h, msg, wp, lp);
      self->fire(name, Event::Focus, a);
      return r;
    }
    case WM_KEYDOWN: {
      a.key = static_cast<unsigned>(wp);
      self->fire(name, Event::KeyDown, a);
      break;
    }
    case WM_LBUTTONDOWN:
      self->fire(name, Event::MouseDown, a);
      break;
    case WM_LBUTTONUP:
      self->fire(name, Event::MouseUp, a);
      break;
    case WM_RBUTTONUP:
      self->fire(name, Event::RightClick, a);
      break;
    default:
      break;
  }
  return CallWindowProcW(old, h, msg, wp, lp);
}

}  // namespace tb
