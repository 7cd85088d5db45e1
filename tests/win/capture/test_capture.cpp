#include <doctest/doctest.h>
#include <windows.h>
#include <dlgs.h>
#include <wincodec.h>

#include <atomic>
#include <initializer_list>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/encoding.h"
#include "base/fileio.h"
#include "imagetool/capture_dll/session.h"
#include "imagetool/capture_dll/toolbar.h"
#include "imagetool/capture_library_win.h"
#include "tests/support/win_test_util.h"

using namespace tb::imagetool;

namespace {

std::string temp_root() {
  wchar_t buf[MAX_PATH];
  GetTempPathW(MAX_PATH, buf);
  return tb::to_gbk(buf) + "tb-capture-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) +
         "\\";
}

void remove_tree(const std::wstring& dir) {
  WIN32_FIND_DATAW f;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &f);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = f.cFileName;
      if (name == L"." || name == L"..") continue;
      if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(dir + name + L"\\");
      } else {
        SetFileAttributesW((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((dir + name).c_str());
      }
    } while (FindNextFileW(h, &f));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

std::string bytes_of(const std::string& path) {
  std::string b;
  tb::read_file(path, b);
  return b;
}

FILETIME write_time(const std::string& path) {
  FILETIME t{};
  HANDLE h = CreateFileW(tb::to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    GetFileTime(h, nullptr, nullptr, &t);
    CloseHandle(h);
  }
  return t;
}

void set_old_write_time(const std::string& path) {
  HANDLE h = CreateFileW(tb::to_wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME t = {0x2AC18000, 0x01C0E5A6};  // 2001
  SetFileTime(h, nullptr, nullptr, &t);
  CloseHandle(h);
}

}  // namespace

TEST_CASE("the embedded library is the DLL as built") {
  std::string built;
  REQUIRE(tb::read_file(tb::to_gbk(tb::test::host_path(TB_CAPTURE_DLL_FILE)), built));
  CHECK(embedded_capture_library() == built);
  CHECK(embedded_capture_library().substr(0, 2) == "MZ");
}

TEST_CASE("installing the library: reuse only identical bytes, else write, else the user folder") {
  enum class Fixed { Missing, SameSizeOther, Identical, InUseOther, NoFolder };
  enum class Where { FixedPath, UserFolder, Nowhere };
  struct Row {
    const char* name;
    Fixed fixed;
    bool user_identical;  // the user folder already holds the library
    bool user_blocked;    // the user folder cannot be created
    Where expect;
    bool rewritten;  // the resulting file got new bytes
  };
  const Row rows[] = {
      {"missing: written", Fixed::Missing, false, false, Where::FixedPath, true},
      {"same size, other bytes: replaced", Fixed::SameSizeOther, false, false, Where::FixedPath, true},
      {"identical: reused untouched", Fixed::Identical, false, false, Where::FixedPath, false},
      {"in use with other bytes: user folder", Fixed::InUseOther, false, false, Where::UserFolder, true},
      {"fixed folder missing: user folder", Fixed::NoFolder, false, false, Where::UserFolder, true},
      {"fixed folder missing, user copy identical: reused", Fixed::NoFolder, true, false, Where::UserFolder, false},
      {"nothing writable", Fixed::NoFolder, false, true, Where::Nowhere, false},
  };
  const std::string_view lib = embedded_capture_library();
  const std::string root = temp_root();
  int n = 0;
  for (const Row& row : rows) {
    CAPTURE(std::string(row.name));
    std::string dir = root + "case" + std::to_string(++n) + "\\";
    CreateDirectoryW(tb::to_wide(root).c_str(), nullptr);
    REQUIRE(CreateDirectoryW(tb::to_wide(dir).c_str(), nullptr));
    std::string fixed = row.fixed == Fixed::NoFolder ? dir + "absent\\手动截图.dll" : dir + "手动截图.dll";
    std::string user = dir + "local\\Tarvo\\";
    std::string user_file = user + "手动截图.dll";
    if (row.fixed == Fixed::SameSizeOther || row.fixed == Fixed::InUseOther) {
      std::string other(lib);
      other[other.size() / 2] ^= 0x5A;
      REQUIRE(tb::write_file_atomic(fixed, other));
    } else if (row.fixed == Fixed::Identical) {
      REQUIRE(tb::write_file_atomic(fixed, lib));
    }
    if (row.user_identical) {
      REQUIRE(CreateDirectoryW(tb::to_wide(dir + "local").c_str(), nullptr));
      REQUIRE(CreateDirectoryW(tb::to_wide(user).c_str(), nullptr));
      REQUIRE(tb::write_file_atomic(user_file, lib));
    }
    if (row.user_blocked) REQUIRE(tb::write_file_atomic(dir + "local", "a file where the folder would go"));
    std::string expected = row.expect == Where::FixedPath ? fixed : row.expect == Where::UserFolder ? user_file : "";
    if (!expected.empty() && !row.rewritten) set_old_write_time(expected);
    FILETIME before = write_time(expected);
    HANDLE busy = row.fixed == Fixed::InUseOther ? CreateFileW(tb::to_wide(fixed).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                              nullptr, OPEN_EXISTING, 0, nullptr)
                                                 : INVALID_HANDLE_VALUE;

    std::string got = install_capture_library(fixed, user);
    if (busy != INVALID_HANDLE_VALUE) CloseHandle(busy);
    CHECK(got == expected);
    if (expected.empty()) continue;
    CHECK(bytes_of(got) == lib);
    FILETIME after = write_time(got);
    CHECK((CompareFileTime(&before, &after) != 0) == row.rewritten);
  }
  remove_tree(tb::to_wide(root));
}

// ---- JT driven by synthesized input over a coordinate-coded screen ----

namespace {

// Every pixel of the pattern tells where it is.
std::uint32_t pattern(int x, int y) {  // 0x00RRGGBB
  return static_cast<std::uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x >> 8) & 0xF) << 4 | ((y >> 8) & 0xF));
}

