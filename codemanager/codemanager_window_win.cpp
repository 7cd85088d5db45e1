#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

#include "base/encoding.h"
#include "base/fileio.h"
#include "base/text.h"
#include "codemanager/codemanager_window.h"
#include "codemanager/folder_ops.h"
#include "codemanager/translator.h"
#include "platform/clipboard_win.h"
#include "platform/handles.h"
#include "platform/late_bind.h"
#include "platform/msgbox.h"
#include "platform/picture.h"
#include "platform/window.h"
#include "resources/codemanager_window.h"
#include "util/file_dialog.h"

namespace tb::codemanager {

namespace n = res::codemanager_names;
using snippets::Outcome;

namespace {

CodeManagerWindow* g_window = nullptr;
std::string g_root;  // handed to the window being made
AskText g_ask;

constexpr char kTitle[] = "Tarvo";
constexpr char kHistory[] = "历史版本";
// Posted by a search's worker: content hits wait to be taken.
constexpr UINT kContentHits = WM_APP + 1;
constexpr char kNoSnippet[] = "请先选择目录后，再拖入资源";
constexpr char kBadName[] = "名称无效：不能为空，不能以 . 结尾，也不能含有 \\ / : * ? \" < > | 这些字符。";
constexpr char kDuplicate[] = "同一级下已有这个名称，请换一个名称。";
constexpr char kRenameFailed[] = "改名失败，文件夹没有改动。";
constexpr char kCreateFailed[] = "创建文件夹失败。";
constexpr char kDeleteFailed[] = "删除失败，文件夹仍然存在。";
constexpr char kSaveFailed[] = "保存失败，原来的源码文件没有改动。";
constexpr char kImportFailed[] = "有资源没有导入，请检查文件和目录。";
constexpr char kResourceDeleteFailed[] = "删除资源失败。";
constexpr char kExportFailed[] = "导出资源失败。";
constexpr char kCopyFailed[] = "复制到剪贴板失败。";
constexpr char kTooBig[] = "源码文件太大（超过 2 MB），不能显示，也不能在这里保存。";
// Larger sources are not shown: the rich edit takes minutes over a million lines.
constexpr std::size_t kMaxSource = 2u * 1024 * 1024;

void tell(std::string_view text) { message_box(text, MB_OK, kTitle); }

struct PidlTraits {
  static LPITEMIDLIST invalid() { return nullptr; }
  static void close(LPITEMIDLIST p) {
    TB_LATE(L"ole32.dll", CoTaskMemFree);
    if (CoTaskMemFree) CoTaskMemFree(p);
  }
};

std::string pick_folder(HWND owner) {
  ComScope com;
  std::wstring title = to_wide("选择导出资源的目录");
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  // The shell is loaded only when a folder is asked for, not with the program.
  TB_LATE(L"shell32.dll", SHBrowseForFolderW);
  TB_LATE(L"shell32.dll", SHGetPathFromIDListW);
  if (!SHBrowseForFolderW || !SHGetPathFromIDListW) return {};
  CommonControlsLook look;
  Owned<LPITEMIDLIST, PidlTraits> pidl(SHBrowseForFolderW(&bi));
  if (!pidl) return {};
  wchar_t path[MAX_PATH] = {};
  return SHGetPathFromIDListW(pidl.get(), path) ? to_gbk(path) : std::string();
}

std::uint32_t xrgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Stops a control from drawing while many items go in.
class NoRedraw {
 public:
  explicit NoRedraw(HWND h) : h_(h) { SendMessageW(h_, WM_SETREDRAW, FALSE, 0); }
  ~NoRedraw() {
    SendMessageW(h_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h_, nullptr, TRUE);
  }
  NoRedraw(const NoRedraw&) = delete;
  NoRedraw& operator=(const NoRedraw&) = delete;

