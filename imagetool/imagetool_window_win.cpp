#include "imagetool/imagetool_window.h"

#include <cstdlib>
#include <memory>

#include "base/bmp.h"
#include "base/colour.h"
#include "base/fileio.h"
#include "base/ini.h"
#include "imagetool/capture_library_win.h"
#include "imagetool/imagetool.h"
#include "imagetool/readout.h"
#include "imagetool/script_line.h"
#include "platform/clipboard_win.h"
#include "platform/msgbox.h"
#include "platform/picture.h"
#include "radar/probe.h"
#include "resources/imagetool_window.h"
#include "util/file_dialog.h"
#include "util/hotkey.h"

namespace tb::imagetool {

namespace n = res::imagetool_names;

namespace {

ImageToolWindow* g_window = nullptr;

constexpr char kTitle[] = "Tarvo";
constexpr char kDepthWarning[] = "非32位色下图片中部分颜色会失真";
constexpr char kBadPicture[] = "无法读取这个图片文件，请选择一个 BMP 图片。";
constexpr char kNoCapture[] = "截图功能不可用：截图组件无法写入或载入。";
constexpr char kNotWritten[] = "图片没有导出：无法写入这个文件。";
constexpr COLORREF kHandleGrey = 0xECECEC;
constexpr COLORREF kHandleRed = 0x0000FF;
constexpr COLORREF kBackdrop = RGB(255, 255, 255);

constexpr std::string_view kSlotIds[] = {"颜色1", "颜色2", "颜色3", "颜色4", "颜色5", "颜色6", "颜色7"};
struct Arrow {
  UINT key;
  std::string_view id;
  int dx, dy;
};
constexpr Arrow kArrows[] = {
    {VK_LEFT, "左移", -1, 0}, {VK_RIGHT, "右移", 1, 0}, {VK_UP, "上移", 0, -1}, {VK_DOWN, "下移", 0, 1}};

void move_mouse(int dx, int dy) {
  POINT p{};
  GetCursorPos(&p);
  SetCursorPos(p.x + dx, p.y + dy);
}

void tell(std::string_view text, UINT icon = 0) { message_box(text, MB_OK | icon, kTitle, current() ? current()->hwnd() : nullptr); }

}  // namespace

ImageToolWindow* current() { return g_window; }

bool open() { return Window::open_or_raise(g_window, res::kImageToolWindow); }

// The two page buttons stand for the tab control's headers: the current page's is marked.
void ImageToolWindow::paint_page_buttons() {
  const int pct = scale_pct();
  for (int page = 0; page < 2; ++page) {
    const std::string_view name = page == 0 ? n::kGatherTabButton : n::kWorkTabButton;
    set_painter(name, [this, page, pct, name](HDC dc, const RECT& r, theme::Face f) {
      const bool current = selected_page(n::kTabs) == page;
      theme::fill(dc, r, current ? theme::kPanel : theme::kBody);
      if (f != theme::Face::Normal && !current) theme::fill(dc, r, theme::kHover);
      theme::frame(dc, r, theme::kBorder);
      if (current) {
        RECT bar{r.left, r.top, r.left + MulDiv(3, pct, 100), r.bottom};
        theme::fill(dc, bar, theme::kAccent);
      }
      theme::text(dc, r, control_def(name)->text, current ? theme::kText : theme::kMuted,
                  theme::ui_font(MulDiv(13, pct, 100), current));
    });
  }
}

void ImageToolWindow::on_created() {
  const int pct = scale_pct();
  caption_buttons(n::kMinimise, n::kClose);
  set_painter(n::kPinButton, [pct](HDC dc, const RECT& r, theme::Face f) {
    theme::button_face(dc, r, "置顶", f, pct, true);
  });
  paint_page_buttons();
  for (std::string_view s : n::kSlotSwatches) set_swatch(s, theme::kPanel);
  for (std::string_view s : {n::kKeepSwatch, n::kBackgroundSwatch, n::kColourSwatch, n::kMarker})
    set_swatch(s, theme::kPanel);
  square_ = Dib::make(192 / zoom_, 192 / zoom_);
  measure_desktop();
  set_painter(n::kMagnifier, [this](HDC dc, const RECT& r, theme::Face) { draw_magnifier(dc, r); });
  pick_.attach(*this, n::kPickPanel, [this](HWND under) {
    put(n::kTitleBox, radar::window_title(under));
    put(n::kHandleBox, std::to_string(reinterpret_cast<std::intptr_t>(under)));
  });
  handle_brush_.reset(CreateSolidBrush(kHandleGrey));
  on(n::kHandleBox, Event::Colour, [this](EventArgs& a) {
    SetBkColor(a.dc, bound_ ? kHandleRed : kHandleGrey);
    a.answer(reinterpret_cast<LRESULT>(handle_brush_.get()));
  });

  on(n::kGatherTabButton, Event::Click, [this](const EventArgs&) { show_page(0); });
  on(n::kWorkTabButton, Event::Click, [this](const EventArgs&) { show_page(1); });
  on(n::kPinButton, Event::Click, [this](const EventArgs&) { show_popup_menu(n::kPinMenu); });
  on(n::kPinMenu, Event::Menu, [this](const EventArgs& a) { set_topmost(a.item == 0); });
  on(n::kCaptureMode, Event::Click, [this](const EventArgs&) {
    ini_write(config_ini(), "配置", "截图方式", checked(n::kCaptureMode) ? "真" : "假");
  });
  on(n::kCaptureButton, Event::Click, [this](const EventArgs&) { capture(); });
  on(n::kLoadButton, Event::Click, [this](const EventArgs&) { load(); });
  on(n::kExportButton, Event::Click, [this](const EventArgs&) { export_picture(); });
  on(n::kFindButton, Event::Click, [this](const EventArgs&) { find_on_screen(); });
  on(n::kBindButton, Event::Click, [this](const EventArgs&) { toggle_binding(); });
  on(n::kSeparateButton, Event::Click, [this](const EventArgs&) { separate(); });
  on(n::kReadoutTimer, Event::Tick, [this](const EventArgs&) { tick(); });
  for (int i = 0; i < 7; ++i)
    for (std::string_view box : {n::kSlotTexts[i], n::kSlotSwatches[i]})
      on(box, Event::RightClick, [this, i](EventArgs& a) {
        if (offer_slot_line(i)) a.answer(0);
      });

  // The picture starts empty at 76 x 45 pixels, white: pixels are the picture's own, never
  // scaled with the screen.
  Dib empty = Dib::make(76, 45);
  empty.fill(RGB(255, 255, 255));
  set_surface(n::kPicture, std::move(empty));
  show_page(1);
  set_checked(n::kCaptureMode, ini_read(config_ini(), "配置", "截图方式") == "真");
  show_similarity();
  tick();
  set_timer(n::kReadoutTimer, 50);
}

void ImageToolWindow::on_destroyed() {
  pick_.abandon();
  // The slot keys stay registered while the tool is inactive; they go with the window.
  for (std::string_view id : kSlotIds) unregister_hotkey(id);
  release_arrow_keys();
}

bool ImageToolWindow::on_message(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (clipboard_.handle(hwnd(), msg, wp)) {
    result = 0;
    return true;
  }
  if (msg == WM_DISPLAYCHANGE) measure_desktop();
  if (msg == WM_ACTIVATE) {
    if (LOWORD(wp) == WA_INACTIVE) release_arrow_keys();
    else register_hotkeys();
  }
  return false;
}

void ImageToolWindow::register_hotkeys() {
  for (int i = 0; i < 7; ++i) {
    register_hotkey(hwnd(), MOD_ALT | MOD_CONTROL, '1' + i, [this, i](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
      fill_slot(i + 1);
      return 0;
    }, kSlotIds[i]);
  }
  for (const Arrow& a : kArrows) {
    register_hotkey(hwnd(), 0, a.key, [a](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
      move_mouse(a.dx, a.dy);
      return 0;
    }, a.id);
  }
}

void ImageToolWindow::release_arrow_keys() {
  for (const Arrow& a : kArrows) unregister_hotkey(a.id);
}

void ImageToolWindow::show_page(int page) {
  select_page(n::kTabs, page);
  repaint(n::kGatherTabButton);
  repaint(n::kWorkTabButton);
}

void ImageToolWindow::set_swatch(std::string_view box, COLORREF c) {
  auto it = swatches_.find(box);
  if (it != swatches_.end()) {
    if (it->second == c) return;
    it->second = c;
    repaint(box);
    return;
  }
  swatches_.emplace(std::string(box), c);
  set_painter(box, [this, name = std::string(box)](HDC dc, const RECT& r, theme::Face) {
    auto found = swatches_.find(name);
    theme::fill(dc, r, found == swatches_.end() ? theme::kPanel : found->second);
    theme::frame(dc, r, theme::kBorder);
  });
  repaint(box);
}

void ImageToolWindow::put(std::string_view box, const std::string& value) {
  // Laying an edit's text out again costs more than the rest of a tick: only changes go in.
  if (text(box) != value) set_text(box, value);
}

void ImageToolWindow::measure_desktop() {
  // Asking for these is slow (under Wine about 0.2 ms each): once, and when displays change.
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  desktop_ = RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

COLORREF ImageToolWindow::pixel_at(POINT p) const {
  if (!PtInRect(&desktop_, p)) return CLR_INVALID;  // what GetPixel gives off every monitor
  const int x = p.x - corner_.x, y = p.y - corner_.y;
  if (square_ && x >= 0 && y >= 0 && x < square_.width() && y < square_.height()) {
    // A failed copy (a locked or secure desktop) reads as unreadable, not as the last tick.
    if (!square_read_) return CLR_INVALID;
    return colour::to_colorref(square_.pixels()[static_cast<std::size_t>(y) * square_.width() + x]);
  }
  return GetPixel(screen_.get(), p.x, p.y);
}

void ImageToolWindow::draw_magnifier(HDC dc, const RECT& r) {
  SetStretchBltMode(dc, COLORONCOLOR);
  if (!square_ || !square_read_ || !StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, square_.dc(), 0, 0,
                              square_.width(), square_.height(), SRCCOPY))
    theme::fill(dc, r, theme::kBody);
}

void ImageToolWindow::tick() {
  POINT p{};
  GetCursorPos(&p);
  // One copy of the square around the mouse serves the pixel reads and the magnifier: every
  // read of the screen is a round trip to the display (under Wine, as much as the rest of
  // the tick together).
  const int s = 192 / zoom_;
  corner_ = POINT{p.x - s / 2 + 2, p.y - s / 2 + 2};
  square_read_ = square_ && BitBlt(square_.dc(), 0, 0, s, s, screen_.get(), corner_.x, corner_.y, SRCCOPY);
  if (square_read_) GdiFlush();
  const COLORREF colour = pixel_at(p);
  const std::string decimal = decimal_colour(colour);
  put(n::kDecimalBox, decimal);
  const std::string hex = hex_colour(static_cast<std::uint32_t>(std::atoll(decimal.c_str())));
  put(n::kHexBox, hex);
  put(n::kCoordinateBox, coordinate_text(p.x, p.y, origin_x_, origin_y_));
  // The marker and swatch take a second reading, as the readout always has.
  POINT q{};
  GetCursorPos(&q);
  marker_ = pixel_at(q);
  set_swatch(n::kMarker, marker_);
  set_swatch(n::kColourSwatch, marker_);
  if (HWND mag = control(n::kMagnifier)) {
    WindowDc dc(mag);  // the box clips its marker out
    RECT r;
    GetClientRect(mag, &r);
    draw_magnifier(dc.get(), r);
  }
  const Components c = components(hex);
  put(n::kRedBox, std::to_string(c.r));
  put(n::kGreenBox, std::to_string(c.g));
  put(n::kBlueBox, std::to_string(c.b));
}

void ImageToolWindow::fill_slot(int slot) {
  if (slot < 1 || slot > 7) return;
  set_swatch(n::kSlotSwatches[slot - 1], marker_);
  if (slot == 1) set_swatch(n::kKeepSwatch, marker_);
  if (slot == 2) set_swatch(n::kBackgroundSwatch, marker_);
  const std::string hex = text(n::kHexBox);
  set_text(n::kSlotTexts[slot - 1], slot_text(text(n::kCoordinateBox), hex));
  if (slot == 1) set_text(n::kKeepBox, hex);
  if (slot == 2) set_text(n::kBackgroundBox, hex);
}

bool ImageToolWindow::offer_slot_line(int slot) {
  const Fields fields = slot_fields(text(n::kSlotTexts[slot]));
  if (fields.empty()) return false;  // an empty slot offers nothing; its box keeps its own menu
  if (choose_from_menu({"复制为脚本"}) != 0) return true;
  const std::string line = fill_template(script_template(config_ini(), kColourKey, kColourTemplate), fields);
  if (!Clipboard(hwnd()).put_gbk_text(line)) tell("复制到剪贴板失败。");
  return true;
}

void ImageToolWindow::toggle_binding() {
  const long long handle = std::atoll(text(n::kHandleBox).c_str());
  RECT r{};
  if (text(n::kBindButton) == "绑定" && handle > 0 &&
      GetWindowRect(reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle)), &r)) {
    origin_x_ = r.left;
    origin_y_ = r.top;
    bound_window_ = reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle));
    set_text(n::kBindButton, "解除绑定");
    bound_ = true;
  } else {
    origin_x_ = origin_y_ = 0;
    set_text(n::kBindButton, "绑定");
    bound_ = false;
  }
  handle_brush_.reset(CreateSolidBrush(bound_ ? kHandleRed : kHandleGrey));
  repaint(n::kHandleBox);
}