LRESULT CALLBACK pattern_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT r;
    GetClientRect(w, &r);
    std::vector<std::uint32_t> px(static_cast<std::size_t>(r.right) * r.bottom);
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) px[static_cast<std::size_t>(y) * r.right + x] = pattern(x, y);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, 0, 0, r.right, r.bottom, 0, 0, 0, r.bottom, px.data(), &bi, DIB_RGB_COLORS);
    EndPaint(w, &ps);
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

// A borderless window over the whole (primary) screen showing the pattern.
struct PatternScreen {
  HWND w = nullptr;
  PatternScreen() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &pattern_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TbCapturePattern";
    RegisterClassW(&wc);
    w = CreateWindowExW(0, wc.lpszClassName, L"pattern", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(w);
    SetForegroundWindow(w);
    tb::test::pump(200);
  }
  ~PatternScreen() { DestroyWindow(w); }
};

// What the clipboard's CF_DIB holds, decoded as the image tool takes it.
struct ClipDib {
  bool present = false;
  std::string bytes;
};
ClipDib read_clipboard_dib() {
  ClipDib d;
  if (!OpenClipboard(nullptr)) return d;
  if (HANDLE h = GetClipboardData(CF_DIB)) {
    auto* p = static_cast<const char*>(GlobalLock(h));
    if (p) {
      d.present = true;
      d.bytes.assign(p, GlobalSize(h));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return d;
}

// A 32-bit DIB of w x h pixels of one grey.
std::string small_dib(int w, int h) {
  std::string b(40 + static_cast<std::size_t>(w) * h * 4, '\x33');
  BITMAPINFOHEADER bh = {40, w, h, 1, 32, BI_RGB, static_cast<DWORD>(w * h * 4), 0, 0, 0, 0};
  std::memcpy(b.data(), &bh, 40);
  return b;
}

void put_clipboard_dib(const std::string& bytes) {
  HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(m), bytes.data(), bytes.size());
  GlobalUnlock(m);
  REQUIRE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_DIB, m);
  CloseClipboard();
}

