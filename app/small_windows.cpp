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
    set_painter("图形按钮3", pictures::close_button(scale_pct()));
    auto close_it = [this](const EventArgs&) {
      set_topmost(false);
      close();
    };
    on("图形按钮3", Event::Click, close_it);
    on("按钮1", Event::Click, close_it);
  }
};
NoticeWindow* NoticeWindow::instance = nullptr;

class InputWindow : public Window {
 protected:
  void on_created() override {
    set_painter("图形按钮3", pictures::close_button(scale_pct()));
    on("编辑框1", Event::Change, [this](const EventArgs&) { state().input_result = text("编辑框1"); });
    auto take_and_close = [this](const EventArgs&) {
      state().input_result = text("编辑框1");
      end_modal(1);
    };
    on("按钮1", Event::Click, take_and_close);
    on("图形按钮3", Event::Click, take_and_close);
    // Enter in the box confirms, once: the key goes no further.
    on("编辑框1", Event::KeyDown, [take_and_close](EventArgs& a) {
      if (a.key != VK_RETURN) return;
      a.answer(0);
      take_and_close(a);
    });
    SetForegroundWindow(hwnd());
    SetFocus(control("编辑框1"));
  }
};

}  // namespace

void show_notice(std::string_view text) {
  NoticeWindow* w = Window::open_single(NoticeWindow::instance, res::kNoticeWindow);
  if (!w) return;
  w->set_text("透明标签2", text);
  w->set_topmost(true);
  SetForegroundWindow(w->hwnd());
}

std::string ask_for_text() {
  state().input_result.clear();
  // Modal: the other windows of the toolbox wait until the input window closes. Whatever
  // closes it, the box's last text is the answer.
  Window::run_modal<InputWindow>(res::kInputWindow);
  return state().input_result;
}

}  // namespace tb::shell