void ImageToolWindow::separate() {
  const auto keep = static_cast<std::uint32_t>(hex_to_number(text(n::kKeepBox)));
  const auto background = static_cast<std::uint32_t>(hex_to_number(text(n::kBackgroundBox)));
  Surface s = surface(n::kPicture);
  if (!s.pixels) return;
  GdiFlush();
  separate_colours(s.pixels, static_cast<std::size_t>(s.width) * s.height, keep, background);
  shown_.background = colour::to_pixel(background);
  repaint(n::kPicture);
}

bool ImageToolWindow::show_picture_file(const std::string& path) {
  // The two file buffers and the panel's picture are reused from one load to the next: for
  // a large picture, new memory costs more than reading and decoding it.
  if (!read_file(path, incoming_)) return false;
  const Surface s = surface(n::kPicture);
  if (decode_bmp_over(incoming_, s.dc, s.pixels, s.width, s.height)) {
    repaint(n::kPicture);
  } else {
    Dib dib = decode(incoming_, kBackdrop);
    if (!dib || !set_surface(n::kPicture, std::move(dib))) return false;
  }
  picture_file_.swap(incoming_);
  shown_ = {true, std::nullopt, path.substr(folder_of(path).size())};
  // The picture goes to the clipboard too, made from the file's bytes only when some program
  // asks for it; the tool window owns the clipboard so it can answer.
  clipboard_.promise(hwnd(), [this] { return decode(picture_file_, kBackdrop); });
  return true;
}