// Checks that the DIB is the pattern's region `r`: 40-byte header, three masks, 32-bit rows bottom-up.
void check_region(const std::string& dib, const RECT& r) {
  int w = r.right - r.left, h = r.bottom - r.top;
  REQUIRE(dib.size() >= 52);
  BITMAPINFOHEADER bh;
  std::memcpy(&bh, dib.data(), sizeof bh);
  CHECK(bh.biSize == 40);
  CHECK(bh.biWidth == w);
  CHECK(bh.biHeight == h);
  CHECK(bh.biBitCount == 32);
  CHECK(bh.biCompression == BI_BITFIELDS);
  REQUIRE(dib.size() >= 52 + static_cast<std::size_t>(w) * h * 4);
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint32_t px;
      std::memcpy(&px, dib.data() + 52 + (static_cast<std::size_t>(h - 1 - y) * w + x) * 4, 4);
      if ((px & 0xFFFFFF) != pattern(r.left + x, r.top + y) && ++wrong <= 3)
        MESSAGE("pixel ", x, ",", y, " is ", px, " not ", pattern(r.left + x, r.top + y));
    }
  CHECK(wrong == 0);
}

HWND visible(const wchar_t* cls) {
  HWND w = FindWindowW(cls, nullptr);
  return w && IsWindowVisible(w) ? w : nullptr;
}
bool wait_for(const wchar_t* cls, bool shown, DWORD ms = 5000) {
  DWORD end = GetTickCount() + ms;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    if ((visible(cls) != nullptr) == shown) return true;
    Sleep(10);
  }
  return false;
}

void mouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}
void move_to(int x, int y) {
  SetCursorPos(x, y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  in.mi.dx = static_cast<LONG>(((x - vx) * 65536LL + vw - 1) / vw);
  in.mi.dy = static_cast<LONG>(((y - vy) * 65536LL + vh - 1) / vh);
  SendInput(1, &in, sizeof in);
  Sleep(15);
}
// TB_CAPTURE_LOOK_MS holds a drag halfway and after its release, to look at the screen meanwhile.
DWORD look_ms() {
  wchar_t v[16] = {};
  return GetEnvironmentVariableW(L"TB_CAPTURE_LOOK_MS", v, 16) ? static_cast<DWORD>(_wtoi(v)) : 0;
}
void drag(const RECT& r) {  // press at the top left, move in steps, release at the bottom right
  move_to(r.left, r.top);
  mouse(MOUSEEVENTF_LEFTDOWN);
  for (int i = 1; i <= 6; ++i) {
    move_to(r.left + (r.right - r.left) * i / 6, r.top + (r.bottom - r.top) * i / 6);
    if (i == 3) Sleep(look_ms());
  }
  mouse(MOUSEEVENTF_LEFTUP);
  wait_for(capture::kToolbarClass, true);
  Sleep(30 + look_ms());
}
void key(WORD vk) {
  tb::test::send_keys({vk});
  Sleep(30);
}
void click_tool(capture::Command c) {
  HWND bar = visible(capture::kToolbarClass);
  if (!bar) return;
  RECT wr;
  GetWindowRect(bar, &wr);
  for (const capture::ToolButton& b : capture::kToolButtons)
    if (b.command == c) move_to(wr.left + b.x + b.w / 2, wr.top + b.y + b.h / 2);
  mouse(MOUSEEVENTF_LEFTDOWN);
  mouse(MOUSEEVENTF_LEFTUP);
  Sleep(30);
}
void double_click(int x, int y) {
  move_to(x, y);
  for (int i = 0; i < 2; ++i) {
    mouse(MOUSEEVENTF_LEFTDOWN);
    mouse(MOUSEEVENTF_LEFTUP);
  }
}

using Call = int(WINAPI*)(RECT*);

}  // namespace

