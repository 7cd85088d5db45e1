#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "base/bmp.h"
#include "base/colour.h"
#include "base/encoding.h"
#include "base/fileio.h"
#include "base/ini.h"
#include "imagetool/imagetool.h"
#include "imagetool/imagetool_window.h"
#include "platform/clipboard_win.h"
#include "resources/imagetool_window.h"
#include "tests/support/win_test_util.h"
#include "tests/win/radar/radar_driver.h"
#include "tests/win/util/ui_driver.h"

using namespace tb;
using imagetool::ImageToolWindow;
namespace n = res::imagetool_names;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kWhite = RGB(255, 255, 255), kBlack = 0;

ImageToolWindow* open_tool() {
  static bool framework = (init_framework(GetModuleHandleW(nullptr)), true);
  (void)framework;
  imagetool::open();
  ::test::wait_until([] { return imagetool::current() != nullptr; }, 2000);
  return imagetool::current();
}

void close_tool() {
  if (ImageToolWindow* w = imagetool::current()) w->destroy();
  ::test::wait_until([] { return imagetool::current() == nullptr; }, 2000);
}

std::string pictures(const char* name) { return to_gbk(tb::test::host_path(TB_TEST_PICTURES)) + "\\" + name; }

// The pattern as 0x00RRGGBB pixels, from ImageMagick's raw bytes.
struct Pattern {
  int w = 61, h = 37;
  std::vector<std::uint32_t> px;
  Pattern() {
    std::string raw;
    REQUIRE(read_file(pictures("p.rgb"), raw));
    REQUIRE(raw.size() == static_cast<std::size_t>(w * h * 3));
    for (std::size_t i = 0; i < raw.size(); i += 3)
      px.push_back(colour::pixel(static_cast<unsigned char>(raw[i]), static_cast<unsigned char>(raw[i + 1]),
                                 static_cast<unsigned char>(raw[i + 2])));
  }
};

std::vector<std::uint32_t> panel(ImageToolWindow* w, int& width, int& height) {
  GdiFlush();
  Surface s = w->surface(n::kPicture);
  width = s.width;
  height = s.height;
  return std::vector<std::uint32_t>(s.pixels, s.pixels + static_cast<std::size_t>(s.width) * s.height);
}

void check_panel_shows(ImageToolWindow* w, const Pattern& p) {
  int width = 0, height = 0;
  std::vector<std::uint32_t> got = panel(w, width, height);
  REQUIRE(width == p.w);
  REQUIRE(height == p.h);
  std::size_t wrong = 0, first = got.size();
  for (std::size_t i = 0; i < got.size(); ++i)
    if ((got[i] & 0xFFFFFF) != p.px[i] && wrong++ == 0) first = i;
  CAPTURE(first);
  CHECK(wrong == 0);
  if (first < got.size()) MESSAGE(got[first] << " " << p.px[first]);
}

// The pixels of a classic 24-bit bottom-up BMP file, as 0x00RRGGBB top row first.
std::vector<std::uint32_t> bmp24_pixels(const std::string& f, int& w, int& h) {
  auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(f[at]) | static_cast<unsigned char>(f[at + 1]) << 8 |
                                      static_cast<unsigned char>(f[at + 2]) << 16 |
                                      static_cast<unsigned char>(f[at + 3]) << 24);
  };
  REQUIRE(f.size() > 54);
  REQUIRE(f.substr(0, 2) == "BM");
  REQUIRE(u32(14) == 40);
  REQUIRE((u32(28) & 0xFFFF) == 24);
  w = static_cast<int>(u32(18));
  h = static_cast<int>(u32(22));
  const std::size_t off = u32(10), stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  REQUIRE(f.size() >= off + stride * h);
  std::vector<std::uint32_t> out;
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) {
      const std::size_t at = off + y * stride + x * 3;
      out.push_back(colour::pixel(static_cast<unsigned char>(f[at + 2]), static_cast<unsigned char>(f[at + 1]),
                                  static_cast<unsigned char>(f[at])));
    }
  return out;
}

