#include "app/shell.h"
#include "app/shell_pictures.h"
#include "resources/shell_windows.h"

namespace tb::shell {

namespace {

class NoticeWindow : public Window {
 public:
  static NoticeWindow* instance;

 protected:
  void on_created() override {
    apply_flat_look(1);
    set_painter("图形按钮3", pictures::close_button(scale_pct()));
    auto close_it = [this](const EventArgs&) {
      set_topmost(false);
      close();
    };
    on("图形按钮3", Event::Click, close_it);
    on("按钮1", Event::Click, close_it);
  }
  void on_destroyed() override { instance = nullptr; }
};
NoticeWindow* NoticeWindow::instance = nullptr;

class InputWindow : public Window {
 public:
  bool done = false;

 protected:
  void on_created() override {
    apply_flat_look(1);
    set_painter("图形按钮3", pictures::close_button(scale_pct()));
    on("编辑框1", Event::Change, [this](const EventArgs&) { state().input_result = text("编辑框1"); });
    auto take_and_close = [this](const EventArgs&) {
      state().input_result = text("编辑框1");
      close();
    };
    on("按钮1", Event::Click, take_and_close);
    on("图形按钮3", Event::Click, take_and_close);
  }
  bool on_message(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    // Enter in the box confirms, Escape closes with what the box holds.
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK) {
      fire("按钮1", Event::Click);
      result = 0;
      return true;
    }
    return false;
  }
  void on_destroyed() override { done = true; }
};

}  // namespace

void show_notice(std::string_view text) {
  NoticeWindow* w = open_single(NoticeWindow::instance, res::kNoticeWindow);
  if (!w) return;
  w->set_text("透明标签2", text);
  w->set_topmost(true);
  SetForegroundWindow(w->hwnd());
}

std::string ask_for_text() {
  state().input_result.clear();
  InputWindow w;
  // Modal: the other windows of the toolbox wait until the input window closes.
  HWND main = main_window() ? main_window()->hwnd() : nullptr;
  if (!w.create(res::kInputWindow, nullptr, true)) return {};
  if (main) EnableWindow(main, FALSE);
  SetForegroundWindow(w.hwnd());
  SetFocus(w.control("编辑框1"));
  MSG m;
  while (!w.done && GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN && m.hwnd == w.control("编辑框1")) {
      PostMessageW(w.hwnd(), WM_COMMAND, IDOK, 0);
      continue;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
  }
  if (main) EnableWindow(main, TRUE);
  return state().input_result;
}

}  // namespace tb::shell