TEST_CASE("JT: the selected region lands on the clipboard, and giving up leaves it alone") {
  enum class End { Enter, Finish, DoubleClick, Escape, RightButton, Close, UndoTwiceThenDrag };
  struct Row {
    const char* name;
    RECT first;      // the drag
    RECT second;     // a second drag, or empty
    int nudge_x, nudge_y;  // arrow keys and buttons after the drags
    End end;
    bool finished;
    RECT expect;
  };
  const Row rows[] = {
      {"Enter", {100, 80, 420, 300}, {}, 0, 0, End::Enter, true, {100, 80, 420, 300}},
      {"完成 after moves by keys and buttons", {600, 500, 650, 531}, {}, 2, -1, End::Finish, true, {602, 499, 652, 530}},
      {"double click inside, after undoing a second selection", {10, 10, 200, 150}, {700, 300, 900, 400}, 0, 0,
       End::DoubleClick, true, {10, 10, 200, 150}},
      {"undo back to selecting, then a new drag", {50, 50, 60, 60}, {70, 70, 90, 90}, 0, 0, End::UndoTwiceThenDrag, true,
       {1000, 700, 1279, 1023}},
      {"Esc", {100, 100, 300, 300}, {}, 0, 0, End::Escape, false, {}},
      {"right button", {100, 100, 300, 300}, {}, 0, 0, End::RightButton, false, {}},
      {"关闭", {100, 100, 300, 300}, {}, 0, 0, End::Close, false, {}},
  };
  PatternScreen screen;
  const std::string prior = small_dib(1, 1);  // what the abandoned captures must leave in place
  for (const Row& row : rows) {
    CAPTURE(std::string(row.name));
    put_clipboard_dib(prior);
    RedrawWindow(screen.w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // what the last capture covered
    tb::test::pump(200);
    std::thread driver([&row] {
      if (!wait_for(capture::kSelectionClass, true)) return;
      Sleep(100);
      drag(row.first);
      if (row.second.right) {
        drag(row.second);
        click_tool(capture::Command::Undo);
      }
      for (int i = 0; i < row.nudge_x; ++i) i % 2 ? key(VK_RIGHT) : click_tool(capture::Command::Right);
      for (int i = 0; i < -row.nudge_y; ++i) i % 2 ? key(VK_UP) : click_tool(capture::Command::Up);
      switch (row.end) {
        case End::Enter: key(VK_RETURN); break;
        case End::Finish: click_tool(capture::Command::Finish); break;
        case End::DoubleClick: double_click((row.expect.left + row.expect.right) / 2, (row.expect.top + row.expect.bottom) / 2); break;
        case End::Escape: key(VK_ESCAPE); break;
        case End::RightButton:
          mouse(MOUSEEVENTF_RIGHTDOWN);
          mouse(MOUSEEVENTF_RIGHTUP);
          break;
        case End::Close: click_tool(capture::Command::Close); break;
        case End::UndoTwiceThenDrag:
          click_tool(capture::Command::Undo);  // nothing before the first selection: selecting again
          wait_for(capture::kToolbarClass, false);
          key(VK_RETURN);  // nothing selected: nothing to finish
          drag(row.expect);
          key(VK_RETURN);
          break;
      }
    });
    CaptureOutcome outcome = run_region_capture();
    driver.join();
    CHECK(outcome == CaptureOutcome::Ran);
    CHECK(FindWindowW(capture::kSelectionClass, nullptr) == nullptr);
    CHECK(FindWindowW(capture::kToolbarClass, nullptr) == nullptr);
    CHECK(FindWindowW(capture::kMagnifierClass, nullptr) == nullptr);
    ClipDib clip = read_clipboard_dib();
    REQUIRE(clip.present);
    if (row.finished) {
      check_region(clip.bytes, row.expect);
    } else {
      CHECK(clip.bytes == prior);
    }
  }
  CHECK(bytes_of(kCaptureLibraryPath) == embedded_capture_library());  // installed where the toolbox expects it
  CHECK(GetModuleHandleW(tb::to_wide(kCaptureLibraryPath).c_str()) != nullptr);
}

// ---- The other exports, looked up by their GBK names, and the save button ----

namespace {

HMODULE library() {
  static HMODULE m = LoadLibraryW(tb::to_wide(install_capture_library(kCaptureLibraryPath, user_capture_folder())).c_str());
  return m;
}
template <class F>
F export_named(const char* gbk_name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library(), gbk_name)));
}

