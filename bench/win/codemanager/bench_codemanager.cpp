// Code manager figures under Wine: opening on 100 x 100 snippets, showing a snippet of
// 10,000 lines (one stream per view) against appending it entry by entry, searching the
// sources of 10,000 snippets of 100 lines, and the version a save keeps.
#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "codemanager/translator.h"
#include "resources/codemanager_window.h"
#include "tests/win/codemanager/cm_driver.h"

using namespace cm_test;
namespace n = tb::res::codemanager_names;

namespace {

double now_ms() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Figures {
  std::vector<double> runs;
  double median() {
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
  }
  double best() { return *std::min_element(runs.begin(), runs.end()); }
};

// The old way: every entry appended at the end of both views, with its own format.
void append_entry_by_entry(HWND reading, HWND source, const tb::Translation& entries) {
  SetWindowTextW(reading, L"");
  SetWindowTextW(source, L"");
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  cf.yHeight = 180;
  std::wstring face = tb::to_wide("宋体");
  face.copy(cf.szFaceName, LF_FACESIZE - 1);
  for (const tb::TranslationEntry& e : entries) {
    cf.crTextColor = e.colour;
    for (auto [h, text] : {std::pair{reading, &e.reading}, std::pair{source, &e.source}}) {
      SendMessageW(h, EM_SETSEL, -1, -1);
      SendMessageW(h, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
      std::wstring w = tb::to_wide(*text) + L"\r\n";
      SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(w.c_str()));
    }
  }
}

// A file written as is: the library's atomic write flushes every file, too slow for 10,000.
void quick_file(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(tb::to_wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

// 100 lines; snippet k clicks the blue button on line 90 when k % 100 == 7.
std::string source_of(int k) {
  static const char* lines[] = {"KeyPress 65,1", "Delay 100", "If a = 1 Then", "MoveTo 100,200", "EndIf",
                                "// 说明：找图后点击", "FindPic 0,0,800,600,\"a.bmp\",0.9,x,y", "LeftClick 1"};
  std::string s;
  for (int i = 1; i <= 100; ++i) {
    s += i == 90 && k % 100 == 7 ? std::string("// 点击蓝色按钮 ") + std::to_string(k) : lines[(i + k) % 8];
    s += "\r\n";
  }
  return s;
}

// Searches of the sources of 10,000 snippets of 100 lines: the first content hit, all of
// them, and the longest the window went without handling its messages meanwhile.
void search_figures() {
  Root r;
  for (int m = 0; m < 100; ++m)
    for (int k = 0; k < 100; ++k) {
      const std::string rel = "主" + std::to_string(m) + "\\片段" + std::to_string(k);
      r.folder(rel);
      quick_file(r.at(rel + "\\片段" + std::to_string(k) + ".txt"), source_of(m * 100 + k));
    }
  tb::codemanager::CodeManagerWindow* w = open_on(r);
  tb::ListBox list(w->control(n::kSearchList));
  // One search: the first content hit, all of them, and the longest the window took over one
  // message meanwhile (the search's own start included).
  auto once = [&](const char* typed, Figures& first, Figures& all, Figures& stall) {
    w->set_text(n::kSearchBox, "");
    pump(20);
    const double t0 = now_ms();
    w->set_text(n::kSearchBox, typed);
    double got_first = -1, longest = now_ms() - t0;
    for (MSG m; w->searching();) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        const double t = now_ms();
        DispatchMessageW(&m);
        longest = std::max(longest, now_ms() - t);
        if (got_first < 0 && list.count() > 0) got_first = now_ms() - t0;
      }
    }
    all.runs.push_back(now_ms() - t0);
    first.runs.push_back(got_first < 0 ? all.runs.back() : got_first);
    stall.runs.push_back(longest);
    return list.count();
  };
  std::printf("content search over 10,000 snippets of 100 lines (median of 5 runs, best in brackets)\n");
  std::printf("%-32s %6s %17s %17s %17s\n", "search text", "hits", "first hit ms", "all hits ms", "longest msg ms");
  auto row = [](const char* what, int hits, Figures& first, Figures& all, Figures& stall) {
    std::printf("%-32s %6d %9.1f (%5.1f) %9.1f (%5.1f) %9.1f (%5.1f)\n", what, hits, first.median(), first.best(),
                all.median(), all.best(), stall.median(), stall.best());
    std::fflush(stdout);
  };
  {
    Figures first, all, stall;
    const int hits = once("蓝色按钮", first, all, stall);  // as the window opens: sources read now
    row("蓝色按钮, right after opening", hits, first, all, stall);
  }
  for (const char* typed : {"蓝色按钮", "keypress", "no such text"}) {
    Figures first, all, stall;
    int hits = 0;
    for (int run = 0; run < 5; ++run) hits = once(typed, first, all, stall);
    row(typed, hits, first, all, stall);
  }
  // A newer text cancels the older search: typing a word letter by letter.
  const double t0 = now_ms();
  for (const char* typed : {"k", "ke", "key", "keyp", "keypr", "keypre", "keypres", "keypress"})
    w->set_text(n::kSearchBox, typed);
  while (w->searching()) pump(1);
  std::printf("%-32s %6d %17s %9.1f\n", "keypress, typed letter by letter", list.count(), "", now_ms() - t0);
  // The next session: the sources read in this one were kept on disk as the window closed.
  const double closing = now_ms();
  w->destroy();
  std::printf("%-32s %6s %17s %9.1f\n", "closing, the read sources kept", "", "", now_ms() - closing);
  w = open_on(r);
  list = tb::ListBox(w->control(n::kSearchList));
  {
    Figures first, all, stall;
    const int hits = once("蓝色按钮", first, all, stall);
    row("蓝色按钮, right after reopening", hits, first, all, stall);
  }
  w->destroy();
}

// The cost of the version a save keeps: a 10,000-line source saved with a change, the
// history holding its 20 versions already, against writing the file alone.
void version_figures(const std::string& big) {
  Root r;
  r.folder("m\\s");
  tb::snippets::Store store(r.root);
  const std::string path = store.source_path("m", "s");
  Figures keep, plain;
  for (int run = 0; run < 30; ++run) {
    std::string text = big + std::to_string(run);
    double t0 = now_ms();
    store.save_source("m", "s", text);
    if (run >= 20) keep.runs.push_back(now_ms() - t0);
    t0 = now_ms();
    tb::write_file_atomic(path, text);
    plain.runs.push_back(now_ms() - t0);
  }
  std::printf("%-58s %9.1f %9.1f\n", "save a 10,000-line source, keeping the old as a version", keep.median(),
              keep.best());
  std::printf("%-58s %9.1f %9.1f\n", "  the same file written alone", plain.median(), plain.best());
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::string(argv[1]) == "--quick";  // leaves out the slow old way
  Root r;
  for (int m = 0; m < 100; ++m)
    for (int s = 0; s < 100; ++s) r.folder("主项目" + std::to_string(m) + "\\代码" + std::to_string(s));
  const char* lines[] = {"KeyPress 65,1", "Delay 100", "If a = 1 Then", "MoveTo 100,200", "EndIf",
                         "// 说明", "FindPic 0,0,100,100,\"a.bmp\",0.9,x,y", "LeftClick 1", "Goto 开始"};
  std::string big;
  for (int i = 0; i < 10000; ++i) big += std::string(lines[i % 9]) + "\r\n";
  r.file("主项目0\\代码0\\代码0.txt", big);

  if (argc > 1 && std::string(argv[1]) == "--search") {
    search_figures();
    version_figures(big);
    return 0;
  }
  if (argc > 1 && std::string(argv[1]) == "--clear") {
    tb::codemanager::CodeManagerWindow* cw = open_on(r);
    tb::RichEdit view(cw->control(n::kSourceView));
    std::vector<tb::RichLine> rl;
    for (const auto& e : tb::TranslateText(big)) rl.push_back({std::string(e.source), e.colour});
    auto time = [&](const char* what, auto&& f) {
      view.set_lines(rl);
      const double t0 = now_ms();
      f();
      std::printf("%-40s %9.1f ms, %d lines left\n", what, now_ms() - t0, view.line_count());
      std::fflush(stdout);
    };
    time("no redraw, then stream empty", [&] {
      SendMessageW(view.hwnd(), WM_SETREDRAW, FALSE, 0);
      view.set_lines({});
      SendMessageW(view.hwnd(), WM_SETREDRAW, TRUE, 0);
    });
    time("select all, replace with nothing", [&] {
      SendMessageW(view.hwnd(), EM_SETSEL, 0, -1);
      SendMessageW(view.hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    });
    return 0;
  }
  std::printf("root made\n");
  std::fflush(stdout);
  Figures open_f, show_f, append_f, translate_f, away_f;
  tb::codemanager::CodeManagerWindow* w = nullptr;
  for (int run = 0; run < 3; ++run) {
    if (w) w->destroy();
    pump(20);
    const double t0 = now_ms();
    w = open_on(r);
    open_f.runs.push_back(now_ms() - t0);
    std::printf("open %.1f ms\n", open_f.runs.back());
    std::fflush(stdout);
  }
  const std::size_t nodes = w->search_names().size();
  tb::Tree t = w->tree();
  tb::Tree::Node main0 = t.find_child(nullptr, "主项目0"), sub0 = t.find_child(main0, "代码0");
  for (int run = 0; run < 3; ++run) {
    const double ta = now_ms();
    t.select(main0);  // leaves the big snippet (after the first run): both views emptied
    if (run > 0) away_f.runs.push_back(now_ms() - ta);
    const double t0 = now_ms();
    t.select(sub0);  // format + translate + both views filled
    show_f.runs.push_back(now_ms() - t0);
    std::printf("show %.1f ms\n", show_f.runs.back());
    std::fflush(stdout);
  }
  tb::Translation entries;
  for (int run = 0; run < 5; ++run) {
    const double t0 = now_ms();
    entries = tb::TranslateText(big);
    translate_f.runs.push_back(now_ms() - t0);
  }
  // Where a show's time goes: one view streamed, its face set for the whole text, emptied.
  Figures one_f, face_f, clear_f;
  {
    tb::RichEdit view(w->control(n::kSourceView));
    std::vector<tb::RichLine> rl;
    for (const auto& e : entries) rl.push_back({std::string(e.source), e.colour});
    for (int run = 0; run < 3; ++run) {
      double t0 = now_ms();
      view.set_lines({});
      clear_f.runs.push_back(now_ms() - t0);
      t0 = now_ms();
      view.set_lines(rl);
      one_f.runs.push_back(now_ms() - t0);
      CHARFORMAT2W cf{};
      cf.cbSize = sizeof cf;
      cf.dwMask = CFM_FACE | CFM_CHARSET;
      cf.bCharSet = GB2312_CHARSET;
      tb::to_wide("宋体").copy(cf.szFaceName, LF_FACESIZE - 1);
      t0 = now_ms();
      SendMessageW(view.hwnd(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
      face_f.runs.push_back(now_ms() - t0);
    }
  }
  for (int run = 0; run < (quick ? 0 : 1); ++run) {
    const double t0 = now_ms();
    append_entry_by_entry(w->control(n::kReadingView), w->control(n::kSourceView), tb::TranslateText(big));
    append_f.runs.push_back(now_ms() - t0);
  }
  w->destroy();

  std::printf("code manager under Wine (median of runs, best in brackets)\n");
  std::printf("%-58s %9s %9s\n", "case", "median ms", "best ms");
  std::printf("%-58s %9.1f %9.1f\n", "open on 100 x 100 snippets (10,000 folders), goal < 1000", open_f.median(),
              open_f.best());
  std::printf("%-58s %9.1f %9.1f\n", "show a 10,000-line snippet, one stream per view, goal < 500", show_f.median(),
              show_f.best());
  std::printf("%-58s %9.1f %9.1f\n", "  of which format + translate", translate_f.median(), translate_f.best());
  std::printf("%-58s %9.1f %9.1f\n", "leave the 10,000-line snippet (both views emptied)", away_f.median(), away_f.best());
  std::printf("%-58s %9.1f %9.1f\n", "  one view: set_lines (stream + face)", one_f.median(), one_f.best());
  std::printf("%-58s %9.1f %9.1f\n", "  one view: face for the whole text alone", face_f.median(), face_f.best());
  std::printf("%-58s %9.1f %9.1f\n", "  one view emptied (not in the show figure)", clear_f.median(), clear_f.best());
  if (!append_f.runs.empty()) {
    std::printf("%-58s %9.1f %9.1f\n", "same, appended entry by entry", append_f.median(), append_f.best());
    std::printf("entry-by-entry / one stream: %.1fx\n", append_f.median() / show_f.median());
  }
  std::printf("%zu snippets in the tree, %zu entries\n", nodes, entries.size());
  version_figures(big);
  search_figures();
  return 0;
}