std::string temp_dir() {
  wchar_t tmp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, tmp);
  return to_gbk(tmp);
}

// A borderless window of known colours at (100, 50), 160 x 120: the left half red, the right
// half white above and black below.
struct Target {
  static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      auto fill = [dc](RECT r, COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
      };
      fill({0, 0, 80, 120}, kRed);
      fill({80, 0, 160, 60}, kWhite);
      fill({80, 60, 160, 120}, kBlack);
      EndPaint(h, &ps);
      return 0;
    }
    return DefWindowProcW(h, m, wp, lp);
  }
  HWND hwnd = nullptr;
  Target() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TbColourTarget";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(WS_EX_TOPMOST, L"TbColourTarget", L"色块", WS_POPUP | WS_VISIBLE, 100, 50, 160, 120, nullptr,
                           nullptr, wc.hInstance, nullptr);
    UpdateWindow(hwnd);
    ::test::wait_until([] { return false; }, 100);
  }
  ~Target() { DestroyWindow(hwnd); }
};

// The colour on screen at the centre of a control.
COLORREF screen_colour_of(HWND control) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r;
  GetWindowRect(control, &r);
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, dc);
  return c;
}

// Moves the pointer, runs one readout step and lets the window paint.
void show_page(ImageToolWindow* w, int page) {
  w->select_page(n::kTabs, page);
  ::test::wait_until([] { return false; }, 100);
}

void read_at(ImageToolWindow* w, int x, int y) {
  SetCursorPos(x, y);
  w->tick();
  ::test::wait_until([] { return false; }, 30);
}

void make_active(HWND h) {
  SetForegroundWindow(h);
  ::test::wait_until([h] { return GetForegroundWindow() == h; }, 2000);
  ::test::wait_until([] { return false; }, 50);
}

void press(std::initializer_list<WORD> keys) {
  tb::test::send_keys(keys);
  ::test::wait_until([] { return false; }, 100);
}

POINT cursor() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

}  // namespace

