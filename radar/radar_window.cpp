#include "radar/radar_window.h"


#include <cstdint>
#include <string>

#include "base/colour.h"
#include "base/encoding.h"
#include "base/number.h"
#include "platform/clipboard_win.h"
#include "platform/handles.h"
#include "platform/msgbox.h"
#include "radar/forms.h"
#include "radar/radar.h"
#include "resources/radar_window.h"

namespace tb::radar {

using namespace res::radar_names;

namespace {

RadarWindow* g_radar = nullptr;

constexpr UINT kRemoteDone = WM_APP + 0x52;  // an action on the picked window has ended

std::string handle_text(HWND w) { return int_to_text(reinterpret_cast<std::intptr_t>(w)); }

}  // namespace

RadarWindow* current() { return g_radar; }

bool open() { return Window::open_or_raise(g_radar, res::kRadarWindow); }

void RadarWindow::on_created() {
  set_timer(kTipTimer, 5000);
  remote_.reply_to(hwnd(), kRemoteDone);

  caption_buttons(kMinimise, kClose);
  pick_.attach(
      *this, kPanel, [this](HWND w) { show_readout(read_window(w, names_)); }, [this] { names_.clear(); });

  // The tip is drawn on the caption band, in the caption's light text colour.
  on(kTip, Event::Colour, [](EventArgs& a) {
    SetTextColor(a.dc, theme::kAccentLight);
    SetBkMode(a.dc, TRANSPARENT);
    a.answer(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  });
  // The window's background, and its frame's between the boxes, offer what was read.
  for (std::string_view background : {std::string_view(), kFrame})
    on(background, Event::RightClick, [this](EventArgs& a) {
      a.answer(0);
      if (choose_from_menu({"复制全部信息"}) == 0) copy_all();
    });
  on(kMoveButton, Event::Click, [this](const EventArgs&) { change_position(); });
  on(kTitleButton, Event::Click, [this](const EventArgs&) { change_title(); });
  on(kFolderButton, Event::Click, [this](const EventArgs&) { open_folder(); });
  on(kTopmost, Event::Click, [this](const EventArgs&) { pin(true); });
  on(kNotTopmost, Event::Click, [this](const EventArgs&) { pin(false); });
  on(kShow, Event::Click, [this](const EventArgs&) { show_picked(true); });
  on(kHide, Event::Click, [this](const EventArgs&) { show_picked(false); });
  on(kOpacity, Event::Scroll, [this](const EventArgs& a) { fade(a.pos); });
  on(kTipTimer, Event::Tick, [this](const EventArgs&) { rotate_tip(); });
}

void RadarWindow::on_destroyed() { pick_.abandon(); }

bool RadarWindow::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == kRemoteDone) {
    if (remote_.finished(wp, lp) == Outcome::NoAnswer) message_box(kNoAnswerText, MB_OK | MB_ICONWARNING, "Tarvo");
    result = 0;
    return true;
  }
  return false;
}

void RadarWindow::copy_all() {
  static constexpr std::pair<std::string_view, std::string_view> kLines[] = {
      {"句柄", kHandleBox}, {"类名", kClassBox},  {"标题", kTitleBox},   {"坐标", kRectBox},
      {"左边", kLeftBox},   {"顶边", kTopBox},    {"宽度", kWidthBox},   {"高度", kHeightBox},
      {"进程ID", kPidBox},  {"进程名", kProcessNameBox}, {"进程路径", kPathBox}};
  std::string all;
  for (const auto& [label, box] : kLines) all += std::string(label) + "：" + text(box) + "\r\n";
  if (!Clipboard(hwnd()).put_gbk_text(all)) message_box("复制到剪贴板失败。", MB_OK | MB_ICONWARNING, "Tarvo");
}

void RadarWindow::show_readout(const Readout& r) {
  // Every box shows the values of this step. Setting an edit's text is costly (it lays the
  // text out again), so a box that already shows its value is not written again.
  auto put = [this](std::string_view box, const std::string& value) {
    if (text(box) != value) set_text(box, value);
  };
  const int width = r.rect.right - r.rect.left, height = r.rect.bottom - r.rect.top;
  put(kClassBox, r.class_name);
  put(kTitleBox, r.title);
  put(kHandleBox, handle_text(r.window));
  put(kPidBox, int_to_text(r.pid));
  put(kLeftBox, int_to_text(r.rect.left));
  put(kTopBox, int_to_text(r.rect.top));
  put(kRectBox, rect_text(r.rect.left, r.rect.top, width, height));
  put(kWidthBox, int_to_text(width));
  put(kHeightBox, int_to_text(height));
  put(kPathBox, r.path);
  put(kProcessNameBox, r.name);
}

std::optional<HWND> RadarWindow::picked() const {
  std::string t = text(kHandleBox);
  if (t.empty()) return std::nullopt;
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(box_handle(t)));
}

void RadarWindow::change_position() {
  auto h = picked();
  if (!h || text(kWidthBox).empty()) return;
  remote_.run(RemoteAction::move(*h, box_int(text(kLeftBox)), box_int(text(kTopBox)), box_int(text(kWidthBox)),
                                 box_int(text(kHeightBox))));
}

void RadarWindow::change_title() {
  if (auto h = picked()) remote_.run(RemoteAction::set_title(*h, to_wide(text(kTitleBox))));
}

void RadarWindow::pin(bool topmost) {
  if (auto h = picked()) remote_.run(RemoteAction::topmost(*h, topmost));
}

void RadarWindow::show_picked(bool visible) {
  if (auto h = picked()) ShowWindowAsync(*h, visible ? SW_SHOWNORMAL : SW_HIDE);
}

void RadarWindow::fade(int position) {
  auto h = picked();
  if (!h) return;
  auto alpha = alpha_for(position);
  if (!alpha) return;
  // The layered bit joins the window's own extended style; topmost, tool-window and the
  // rest stay as they were.
  remote_.run(RemoteAction::opacity(*h, static_cast<BYTE>(*alpha)));
}

void RadarWindow::open_folder() {
  std::wstring cmd = to_wide(explorer_command(text(kPathBox)));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ProcessHandle process(pi.hProcess);
    ProcessHandle thread(pi.hThread);
  }
}

void RadarWindow::rotate_tip() {
  std::string now = text(kTip);
  std::string next = next_tip(now);
  if (next != now) set_text(kTip, next);
}

}  // namespace tb::radar