// Fills the save dialog's file name and presses OK.
void answer_save_dialog(const std::wstring& path) {
  HWND dlg = nullptr;
  for (int i = 0; i < 500 && !(dlg = FindWindowW(L"#32770", L"\x4FDD\x5B58\x56FE\x7247")); ++i) Sleep(10);  // 保存图片
  if (!dlg) return;
  Sleep(200 + look_ms());
  for (int id : {cmb13, edt1})
    if (HWND e = GetDlgItem(dlg, id)) SetWindowTextW(e, path.c_str());
  PostMessageW(dlg, WM_COMMAND, IDOK, 0);
}

// Decodes a picture file through WIC into 0x00RRGGBB pixels, top row first.
std::vector<std::uint32_t> decode(const std::wstring& path, UINT& w, UINT& h) {
  std::vector<std::uint32_t> px;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* f = nullptr;
  IWICBitmapDecoder* d = nullptr;
  IWICBitmapFrameDecode* fr = nullptr;
  IWICFormatConverter* c = nullptr;
  w = h = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f))) &&
      SUCCEEDED(f->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnLoad, &d)) &&
      SUCCEEDED(d->GetFrame(0, &fr)) && SUCCEEDED(f->CreateFormatConverter(&c)) &&
      SUCCEEDED(c->Initialize(fr, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                              WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(c->GetSize(&w, &h))) {
    px.resize(static_cast<std::size_t>(w) * h);
    if (FAILED(c->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(px.data())))) px.clear();
    for (auto& p : px) p &= 0xFFFFFF;
  }
  for (IUnknown* u : std::initializer_list<IUnknown*>{c, fr, d, f})
    if (u) u->Release();
  CoUninitialize();
  return px;
}

}  // namespace

TEST_CASE("the small exports") {
  REQUIRE(library());
  using TempFolder = int(WINAPI*)(char*, int);
  using Move = int(WINAPI*)(int, int);
  using ClipPicture = HBITMAP(WINAPI*)(HWND);
  using SetPointer = int(WINAPI*)(HWND);
  using SaveDialog = int(WINAPI*)(HWND, char*, int);
  using Refresh = int(WINAPI*)();
  auto temp = export_named<TempFolder>("目录_取临时目录");
  auto move = export_named<Move>("鼠标_移动");
  auto clip = export_named<ClipPicture>("剪辑板_取图片");
  auto pointer = export_named<SetPointer>("鼠标_改指针");
  auto dialog = export_named<SaveDialog>("对话框_另存文件");
  auto refresh = export_named<Refresh>("系统_刷新屏幕");
  REQUIRE((temp && move && clip && pointer && dialog && refresh && export_named<Call>("选取区域")));

  wchar_t wt[MAX_PATH];
  std::string folder = tb::to_gbk(std::wstring(wt, GetTempPathW(MAX_PATH, wt)));
  char buf[MAX_PATH] = {};
  CHECK(temp(buf, MAX_PATH) == static_cast<int>(folder.size()));
  CHECK(std::string(buf) == folder);
  CHECK(temp(buf, static_cast<int>(folder.size())) == 0);  // no room for the terminator
  CHECK(temp(buf, static_cast<int>(folder.size()) + 1) == static_cast<int>(folder.size()));

  POINT p;
  CHECK(move(123, 234) == 1);
  CHECK((GetCursorPos(&p) && p.x == 123 && p.y == 234));

  put_clipboard_dib(small_dib(3, 2));
  HBITMAP b = clip(nullptr);
  BITMAP bm{};
  CHECK((b && GetObjectW(b, sizeof bm, &bm) && bm.bmWidth == 3 && bm.bmHeight == 2));
  DeleteObject(b);
  REQUIRE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  CHECK(clip(nullptr) == nullptr);

  // A 32 x 32 monochrome cursor file as the pointer export expects it in the temporary folder.
  PatternScreen screen;
  std::string cur(6 + 16 + 40 + 8 + 128 + 128, '\0');
  auto put16 = [&](std::size_t at, int v) { cur[at] = static_cast<char>(v), cur[at + 1] = static_cast<char>(v >> 8); };
  auto put32 = [&](std::size_t at, int v) { put16(at, v), put16(at + 2, v >> 16); };
  put16(2, 2), put16(4, 1), cur[6] = 32, cur[7] = 32, put32(14, 40 + 8 + 256), put32(18, 22);
  put32(22, 40), put32(26, 32), put32(30, 64), put16(34, 1), put16(36, 1);
  cur[66] = cur[67] = cur[68] = static_cast<char>(0xFF);
  std::string cur_path = folder + "sb.cur";
  tb::remove_file(cur_path);
  CHECK(pointer(screen.w) == 0);  // no cursor file yet
  REQUIRE(tb::write_file_atomic(cur_path, cur));
  LONG_PTR before = GetClassLongPtrW(screen.w, GCLP_HCURSOR);
  CHECK(pointer(screen.w) == 1);
  CHECK(GetClassLongPtrW(screen.w, GCLP_HCURSOR) != before);
  tb::remove_file(cur_path);

  (void)refresh;  // it starts RunDll32, which this Wine lacks the entry point for

  std::thread answer([] { answer_save_dialog(L"C:\\shot"); });
  CHECK(dialog(screen.w, buf, MAX_PATH) == 11);
  answer.join();
  CHECK(std::string(buf) == "C:\\shot.png");  // the filter's extension, PNG being the one offered first
}