 private:
  HWND h_;
};

}  // namespace

struct CodeManagerWindow::ContentJob {
  std::atomic<bool> cancelled{false};
  std::mutex m;  // guards the rest
  std::vector<Hit> found;  // waiting for the UI thread
  bool done = false;
  bool posted = false;  // a message to take them is on its way: one at a time
  void hand_over(HWND to) {
    if (!posted && to) posted = PostMessageW(to, kContentHits, 0, 0) != FALSE;
  }
};

CodeManagerWindow* current() { return g_window; }

bool open_at(std::string root, AskText ask) {
  if (!g_window) {  // handed to the window about to be made
    g_root = std::move(root);
    g_ask = std::move(ask);
  }
  return Window::open_or_raise(g_window, res::kCodeManagerWindow);
}

bool open(AskText ask) { return open_at(program_dir() + "代码管理器", std::move(ask)); }

CodeManagerWindow::CodeManagerWindow() : store_(g_root), ask_(g_ask) {
  // The sources read in one session serve the first search of the next (a name starting with
  // "." is neither a main item nor shown).
  cache_->keep_in(g_root + std::string(fs::kSep) + ".内容缓存");
}

std::string_view CodeManagerWindow::res_tree() { return n::kTree; }

void CodeManagerWindow::on_created() {
  const int pct = scale_pct();
  caption_buttons(n::kMinimise, n::kClose);
  set_painter(n::kSettingsButton, [pct](HDC dc, const RECT& r, theme::Face f) {
    theme::button_face(dc, r, "设置", f, pct, true);
  });
  set_painter(n::kSearchPicture, [this](HDC dc, const RECT& r, theme::Face) {
    // A magnifier: a ring and its handle.
    theme::fill(dc, r, theme::kBody);
    GdiPen pen(CreatePen(PS_SOLID, scale(2), theme::kAccent));
    SelectGuard sp(dc, pen.get());
    SelectGuard sb(dc, GetStockObject(NULL_BRUSH));
    const int cx = r.left + scale(12), cy = r.top + scale(10), rad = scale(6);
    Ellipse(dc, cx - rad, cy - rad, cx + rad, cy + rad);
    MoveToEx(dc, cx + scale(4), cy + scale(4), nullptr);
    LineTo(dc, cx + scale(10), cy + scale(10));
  });
  // The buttons lie over the views on their pages.
  for (std::string_view b : {n::kCopyReadingButton, n::kSaveButton, n::kCopySourceButton})
    SetWindowPos(control(b), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  on("", Event::Close, [this](EventArgs& a) {
    if (busy_) a.refuse();
  });
  on(n::kSettingsButton, Event::Click, [this](const EventArgs&) { show_popup_menu(n::kSettingsMenu); });
  on(n::kTree, Event::Change, [this](const EventArgs&) { show_selected(); });
  on(n::kTree, Event::RightClick, [this](const EventArgs&) { show_popup_menu(n::kTreeMenu); });
  on(n::kRenameButton, Event::Click, [this](const EventArgs&) { rename(); });
  on(n::kSaveButton, Event::Click, [this](const EventArgs&) { save(); });
  on(n::kCopyReadingButton, Event::Click, [this](const EventArgs&) { copy_source(); });
  on(n::kCopySourceButton, Event::Click, [this](const EventArgs&) { copy_source(); });
  on(n::kResourceList, Event::Change, [this](const EventArgs&) { preview(); });
  on(n::kResourceList, Event::RightClick, [this](const EventArgs&) { show_popup_menu(n::kResourceMenu); });
  on(n::kSearchBox, Event::Change, [this](const EventArgs&) { search(); });
  on(n::kSearchList, Event::DoubleClick,
     [this](const EventArgs&) { open_hit(ListBox(control(n::kSearchList)).selection()); });
  on(n::kSearchList, Event::KeyDown, [this](EventArgs& a) {
    if (a.key != VK_RETURN) return;
    open_hit(ListBox(control(n::kSearchList)).selection());
    a.answer(0);
  });
  on(n::kSourceView, Event::RightClick, [this](EventArgs& a) {
    version_menu();
    a.answer(0);
  });
  on(n::kDrop, Event::Drop, [this](const EventArgs& a) { import_files(a.files); });
  for (std::string_view m : {n::kTreeMenu, n::kResourceMenu, n::kSettingsMenu})
    on(m, Event::Menu, [this, m](const EventArgs& a) { choose(m, a.item); });

  // Both views start empty in their font, so typed text takes it too.
  RichEdit(control(n::kReadingView)).set_lines({});
  RichEdit(control(n::kSourceView)).set_lines({});
  fill_tree();
  // Every source is read in the background from now on: a search finds most of them in memory.
  warm_ = scan(refs_, {});
}

void CodeManagerWindow::choose(std::string_view menu, int item) {
  if (busy_) return;
  if (menu == n::kTreeMenu) {
    switch (item) {
      case n::kAddMain: add_main(); break;
      case n::kDeleteMain: remove_selected(1); break;
      case n::kAddSnippet: add_snippet(); break;
      case n::kDeleteSnippet: remove_selected(2); break;
      default: break;
    }
  } else if (menu == n::kResourceMenu) {
    switch (item) {
      case n::kDeleteResource: remove_resource(); break;
      case n::kExportResource: export_resource(); break;
      case n::kExportAll: export_all(); break;
      default: break;
    }
  } else if (menu == n::kSettingsMenu) {
    set_topmost(item == n::kTopmostOn);
  }
}

void CodeManagerWindow::fill_tree() {
  Tree t = tree();
  busy_ = true;
  names_.clear();
  refs_.clear();
  {
    NoRedraw quiet(t.hwnd());
    t.clear();
    for (const std::string& main : store_.main_items()) {
      Tree::Node node = t.add(nullptr, main);
      for (const std::string& sub : store_.snippets(main)) {
        t.add(node, sub);
        note_snippet(main, sub);
      }
      pump_pending_input();  // a large library does not freeze the window
      if (!hwnd()) break;
    }
  }
  busy_ = false;
}

CodeManagerWindow::Selected CodeManagerWindow::selected() const {
  Selected s;
  Tree t = tree();
  s.node = t.selected();
  if (!s.node) return s;
  Tree::Node parent = t.parent(s.node);
  if (parent) {
    s.level = 2;
    s.main = t.text(parent);
    s.sub = t.text(s.node);
  } else {
    s.level = 1;
    s.main = t.text(s.node);
  }
  return s;
}

void CodeManagerWindow::show_selected() {
  const Selected s = selected();
  if (s.node) set_text(n::kNameBox, s.level == 2 ? s.sub : s.main);
  // The views are emptied by new windows: under Wine deleting a long text from a rich edit
  // takes time that grows with the square of its lines (23 s for 10,000).
  for (std::string_view view : {n::kReadingView, n::kSourceView})
    if (GetWindowTextLengthW(control(view)) > 0) renew(view);
  RichEdit reading(control(n::kReadingView)), source(control(n::kSourceView));
  too_big_ = false;
  if (s.level != 2) {
    reading.set_lines({});
    source.set_lines({});
    ListBox(control(n::kResourceList)).clear();
    return;
  }
  const std::string text = store_.read_source(s.main, s.sub);
  too_big_ = text.size() > kMaxSource;
  if (too_big_) {
    reading.set_lines({});
    source.set_lines({});
    fill_resources(s.main, s.sub);
    return tell(kTooBig);
  }
  // Every line of both views is built first, then each view takes its text in one step.
  const Translation entries = TranslateForViews(text);
  std::vector<RichLine> read_lines, source_lines;
  read_lines.reserve(entries.size() + 1);
  source_lines.reserve(entries.size() + 1);
  for (const TranslationEntry& e : entries) {
    read_lines.push_back({std::string(e.reading), e.colour});
    source_lines.push_back({std::string(e.source), e.colour});
  }
  // Each line ends with a line break, the last one too. A stream's last paragraph mark
  // becomes the control's own final one, so the break after the last line needs one more.
  if (!entries.empty()) {
    for (int i = 0; i < 2; ++i) {
      read_lines.push_back({{}, entries[entries.size() - 1].colour});
      source_lines.push_back({{}, entries[entries.size() - 1].colour});
    }
  }
  reading.set_lines(read_lines);
  source.set_lines(source_lines);
  fill_resources(s.main, s.sub);
}

void CodeManagerWindow::fill_resources(const std::string& main, const std::string& sub) {
  ListBox list(control(n::kResourceList));
  list.clear();
  for (const std::string& f : store_.resources(main, sub, [] { pump_pending_input(); })) list.add(f);
}

void CodeManagerWindow::save() {
  const Selected s = selected();
  if (s.level != 2) return;
  if (too_big_) return tell(kTooBig);  // the view is empty: saving it would lose the file
  if (store_.save_source(s.main, s.sub, RichEdit(control(n::kSourceView)).text()) != Outcome::Done)
    return tell(kSaveFailed);
  if (searched_ && !searched_for_.empty()) search();  // what the sources hold has changed
}

void CodeManagerWindow::version_menu() {
  const Selected s = selected();
  const std::vector<std::string> files = s.level == 2 ? store_.versions(s.main, s.sub) : std::vector<std::string>{};
  std::vector<std::string> labels;
  for (const std::string& f : files) labels.push_back(snippets::version_label(f));
  const int i = choose_from_menu(labels, kHistory);
  if (i >= 0) restore_version(files[static_cast<std::size_t>(i)]);
}

void CodeManagerWindow::restore_version(const std::string& file) {
  const Selected s = selected();
  if (s.level != 2) return;
  const std::string text = store_.read_version(s.main, s.sub, file);
  if (text.size() > kMaxSource) return tell(kTooBig);
  // The version as it was saved, not re-indented, so that saving it gives the file back.
  std::vector<RichLine> lines;
  for (std::string& l : split(text, "\r\n")) lines.push_back({std::move(l), theme::kText});
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
    lines.insert(lines.end(), 2, RichLine{{}, theme::kText});  // a last break takes one more, see show_selected
  if (GetWindowTextLengthW(control(n::kSourceView)) > 0) renew(n::kSourceView);
  RichEdit(control(n::kSourceView)).set_lines(lines);
  too_big_ = false;  // the view holds the whole text: saving it loses nothing
}

bool CodeManagerWindow::usable_name(const std::string& name, Tree::Node parent, Tree::Node self) {
  if (!snippets::valid_name(name)) {
    tell(kBadName);
    return false;
  }
  // Windows folders ignore letter case, so neither may the tree's level.
  Tree t = tree();
  for (Tree::Node c : t.children(parent)) {
    if (c != self && equals_ignore_case(t.text(c), name)) {
      tell(kDuplicate);
      return false;
    }
  }
  return true;
}

void CodeManagerWindow::note_snippet(const std::string& main, const std::string& sub) {
  names_.push_back(sub);
  refs_.push_back({main, sub});
}

void CodeManagerWindow::refresh_names() {
  Tree t = tree();
  names_.clear();
  refs_.clear();
  for (Tree::Node m : t.children(nullptr)) {
    const std::string main = t.text(m);
    for (Tree::Node c : t.children(m)) note_snippet(main, t.text(c));
  }
  if (searched_) search();
}

void CodeManagerWindow::rename() {
  const Selected s = selected();
  if (!s.node || busy_) return;
  const std::string name = snippets::clean_name(text(n::kNameBox));
  const std::string& old = s.level == 2 ? s.sub : s.main;
  if (name == old) return;
  Tree t = tree();
  if (!usable_name(name, t.parent(s.node), s.node)) return;
  const Outcome o = s.level == 2 ? store_.rename_snippet(s.main, s.sub, name) : store_.rename_main(s.main, name);
  if (o == Outcome::Exists) return tell(kDuplicate);
  if (o != Outcome::Done) return tell(kRenameFailed);
  t.rename(s.node, name);
  set_text(n::kNameBox, name);
  refresh_names();
}

void CodeManagerWindow::add_main() {
  if (!ask_) return;
  const std::string name = snippets::clean_name(ask_());
  if (name.empty()) return;  // the user changed their mind
  if (!usable_name(name, nullptr, nullptr)) return;
  const Outcome o = store_.add_main(name);
  if (o == Outcome::Exists) return tell(kDuplicate);
  if (o != Outcome::Done) return tell(kCreateFailed);
  tree().add(nullptr, name);
}

void CodeManagerWindow::add_snippet() {
  const Selected s = selected();
  if (!s.node || !ask_) return;
  Tree t = tree();
  Tree::Node main = s.level == 1 ? s.node : t.parent(s.node);
  const std::string name = snippets::clean_name(ask_());
  if (name.empty()) return;
  if (!usable_name(name, main, nullptr)) return;
  const Outcome o = store_.add_snippet(s.main, name);
  if (o == Outcome::Exists) return tell(kDuplicate);
  if (o != Outcome::Done) return tell(kCreateFailed);
  t.add(main, name);
  t.expand(main);
  refresh_names();
}

void CodeManagerWindow::remove_selected(int level) {
  const Selected s = selected();
  if (s.level != level) return;
  const std::string& name = level == 2 ? s.sub : s.main;
  if (message_box("你确定删除 " + name + " 吗？请慎重选择，删除将无法恢复!", MB_OKCANCEL | MB_ICONQUESTION, kTitle) != 0)
    return;
  const Outcome o = level == 2 ? store_.remove_snippet(s.main, s.sub) : store_.remove_main(s.main);
  if (o != Outcome::Done) return tell(kDeleteFailed);
  tree().remove(s.node);
  refresh_names();
}

void CodeManagerWindow::import_files(const std::vector<std::string>& paths) {
  const Selected s = selected();
  if (s.level != 2) return tell(kNoSnippet);
  ListBox(control(n::kResourceList)).clear();
  bool failed = false;
  for (const std::string& p : paths) failed = store_.import_file(s.main, s.sub, p) != Outcome::Done || failed;
  fill_resources(s.main, s.sub);
  if (failed) tell(kImportFailed);
}

void CodeManagerWindow::preview() {
  const Selected s = selected();
  ListBox list(control(n::kResourceList));
  const int i = list.selection();
  if (s.level != 2 || i < 0) return;
  const std::string file = list.text_at(i);
  if (!snippets::is_bmp(file)) return;
  std::string bytes;
  if (!read_file(store_.resource_path(s.main, s.sub, file), bytes)) return;
  Dib pic = decode(bytes, theme::kPanel);
  Surface panel = surface(n::kPreview);
  if (!pic || !panel.pixels) return;
  std::fill(panel.pixels, panel.pixels + static_cast<std::size_t>(panel.width) * panel.height, xrgb(theme::kBody));
  BitBlt(panel.dc, scale(10), scale(10), pic.width(), pic.height(), pic.dc(), 0, 0, SRCCOPY);
  GdiFlush();
  repaint(n::kPreview);
}

void CodeManagerWindow::remove_resource() {
  const Selected s = selected();
  ListBox list(control(n::kResourceList));
  const int i = list.selection();
  if (s.level != 2 || i < 0) return;
  if (store_.remove_resource(s.main, s.sub, list.text_at(i)) != Outcome::Done) return tell(kResourceDeleteFailed);
  list.remove_at(i);
}

void CodeManagerWindow::export_resource() {
  ListBox list(control(n::kResourceList));
  if (selected().level != 2 || list.selection() < 0) return;
  const std::string target = save_file(hwnd(), {}, {}, "所有文件(*.*)|*.*");
  if (!target.empty()) export_resource_to(target);
}

void CodeManagerWindow::export_resource_to(const std::string& target) {
  const Selected s = selected();
  ListBox list(control(n::kResourceList));
  const int i = list.selection();
  if (s.level != 2 || i < 0) return;
  if (store_.export_resource(s.main, s.sub, list.text_at(i), target) != Outcome::Done) tell(kExportFailed);
}

void CodeManagerWindow::export_all() {
  if (selected().level != 2 || ListBox(control(n::kResourceList)).count() == 0) return;
  const std::string folder = pick_folder(hwnd());
  if (!folder.empty()) export_all_to(folder);
}

void CodeManagerWindow::export_all_to(const std::string& folder) {
  const Selected s = selected();
  if (s.level != 2) return;
  ListBox list(control(n::kResourceList));
  std::string base = folder;
  if (base.empty() || base.back() != '\\' || !is_char_boundary(base, base.size() - 1)) base += fs::kSep;
  bool failed = false;
  for (int i = 0; i < list.count(); ++i) {
    const std::string file = list.text_at(i);
    failed = store_.export_resource(s.main, s.sub, file, base + file) != Outcome::Done || failed;
  }
  if (failed) tell(kExportFailed);
}

void CodeManagerWindow::search() {
  searched_ = true;
  // A newer text stops the older search; the first reading stops too, the search reads on.
  for (auto* job : {&job_, &warm_})
    if (*job) std::exchange(*job, nullptr)->cancelled = true;
  searched_for_ = text(n::kSearchBox);
  ListBox list(control(n::kSearchList));
  NoRedraw quiet(list.hwnd());
  list.clear();
  hits_.clear();
  std::vector<bool> named(refs_.size());
  for (std::size_t i : snippets::name_hits(names_, searched_for_)) {
    list.add(names_[i]);
    hits_.push_back({refs_[i], 0});
    named[i] = true;
  }
  // Then the sources of the others, each listed once.
  std::vector<snippets::SnippetRef> others;
  for (std::size_t i = 0; i < refs_.size(); ++i)
    if (!named[i]) others.push_back(refs_[i]);
  if (!searched_for_.empty() && !others.empty()) job_ = scan(std::move(others), searched_for_);
}

std::shared_ptr<CodeManagerWindow::ContentJob> CodeManagerWindow::scan(std::vector<snippets::SnippetRef> refs,
                                                                       const std::string& typed) {
  auto job = std::make_shared<ContentJob>();
  // The worker only reads files; its hits come back by a message, in the tree's order.
  HWND to = typed.empty() ? nullptr : hwnd();
  std::thread([job, cache = cache_, store = store_, refs = std::move(refs), typed, to] {
    auto cancelled = [&] { return job->cancelled.load(); };
    snippets::scan_sources(store, *cache, refs, typed, cancelled, [&](std::size_t i, int line) {
      std::lock_guard<std::mutex> lock(job->m);
      job->found.push_back({refs[i], line});
      job->hand_over(to);
    });
    std::lock_guard<std::mutex> lock(job->m);
    job->done = true;
    job->hand_over(to);
  }).detach();
  return job;
}

void CodeManagerWindow::take_content_hits() {
  if (!job_) return;  // the message of a search given up
  std::vector<Hit> found;
  bool done = false;
  {
    std::lock_guard<std::mutex> lock(job_->m);
    found.swap(job_->found);
    job_->posted = false;
    done = job_->done;
  }
  if (done) job_.reset();
  if (found.empty()) return;
  ListBox list(control(n::kSearchList));
  NoRedraw quiet(list.hwnd());
  for (Hit& h : found) {
    list.add(h.ref.main + "\\" + h.ref.sub + " : " + std::to_string(h.line));
    hits_.push_back(std::move(h));
  }
}

bool CodeManagerWindow::on_message(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != kContentHits) return false;
  take_content_hits();
  result = 0;
  return true;
}

void CodeManagerWindow::on_destroyed() {
  for (auto& job : {job_, warm_})
    if (job) job->cancelled = true;
  cache_->save();  // what the workers have read so far; a later session checks every stamp
}

void CodeManagerWindow::open_hit(int row) {
  if (busy_ || row < 0 || static_cast<std::size_t>(row) >= hits_.size()) return;
  const Hit hit = hits_[static_cast<std::size_t>(row)];
  Tree t = tree();
  Tree::Node main = t.find_child(nullptr, hit.ref.main);
  Tree::Node node = main ? t.find_child(main, hit.ref.sub) : nullptr;
  if (!node) return;  // gone since the search
  select_page(n::kLeftTabs, 0);
  t.select(node);  // shows it, as a click does
  if (hit.line == 0) {
    SetFocus(t.hwnd());
    return;
  }
  // The view shows the source re-indented: its first match is looked for there.
  RichEdit source(control(n::kSourceView));
  const std::size_t at = tb::find(source.text(), searched_for_, 0, true);
  select_page(n::kRightTabs, 1);
  if (at != npos) source.select_bytes(at, searched_for_.size());
  SetFocus(source.hwnd());
}

void CodeManagerWindow::copy_source() {
  const std::string text = RichEdit(control(n::kSourceView)).text();
  if (!Clipboard(hwnd()).put_text(to_wide(text))) tell(kCopyFailed);
}

}  // namespace tb::codemanager