TEST_CASE("a picture file or the clipboard shows pixel for pixel, and export writes it back") {
  Pattern p;
  ImageToolWindow* w = open_tool();
  REQUIRE(w);
  CHECK(w->unknown_names().empty());
  const std::string out = temp_dir() + "tb_imagetool_export.bmp";
  {  // before any picture: the empty panel, 76 x 45 and white
    REQUIRE(w->export_to(out));
    std::string bytes;
    REQUIRE(read_file(out, bytes));
    int ew = 0, eh = 0;
    CHECK(bmp24_pixels(bytes, ew, eh) == std::vector<std::uint32_t>(76 * 45, 0xFFFFFF));
    CHECK(ew == 76);
    CHECK(eh == 45);
  }
  for (const char* file : {"p24.bmp", "p32.bmp"}) {
    CAPTURE(file);
    REQUIRE(w->show_picture_file(pictures(file)));
    check_panel_shows(w, p);
    REQUIRE(w->export_to(out));
    std::string bytes;
    REQUIRE(read_file(out, bytes));
    int ew = 0, eh = 0;
    CHECK(bmp24_pixels(bytes, ew, eh) == p.px);
    CHECK(ew == p.w);
    CHECK(eh == p.h);
    // The loaded picture went to the clipboard: it comes back as the system's DIB.
    REQUIRE(w->show_picture_file(pictures("p24.bmp")));
    REQUIRE(w->set_surface(n::kPicture, Dib::make(5, 5)));
    REQUIRE(w->show_clipboard_picture());
    check_panel_shows(w, p);
  }
  remove_file(out);

  // Files that are no readable picture leave the panel as it was.
  {
    std::string good;
    REQUIRE(read_file(pictures("p24.bmp"), good));
    std::string huge = good.substr(0, 54);
    for (int i = 0; i < 2; ++i)  // 40000 x 40000 declared over a few bytes of pixels
      for (int b = 0; b < 4; ++b) huge[18 + 4 * i + b] = static_cast<char>((40000u >> (8 * b)) & 0xFF);
    huge += std::string(4096, '\x7f');
    struct Bad {
      std::string bytes;
      bool may_show;  // the decoder may show the rows a cut file still holds, at its full size
    };
    const Bad bad[] = {{good.substr(0, good.size() / 2), true},
                       {good.substr(0, 30), false},
                       {huge, false},
                       {"GIF89a not really", false},
                       {"", false}};
    const std::string path = temp_dir() + "tb_imagetool_bad.bmp";
    REQUIRE(w->show_picture_file(pictures("p24.bmp")));
    for (const Bad& b : bad) {
      CAPTURE(b.bytes.size());
      REQUIRE(write_file_atomic(path, b.bytes));
      const bool shown = w->show_picture_file(path);
      if (!b.may_show) CHECK_FALSE(shown);
      int pw = 0, ph = 0;
      panel(w, pw, ph);
      CHECK(pw == p.w);
      CHECK(ph == p.h);
    }
    remove_file(path);
  }
  imagetool::open();  // a second open brings the one window forward
  CHECK(imagetool::current() == w);

  // A 24-bit DIB as another screenshot program leaves it: header, then pixels at once.
  {
    std::string dib(40, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) dib[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, 2);
    put32(8, 2);
    put32(12, 1 | (24 << 16));
    const unsigned char rows[] = {0, 0, 255, 0, 255, 0, 0, 0,   // bottom: red, green, padding
                                  255, 0, 0, 255, 255, 255, 0, 0};  // top: blue, white
    dib.append(reinterpret_cast<const char*>(rows), sizeof rows);
    {
      Clipboard c(w->hwnd());
      REQUIRE(EmptyClipboard());
      HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, dib.size());
      memcpy(GlobalLock(mem), dib.data(), dib.size());
      GlobalUnlock(mem);
      REQUIRE(SetClipboardData(CF_DIB, mem));
    }
    REQUIRE(w->show_clipboard_picture());
    int pw = 0, ph = 0;
    std::vector<std::uint32_t> got = panel(w, pw, ph);
    for (auto& px : got) px &= 0xFFFFFF;
    CHECK(got == std::vector<std::uint32_t>{0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00});
  }
  // A clipboard without a picture leaves the panel as it was.
  {
    Clipboard c(w->hwnd());
    EmptyClipboard();
  }
  CHECK_FALSE(w->show_clipboard_picture());
  int pw = 0, ph = 0;
  panel(w, pw, ph);
  CHECK(pw == 2);

  // A loaded picture promised to the clipboard is still there once the tool has closed.
  REQUIRE(w->show_picture_file(pictures("p24.bmp")));
  close_tool();
  Dib kept = decode(bmp_file_from_dib(Clipboard(nullptr).dib_bytes()), 0);
  REQUIRE(kept);
  CHECK(kept.width() == p.w);
  CHECK(std::vector<std::uint32_t>(kept.pixels(), kept.pixels() + kept.pixel_count()) == p.px);
}

