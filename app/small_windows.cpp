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
    set_painter(res::notice_names::kClose, pictures::close_button(scale_pct()));
    auto close_it = [this](const EventArgs&) {
      set_topmost(false);
      close();
    };
    on(res::notice_names::kClose, Event::Click, close_it);
    on(res::notice_names::kOk, Event::Click, close_it);
  }
};
NoticeWindow* NoticeWindow::instance = nullptr;

class InputWindow : public Window {
 protected:
  void on_created() override {
    set_painter(res::input_names::kClose, pictures::close_button(scale_pct()));
    on(res::input_names::kBox, Event::Change, [this](const EventArgs&) { state().input_result = text(res::input_names::kBox); });
    auto take_and_close = [this](const EventArgs&) {
      state().input_result = text(res::input_names::kBox);
      end_modal(1);
    };
    on(res::input_names::kOk, Event::Click, take_and_close);
    on(res::input_names::kClose, Event::Click, take_and_close);
    // Enter in the box confirms, once: the key goes no further.
    on(res::input_names::kBox, Event::KeyDown, [take_and_close](EventArgs& a) {
      if (a.key != VK_RETURN) return;
      a.answer(0);
      take_and_close(a);
    });
    SetForegroundWindow(hwnd());
    SetFocus(control(res::input_names::kBox));
  }
};

}  // namespace

void show_notice(std::string_view text) {
  NoticeWindow* w = Window::open_single(NoticeWindow::instance, res::kNoticeWindow);
  if (!w) return;
  w->set_text(res::input_names::kPrompt, text);
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