TEST_CASE("选取区域 gives the rectangle and leaves the clipboard alone; 保存 writes the region") {
  PatternScreen screen;
  const std::string prior = small_dib(1, 1);
  put_clipboard_dib(prior);
  const RECT r = {300, 200, 517, 333};
  std::thread driver([&r] {
    if (!wait_for(capture::kSelectionClass, true)) return;
    Sleep(100);
    drag(r);
    key(VK_RETURN);
  });
  RECT got{};
  CHECK(export_named<Call>("选取区域")(&got) == 1);
  driver.join();
  CHECK((got.left == r.left && got.top == r.top && got.right == r.right && got.bottom == r.bottom));
  CHECK(read_clipboard_dib().bytes == prior);

  struct Row {
    const char* ext;
    const char* signature;
    bool exact;  // lossless for this region
  };
  // GIF goes through a generated 256-colour palette, which Wine's WIC fills with averages.
  const Row rows[] = {{".bmp", "BM", true}, {".png", "\x89PNG", true}, {".gif", "GIF8", false}, {".jpg", "\xFF\xD8", false}};
  const RECT region = {40, 30, 52, 40};
  const std::string root = temp_root();
  CreateDirectoryW(tb::to_wide(root).c_str(), nullptr);
  for (const Row& row : rows) {
    CAPTURE(std::string(row.ext));
    RedrawWindow(screen.w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    tb::test::pump(200);
    std::string path = root + "saved" + row.ext;
    std::thread saver([&] {
      if (!wait_for(capture::kSelectionClass, true)) return;
      Sleep(100);
      drag(region);
      click_tool(capture::Command::Save);
      answer_save_dialog(tb::to_wide(path));
    });
    CHECK(run_region_capture() == CaptureOutcome::Ran);
    saver.join();
    std::string bytes = bytes_of(path);
    CHECK(bytes.substr(0, std::strlen(row.signature)) == row.signature);
    check_region(read_clipboard_dib().bytes, region);  // saving finishes the capture too
    UINT w, hh;
    std::vector<std::uint32_t> px = decode(tb::to_wide(path), w, hh);
    CHECK((w == 12 && hh == 10));
    if (row.exact && px.size() == 120) {
      int wrong = 0;
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
          if (px[static_cast<std::size_t>(y) * 12 + x] != pattern(40 + x, 30 + y) && ++wrong <= 3)
            MESSAGE(x, ",", y, ": ", px[static_cast<std::size_t>(y) * 12 + x], " not ", pattern(40 + x, 30 + y));
      CHECK(wrong == 0);
    }
    tb::remove_file(path);
  }
  remove_tree(tb::to_wide(root));
}