bool ImageToolWindow::show_clipboard_picture() {
  std::string dib = Clipboard(hwnd()).dib_bytes();
  Dib picture = decode(bmp_file_from_dib(dib), kBackdrop);
  if (!set_surface(n::kPicture, std::move(picture))) return false;
  shown_ = {true, std::nullopt, shown_.file};
  return true;
}

bool ImageToolWindow::export_to(const std::string& path) {
  Surface s = surface(n::kPicture);
  if (!s.pixels) return false;
  GdiFlush();
  if (!write_file_atomic(path, [&s](const ByteSink& sink) { return write_bmp24(s.pixels, s.width, s.height, sink); }))
    return false;
  shown_.file = path.substr(folder_of(path).size());
  return true;
}

void ImageToolWindow::capture() {
  // With the check box ticked, another screenshot program has put the picture there.
  if (!checked(n::kCaptureMode) && run_region_capture() == CaptureOutcome::Unavailable) {
    tell(kNoCapture, MB_ICONWARNING);
    return;
  }
  show_clipboard_picture();
  WindowDc dc(nullptr);
  if (GetDeviceCaps(dc.get(), BITSPIXEL) != 32) tell(kDepthWarning, MB_ICONWARNING);
}

void ImageToolWindow::load() {
  const std::string path =
      open_file(hwnd(), ini_read(config_ini(), "PIC", "上次打开路径"), "请选择图片，只支持bmp图片", "图像文件|*.bmp");
  if (path.empty()) return;
  if (!show_picture_file(path)) {
    tell(kBadPicture, MB_ICONWARNING);
    return;
  }
  ini_write(config_ini(), "PIC", "上次打开路径", folder_of(path));
}

void ImageToolWindow::export_picture() {
  const std::string path = save_file(hwnd(), ini_read(config_ini(), "PIC", "上次保存路径"), "请选择图片", "*.bmp", 1);
  if (path.empty()) return;
  if (!export_to(path)) {
    tell(kNotWritten, MB_ICONWARNING);
    return;
  }
  ini_write(config_ini(), "PIC", "上次保存路径", folder_of(path));
}

}  // namespace tb::imagetool