TEST_CASE("load and export through their dialogs remember folders only after success") {
  const std::string ini = config_ini();
  remove_file(ini);
  ImageToolWindow* w = open_tool();
  REQUIRE(w);
  const std::string folder = temp_dir() + "tb_imagetool_dlg\\";
  CreateDirectoryW(to_wide(folder).c_str(), nullptr);

  {  // not a picture: a message, no folder stored
    const std::string junk = folder + "junk.bmp";
    write_file_atomic(junk, "BM not really");
    bool told = false;
    ::test::DialogDriver pick(to_wide("请选择图片，只支持bmp图片"), [&](HWND d) {
      ::test::choose_file(d, to_wide(junk));
      told = ::test::answer_dialog(L"Tarvo", IDOK);
    });
    tb::test::send_click(w->control(n::kLoadButton));
    CHECK(pick.found());
    CHECK(told);
    CHECK(ini_read(ini, "PIC", "上次打开路径").empty());
    remove_file(junk);
  }
  {  // a picture: shown, its folder stored
    ::test::DialogDriver pick(to_wide("请选择图片，只支持bmp图片"),
                            [&](HWND d) { ::test::choose_file(d, to_wide(pictures("p24.bmp"))); });
    tb::test::send_click(w->control(n::kLoadButton));
    CHECK(pick.found());
    int pw = 0, ph = 0;
    panel(w, pw, ph);
    CHECK(pw == 61);
    CHECK(ini_read(ini, "PIC", "上次打开路径") == pictures("") );
  }
  {  // export: the name exactly as typed, no extension added
    const std::string path = folder + "abc";
    ::test::DialogDriver save(to_wide("请选择图片"), [&](HWND d) { ::test::choose_file(d, to_wide(path)); });
    tb::test::send_click(w->control(n::kExportButton));
    CHECK(save.found());
    CHECK(file_exists(path));
    CHECK_FALSE(file_exists(path + ".bmp"));
    CHECK(ini_read(ini, "PIC", "上次保存路径") == folder);
    remove_file(path);
  }
  RemoveDirectoryW(to_wide(folder).c_str());
  close_tool();
  remove_file(ini);
}

TEST_CASE("the capture mode survives closing and reopening") {
  const std::string ini = config_ini();
  remove_file(ini);
  for (bool on : {true, false}) {
    ImageToolWindow* w = open_tool();
    REQUIRE(w);
    if (w->checked(n::kCaptureMode) != on) SendMessageW(w->control(n::kCaptureMode), BM_CLICK, 0, 0);
    CHECK(ini_read(ini, "配置", "截图方式") == (on ? "真" : "假"));
    close_tool();
    w = open_tool();
    REQUIRE(w);
    CHECK(w->checked(n::kCaptureMode) == on);
    close_tool();
  }
  remove_file(ini);
}

TEST_CASE("readout, binding, slot hotkeys, arrow keys and separation") {
  Target target;
  ImageToolWindow* w = open_tool();
  REQUIRE(w);
  struct Case {
    int x, y;
    const char *decimal, *hex, *r, *g, *b;
    COLORREF colour;
  };
  const Case cases[] = {
      {130, 90, "255", "0000FF", "255", "0", "0", kRed},
      {220, 70, "16777215", "FFFFFF", "255", "255", "255", kWhite},
      {220, 150, "0", "000000", "0", "0", "0", kBlack},
  };
  for (const Case& c : cases) {
    CAPTURE(c.hex);
    read_at(w, c.x, c.y);
    CHECK(w->text(n::kDecimalBox) == c.decimal);
    CHECK(w->text(n::kHexBox) == c.hex);
    CHECK(w->text(n::kCoordinateBox) == std::to_string(c.x) + "," + std::to_string(c.y));
    CHECK(w->text(n::kRedBox) == c.r);
    CHECK(w->text(n::kGreenBox) == c.g);
    CHECK(w->text(n::kBlueBox) == c.b);
    CHECK(screen_colour_of(w->control(n::kColourSwatch)) == c.colour);
  }
  // The magnifier: the 24 x 24 square around (180, 105) is red on its left 10 columns, white
  // above and black below on the right.
  read_at(w, 180, 105);
  {
    HDC dc = GetDC(w->control(n::kMagnifier));
    CHECK(GetPixel(dc, 20, 10) == kRed);
    CHECK(GetPixel(dc, 170, 10) == kWhite);
    CHECK(GetPixel(dc, 170, 150) == kBlack);
    ReleaseDC(w->control(n::kMagnifier), dc);
  }

  // The radar's pick gesture: drag the target icon from 画板1 onto the colour window.
  radar_test::move_to(radar_test::centre(radar_test::window_rect(w->control(n::kPickPanel))));
  radar_test::button(true);
  ::test::wait_until([] { return false; }, 50);
  radar_test::move_to({120, 80});
  ::test::wait_until([] { return false; }, 50);
  radar_test::move_to({130, 90});
  ::test::wait_until([] { return false; }, 50);
  radar_test::button(false);
  ::test::wait_until([] { return false; }, 50);
  CHECK(w->text(n::kTitleBox) == "色块");
  CHECK(w->text(n::kHandleBox) == std::to_string(reinterpret_cast<std::intptr_t>(target.hwnd)));

  // Bound to the target's outer corner (100, 50): the mouse at (130, 90) reads 30,40.
  tb::test::send_click(w->control(n::kBindButton));
  CHECK(w->text(n::kBindButton) == "解除绑定");
  {  // the handle box turns red while bound: its right edge, past the digits
    RedrawWindow(w->control(n::kHandleBox), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ::test::wait_until([] { return false; }, 100);
    RECT r;
    GetWindowRect(w->control(n::kHandleBox), &r);
    HDC dc = GetDC(nullptr);
    CHECK(GetPixel(dc, r.right - 4, (r.top + r.bottom) / 2) == kRed);
    ReleaseDC(nullptr, dc);
  }
  read_at(w, 130, 90);
  CHECK(w->text(n::kCoordinateBox) == "30,40");

  make_active(w->hwnd());
  press({VK_CONTROL, VK_MENU, '3'});
  CHECK(w->text(n::kSlotTexts[2]) == "30,40 0000FF");
  show_page(w, 0);
  CHECK(screen_colour_of(w->control(n::kSlotSwatches[2])) == kRed);
  press({VK_CONTROL, VK_MENU, '1'});
  CHECK(w->text(n::kKeepBox) == "0000FF");
  read_at(w, 220, 150);
  press({VK_CONTROL, VK_MENU, '2'});
  CHECK(w->text(n::kSlotTexts[1]) == "120,100 000000");
  CHECK(w->text(n::kBackgroundBox) == "000000");
  show_page(w, 1);
  CHECK(screen_colour_of(w->control(n::kKeepSwatch)) == kRed);
  CHECK(screen_colour_of(w->control(n::kBackgroundSwatch)) == kBlack);

  // The arrows move the pointer while the tool is active, and only then.
  SetCursorPos(400, 200);
  press({VK_LEFT});
  press({VK_DOWN});
  CHECK(cursor().x == 399);
  CHECK(cursor().y == 201);
  make_active(target.hwnd);
  press({VK_RIGHT});
  CHECK(cursor().x == 399);
  // The slot keys still work while another window is in front.
  read_at(w, 130, 90);
  press({VK_CONTROL, VK_MENU, '7'});
  CHECK(w->text(n::kSlotTexts[6]) == "30,40 0000FF");

  // Screenshots for a look: the slots page with the magnifier on the target's corner, and the
  // work page with a picture.
  show_page(w, 0);
  read_at(w, 180, 110);
  RECT whole{0, 0, 1000, 800};
  CHECK(tb::test::save_screen_bmp(whole, to_wide(pictures("..\\imagetool_slots.bmp"))));

  // Unbinding puts the origin back.
  tb::test::send_click(w->control(n::kBindButton));
  CHECK(w->text(n::kBindButton) == "绑定");
  read_at(w, 130, 90);
  CHECK(w->text(n::kCoordinateBox) == "130,90");

  // Separation keeps exactly the keep colour; everything else becomes the background.
  REQUIRE(w->show_picture_file(pictures("p24.bmp")));
  show_page(w, 1);
  CHECK(tb::test::save_screen_bmp(whole, to_wide(pictures("..\\imagetool_work.bmp"))));
  int pw = 0, ph = 0;
  std::vector<std::uint32_t> before = panel(w, pw, ph);
  const std::uint32_t keep = before[7] & 0xFFFFFF;
  char hex[8];
  snprintf(hex, sizeof hex, "%06X", colour::to_colorref(keep));
  w->set_text(n::kKeepBox, hex);
  w->set_text(n::kBackgroundBox, "FFFFFF");
  tb::test::send_click(w->control(n::kSeparateButton));
  std::vector<std::uint32_t> after = panel(w, pw, ph);
  for (std::size_t i = 0; i < after.size(); ++i)
    CHECK((after[i] & 0xFFFFFF) == ((before[i] & 0xFFFFFF) == keep ? keep : 0xFFFFFFu));
  close_tool();
}

TEST_CASE("截图 runs the region capture, or takes the clipboard's picture in the other mode") {
  Target target;
  ImageToolWindow* w = open_tool();
  REQUIRE(w);
  if (w->checked(n::kCaptureMode)) SendMessageW(w->control(n::kCaptureMode), BM_CLICK, 0, 0);
  // A hand drags over the red half of the colour window and presses Enter.
  std::thread hand([] {
    HWND sel = nullptr;
    for (int i = 0; i < 500 && !(sel = FindWindowW(L"TarvoCaptureSelection", nullptr)); ++i) Sleep(10);
    if (!sel) return;
    Sleep(150);
    radar_test::move_to({100, 50});
    radar_test::button(true);
    Sleep(30);
    radar_test::move_to({140, 80});
    Sleep(30);
    radar_test::move_to({180, 110});
    Sleep(30);
    radar_test::button(false);
    Sleep(100);
    tb::test::send_keys({VK_RETURN});
  });
  tb::test::send_click(w->control(n::kCaptureButton));
  hand.join();
  int pw = 0, ph = 0;
  std::vector<std::uint32_t> got = panel(w, pw, ph);
  CHECK(pw == 80);
  CHECK(ph == 60);
  std::size_t red = 0;
  for (std::uint32_t px : got) red += (px & 0xFFFFFF) == 0xFF0000;
  CHECK(red == got.size());

  // Ticked: the picture another program left on the clipboard is taken as it is.
  SendMessageW(w->control(n::kCaptureMode), BM_CLICK, 0, 0);
  REQUIRE(w->checked(n::kCaptureMode));
  REQUIRE(w->show_picture_file(pictures("p24.bmp")));  // leaves it on the clipboard
  REQUIRE(w->set_surface(n::kPicture, Dib::make(3, 3)));
  tb::test::send_click(w->control(n::kCaptureButton));
  panel(w, pw, ph);
  CHECK(pw == 61);
  SendMessageW(w->control(n::kCaptureMode), BM_CLICK, 0, 0);
  close_tool();
  remove_file(config_ini());
}

TEST_CASE("a slot's right-click copies its line of script; an empty slot offers nothing") {
  ImageToolWindow* w = open_tool();
  REQUIRE(w);
  remove_file(config_ini());
  w->set_text(n::kSlotTexts[2], "12,-34 0000FF");
  tb::test::choose_next_menu_item(0);
  SendMessageW(w->control(n::kSlotTexts[2]), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  const std::string line = "IfColor 12,-34,\"0000FF\",0 Then";
  CHECK(tb::test::clipboard_unicode_text() == line);
  CHECK(tb::test::clipboard_plain_text() == line);
  CHECK(ini_read(config_ini(), "脚本模板", "颜色") == "IfColor {x},{y},\"{颜色}\",0 Then");  // there to edit
  w->set_text(n::kSlotTexts[3], "");
  CHECK_FALSE(w->offer_slot_line(3));
  close_tool();
}

namespace {

// Presses 找图 测试 and answers the message box; its text, and the outline window's rectangle
// while the box was up.
std::string press_find(ImageToolWindow* w, RECT* outlined = nullptr) {
  std::string said;
  ::test::DialogDriver box(L"Tarvo", [&](HWND d) {
    wchar_t t[1024] = {};
    GetDlgItemTextW(d, 0xFFFF, t, 1024);
    said = to_gbk(t);
    HWND o = FindWindowW(L"TarvoOutlines", nullptr);
    if (outlined && o && (GetWindowLongW(o, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) GetWindowRect(o, outlined);
    ::test::press_button(d, IDOK);
  });
  tb::test::send_click(w->control(n::kFindButton));
  box.join();
  return said;
}

}  // namespace

TEST_CASE("找图 测试 finds a piece of a window on the screen, bound and unbound, and copies the line") {
  remove_file(config_ini());
  Target target;
  ImageToolWindow* w = open_tool();
  REQUIRE(w);
  show_page(w, 1);
  CHECK(press_find(w) == "画板中没有图片：请先截图或载入图片，再找图。");
  // 30 x 30 around the target's corner of red, white and black, at window (65, 45).
  const std::string cut = temp_dir() + "tb_findpic_cut.bmp";
  REQUIRE(tb::test::save_screen_bmp({165, 95, 195, 125}, to_wide(cut)));
  REQUIRE(w->show_picture_file(cut));
  const std::string shown = "找图语句已复制到剪贴板：\r\nFindPic ";
  struct Press {
    bool bind;
    const char *similarity, *found, *corner, *line;
  } presses[] = {
      {false, "0.9", "找到 1 处", "第一处左上角 165,95。", "0,0,1280,1024,\"tb_findpic_cut.bmp\",0.9,intX,intY"},
      {true, ".95 ", "找到 1 处", "第一处左上角 65,45。", "0,0,160,120,\"tb_findpic_cut.bmp\",0.95,intX,intY"},
  };
  for (const Press& p : presses) {
    CAPTURE(p.bind);
    if (p.bind) {
      w->set_text(n::kHandleBox, std::to_string(reinterpret_cast<std::intptr_t>(target.hwnd)));
      tb::test::send_click(w->control(n::kBindButton));
    }
    w->set_text(n::kSimilarityBox, p.similarity);
    RECT outlined{};
    const std::string said = press_find(w, &outlined);
    CHECK(said.rfind(p.found, 0) == 0);
    CHECK(said.find(p.corner) != std::string::npos);
    CHECK(said.find(shown + p.line) != std::string::npos);
    CHECK(tb::test::clipboard_unicode_text() == "FindPic " + std::string(p.line));
    CHECK(tb::test::clipboard_plain_text() == "FindPic " + std::string(p.line));
    CHECK((outlined.left == 162 && outlined.top == 92 && outlined.right == 198 && outlined.bottom == 128));
  }
  CHECK(ini_read(config_ini(), "PIC", "相似度") == "0.95");
  CHECK(ini_read(config_ini(), "脚本模板", "找图") == "FindPic {x1},{y1},{x2},{y2},\"{文件}\",{相似度},intX,intY");
  CHECK(::test::wait_until([] { return FindWindowW(L"TarvoOutlines", nullptr) == nullptr; }, 3000));

  w->set_text(n::kSimilarityBox, "1.5");
  CHECK(press_find(w) == "相似度应是 0.5 到 1.0 之间的小数，例如 0.9。没有查找。");
  // Separated, only the red left half counts: it fits the red 80 x 120 at 66 x 91 places.
  tb::test::send_click(w->control(n::kBindButton));
  w->set_text(n::kSimilarityBox, "1");
  w->set_text(n::kKeepBox, "0000FF");
  w->set_text(n::kBackgroundBox, "00FF00");
  tb::test::send_click(w->control(n::kSeparateButton));
  const std::string said = press_find(w);
  CHECK(said.rfind("找到 6006 处（相似度 1：R、G、B 各允许相差 0；用时 ", 0) == 0);
  CHECK(said.find("，第一处左上角 100,50。屏幕上标出前 100 处。") != std::string::npos);
  // Wider than the bound window: no search.
  REQUIRE(tb::test::save_screen_bmp({0, 0, 170, 40}, to_wide(cut)));
  REQUIRE(w->show_picture_file(cut));
  tb::test::send_click(w->control(n::kBindButton));
  CHECK(press_find(w) == "图片（170×40）比要找的范围（160×120）还大，没有查找。");
  close_tool();
  remove_file(cut);
  remove_file(config_ini());
}
