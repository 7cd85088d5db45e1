// The list control on real windows: the "ListBox" it makes, its rows, and pictures decoded by
// the platform.
#include <doctest/doctest.h>
#include <windows.h>
#include <wincodec.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/fileio.h"
#include "platform/picture.h"
#include "widgets/grouplist/grouplist.h"
#include "widgets/grouplist/grouplist_win.h"
#include "widgets/grouplist/instance.h"

using namespace tb::grouplist;

namespace {

class Parent {
 public:
  Parent() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TbGroupListTestParent";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 267, 400,
                           nullptr, nullptr, wc.hInstance, nullptr);
    REQUIRE(hwnd);
  }
  ~Parent() { DestroyWindow(hwnd); }
  std::intptr_t handle() const { return reinterpret_cast<std::intptr_t>(hwnd); }
  HWND hwnd;
};

HWND list_hwnd(const GroupList& l) { return reinterpret_cast<HWND>(l.list_window()); }

LRESULT lb(const GroupList& l, UINT msg, WPARAM w = 0) { return SendMessageW(list_hwnd(l), msg, w, 0); }

// A bottom-up 24-bit BMP of one colour.
std::string bmp_file(int w, int h, BYTE r, BYTE g, BYTE b) {
  int stride = (w * 3 + 3) & ~3;
  std::string px(static_cast<std::size_t>(stride * h), '\0');
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::size_t o = static_cast<std::size_t>(y * stride + x * 3);
      px[o] = static_cast<char>(b), px[o + 1] = static_cast<char>(g), px[o + 2] = static_cast<char>(r);
    }
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(px.size());
  ih.biSize = sizeof ih;
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  std::string out(reinterpret_cast<char*>(&fh), sizeof fh);
  out.append(reinterpret_cast<char*>(&ih), sizeof ih);
  return out + px;
}

// A 16 x 16 32-bit icon: left half transparent, right half opaque green.
std::string ico_file() {
  std::string out;
  auto put16 = [&](WORD v) { out.append(reinterpret_cast<char*>(&v), 2); };
  auto put32 = [&](DWORD v) { out.append(reinterpret_cast<char*>(&v), 4); };
  const DWORD image = 40 + 16 * 16 * 4 + 16 * 4;
  put16(0), put16(1), put16(1);                                    // ICONDIR
  out += '\x10', out += '\x10', out += '\0', out += '\0';          // 16 x 16, no palette
  put16(1), put16(32), put32(image), put32(22);                    // planes, bpp, size, offset
  put32(40), put32(16), put32(32), put16(1), put16(32), put32(0);  // BITMAPINFOHEADER (double height)
  put32(0), put32(0), put32(0), put32(0), put32(0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) put32(x < 8 ? 0x00000000 : 0xFF10C820);  // ARGB: green 0x10C820
  out.append(16 * 4, '\0');                                            // AND mask
  return out;
}

// The smallest GIF: 1 x 1, one white pixel.
const std::string kGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00\x2C\x00\x00\x00\x00\x01\x00\x01\x00"
                       "\x00\x02\x02\x44\x01\x00\x3B",
                       35);

// A picture made by the platform's own encoder from raw pixels of the given format.
std::string encoded(const GUID& container, const GUID& format, UINT w, UINT h, UINT bpp, std::vector<BYTE> px) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // kept for the rest of the run
  IWICImagingFactory* f = nullptr;
  REQUIRE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                     reinterpret_cast<void**>(&f))));
  IWICBitmap* bmp = nullptr;
  IStream* stream = nullptr;
  IWICBitmapEncoder* enc = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  std::string out;
  if (SUCCEEDED(f->CreateBitmapFromMemory(w, h, format, w * bpp / 8, static_cast<UINT>(px.size()), px.data(), &bmp)) &&
      SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
      SUCCEEDED(f->CreateEncoder(container, nullptr, &enc)) &&
      SUCCEEDED(enc->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(enc->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
      SUCCEEDED(frame->WriteSource(bmp, nullptr)) && SUCCEEDED(frame->Commit()) && SUCCEEDED(enc->Commit())) {
    HGLOBAL mem = nullptr;
    GetHGlobalFromStream(stream, &mem);
    out.assign(static_cast<const char*>(GlobalLock(mem)), GlobalSize(mem));
    GlobalUnlock(mem);
  }
  for (IUnknown* u : std::initializer_list<IUnknown*>{frame, enc, stream, bmp, f})
    if (u) u->Release();
  return out;
}

// A flat 8 x 6 JPEG.
std::string jpeg_file() {
  return encoded(GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, 8, 6, 24, std::vector<BYTE>(8 * 6 * 3, 0x80));
}

// The pixel at (x, y) of a bitmap as 0x00RRGGBB.
DWORD pixel(std::intptr_t bitmap, int x, int y) {
  HBITMAP b = reinterpret_cast<HBITMAP>(bitmap);
  BITMAP bm{};
  GetObjectW(b, sizeof bm, &bm);
  std::vector<DWORD> px(static_cast<std::size_t>(bm.bmWidth * bm.bmHeight));
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, b, 0, static_cast<UINT>(bm.bmHeight), px.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  return px[static_cast<std::size_t>(y * bm.bmWidth + x)] & 0xFFFFFF;
}

SIZE bitmap_size(std::intptr_t bitmap) {
  BITMAP bm{};
  GetObjectW(reinterpret_cast<HBITMAP>(bitmap), sizeof bm, &bm);
  return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

TEST_CASE("grouplist on Windows: the list box it makes") {
  Parent parent;
  GroupList l(win32_list_host());
  CHECK_FALSE(l.Create(0, 0, 1, true));
  REQUIRE(l.Create(parent.handle(), 1, 1, true));
  HWND h = list_hwnd(l);
  wchar_t cls[64] = {}, title[64] = {};
  GetClassNameW(h, cls, 64);
  GetWindowTextW(h, title, 64);
  CHECK(lstrcmpiW(cls, L"ListBox") == 0);
  CHECK(std::wstring(title) == tb::to_wide("QQ列表框"));
  CHECK(GetParent(h) == parent.hwnd);
  LONG style = GetWindowLongW(h, GWL_STYLE);
  for (LONG bit : {WS_CHILD, WS_VISIBLE, LBS_OWNERDRAWVARIABLE, LBS_NOTIFY}) CHECK((style & bit) == bit);
  CHECK((style & LBS_HASSTRINGS) == 0);
  // The list box shows its scroll bar once the rows overflow it.
  for (int i = 0; i < 30; ++i) l.AddGroup("g", false, 0);
  CHECK((GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL) != 0);
  CHECK((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
  RECT pr, lr;
  GetWindowRect(parent.hwnd, &pr);
  GetWindowRect(h, &lr);
  CHECK(lr.right - lr.left == pr.right - pr.left);
  CHECK(lr.bottom - lr.top == pr.bottom - pr.top);
  LOGFONTW lf{};
  REQUIRE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof lf, &lf));
  CHECK(lf.lfHeight == 12);
  CHECK(lf.lfWeight == 400);
  CHECK(lf.lfCharSet == DEFAULT_CHARSET);
  CHECK(lf.lfPitchAndFamily == (FF_MODERN | DEFAULT_PITCH));
  CHECK(std::wstring(lf.lfFaceName) == tb::to_wide("宋体"));
  CHECK_FALSE(l.Create(parent.handle(), 0, 0, false));  // its list window still lives

  GroupList thin(win32_list_host());
  REQUIRE(thin.Create(parent.handle(), 2, 0, false));
  CHECK((GetWindowLongW(list_hwnd(thin), GWL_STYLE) & WS_BORDER) != 0);
  CHECK((GetWindowLongW(list_hwnd(thin), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0);
}

TEST_CASE("grouplist on Windows: the rows live in the list box") {
  Parent parent;
  GroupList l(win32_list_host());
  REQUIRE(l.Create(parent.handle(), 0, 1, true));
  std::string bmp = bmp_file(5, 3, 200, 100, 50);
  int a = l.AddGroup("好友", true, 0);
  int b = l.AddGroup("b", false, 0);
  auto item = [&](int group) {
    ItemRecord r;
    r.group = group;
    r.avatar = bmp;
    return l.AddItem(r, {}, false) ? r.handle : 0;
  };
  int x = item(a), y = item(a);
  REQUIRE((x && y && item(b)));
  REQUIRE(lb(l, LB_GETCOUNT) == 4);
  const int order[] = {a, x, y, b};
  const int heights[] = {24, 30, 30, 24};
  for (int i = 0; i < 4; ++i) {
    CHECK(lb(l, LB_GETITEMDATA, static_cast<WPARAM>(i)) == order[i]);
    CHECK(lb(l, LB_GETITEMHEIGHT, static_cast<WPARAM>(i)) == heights[i]);
    CHECK(l.GetHandleAt(i) == order[i]);
  }
  CHECK(l.GetHandleAt(4) == -1);
  CHECK(l.GetHandleAt(-1) == -1);

  l.SelectItem(y);  // medium view, enlarged selection
  CHECK(lb(l, LB_GETITEMHEIGHT, 2) == 54);
  l.ExpandAll();
  CHECK(lb(l, LB_GETCOUNT) == 5);
  l.CollapseGroup(a);
  CHECK(lb(l, LB_GETCOUNT) == 3);
  CHECK(lb(l, LB_GETITEMDATA, 1) == b);
  CHECK(l.Remove(b));
  CHECK(lb(l, LB_GETCOUNT) == 1);
  CHECK(l.DeleteGroups(0, false));
  CHECK(lb(l, LB_GETCOUNT) == 0);
}

TEST_CASE("grouplist on Windows: pictures from the platform decoder") {
  Parent parent;
  GroupList l(win32_list_host());
  REQUIRE(l.Create(parent.handle(), 0, 0, false));
  int g = l.AddGroup("g", true, 0);
  ItemRecord r;
  r.group = g;
  r.online = false;
  auto add = [&](const std::string& picture) {
    r.avatar = picture;
    return l.AddItem(r, {}, false) ? r.handle : 0;
  };
  std::string jpeg = jpeg_file();
  REQUIRE_FALSE(jpeg.empty());
  struct Case {
    const char* what;
    std::string bytes;
    int w, h;
  } cases[] = {{"bmp", bmp_file(5, 3, 200, 100, 50), 5, 3}, {"ico", ico_file(), 16, 16}, {"gif", kGif, 1, 1},
               {"jpeg", jpeg, 8, 6}};
  for (const Case& c : cases) {
    CAPTURE(c.what);
    int h = add(c.bytes);
    REQUIRE(h != 0);
    ElementRecord e;
    REQUIRE(l.ReadElement(h, e));
    CHECK(e.avatar_width == c.w);
    CHECK(e.avatar_height == c.h);
    CHECK(bitmap_size(e.avatar).cx == c.w);
    CHECK(e.grey_avatar != 0);
  }
  ElementRecord e;
  REQUIRE(l.ReadElement(l.GetHandleAt(1), e));
  // 0.3 * 200 + 0.59 * 100 + 0.11 * 50 = 124.5, truncated.
  CHECK(pixel(e.avatar, 4, 2) == 0xC86432);
  CHECK(pixel(e.grey_avatar, 4, 2) == 0x7C7C7C);
  REQUIRE(l.ReadElement(l.GetHandleAt(2), e));
  CHECK(pixel(e.avatar, 0, 0) == 0xFFFFFF);  // transparent icon pixels lie on white
  CHECK(pixel(e.avatar, 15, 0) == 0x10C820);
  REQUIRE(l.ReadElement(l.GetHandleAt(3), e));
  CHECK(pixel(e.avatar, 0, 0) == 0xFFFFFF);

  CHECK(add("") == 0);
  CHECK(add("not a picture at all") == 0);
  CHECK(add(bmp_file(5, 3, 0, 0, 0).substr(0, 30)) == 0);  // cut short
  CHECK(lb(l, LB_GETCOUNT) == 5);

  SUBCASE("service icons are cells of one strip") {
    CHECK(l.AddServiceIcon(bmp_file(16, 16, 255, 0, 0)) == 1);
    CHECK(l.AddServiceIcon(bmp_file(32, 32, 0, 0, 255)) == 2);
    CHECK(l.AddServiceIcon("junk") == 0);
    CHECK(l.AddServiceIcon(bmp_file(4, 4, 0, 255, 0), 0x00FF00) == 3);
    std::intptr_t strip = l.instance()->icon_strip;
    CHECK(bitmap_size(strip).cx == 48);
    CHECK(bitmap_size(strip).cy == 16);
    CHECK(pixel(strip, 8, 8) == 0xFF0000);
    CHECK(pixel(strip, 24, 8) == 0x0000FF);
    CHECK(pixel(strip, 40, 8) == 0x00FF00);
  }
  SUBCASE("online blink runs the message loop and ends online") {
    int h = l.GetHandleAt(1);
    CHECK(l.SetOnline(h, 20));
    REQUIRE(l.ReadElement(h, e));
    CHECK(e.online);
    CHECK(l.SetOffline(h));
  }
}

TEST_CASE("grouplist on Windows: SaveToFile to a GBK path") {
  Parent parent;
  GroupList l(win32_list_host());
  REQUIRE(l.Create(parent.handle(), 0, 0, false));
  l.AddGroup("组&<", true, 0);
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  std::string path = tb::to_gbk(tmp) + "列表框测试.xml";
  REQUIRE(l.SaveToFile(path));
  std::string saved;
  REQUIRE(tb::read_file(path, saved));
  CHECK(saved.rfind("<?xml version=\"1.0\" encoding=\"GBK\"?>", 0) == 0);
  CHECK(saved.find("<QQ列表 hwnd=\"" + std::to_string(l.list_window()) + "\"") != std::string::npos);
  CHECK(saved.find("分组名称=\"组&amp;&lt;\"") != std::string::npos);
  CHECK_FALSE(l.SaveToFile(tb::to_gbk(tmp) + "no\\such\\dir\\x.xml"));
  tb::remove_file(path);
}

TEST_CASE("platform pictures: DIB sections and decoding onto a backdrop") {
  for (auto [w, h] : {std::pair{0, 1}, {1, 0}, {-3, 2}, {2, -3}, {8193, 8192}}) {
    CAPTURE(w);
    CAPTURE(h);
    CHECK_FALSE(tb::Dib::make(w, h));
  }
  tb::Dib d = tb::Dib::make(3, 2);
  REQUIRE(d);
  CHECK(GetCurrentObject(d.dc(), OBJ_BITMAP) == d.bitmap());
  d.fill(RGB(10, 20, 30));
  CHECK(d.pixels()[5] == 0x0A141E);
  SetPixel(d.dc(), 1, 0, RGB(255, 0, 0));  // top row first, red in the high byte
  GdiFlush();
  CHECK(d.pixels()[1] == 0xFF0000);
  tb::Dib moved = std::move(d);
  CHECK_FALSE(d);
  HBITMAP bmp = moved.release();
  CHECK_FALSE(moved);
  REQUIRE(bmp);
  CHECK(bitmap_size(reinterpret_cast<std::intptr_t>(bmp)).cx == 3);
  CHECK(pixel(reinterpret_cast<std::intptr_t>(bmp), 1, 0) == 0xFF0000);  // readable: no DC holds it
  CHECK(DeleteObject(bmp));

  // Half-transparent red, then fully transparent, on green.
  std::string png = encoded(GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 2, 1, 32,
                            {0, 0, 255, 128, 0, 0, 255, 0});
  REQUIRE_FALSE(png.empty());
  tb::Dib p = tb::decode(png, RGB(0, 255, 0));
  REQUIRE(p);
  CHECK(p.width() == 2);
  CHECK(p.height() == 1);
  CHECK(p.pixels()[0] == 0x807F00);
  CHECK(p.pixels()[1] == 0x00FF00);

  // A black and white BMP: small it decodes; at 8193 x 8192, over 64 Mpixel, it is refused.
  auto one_bit_bmp = [](LONG w, LONG h) {
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    const DWORD size = static_cast<DWORD>((w + 31) / 32 * 4 * h);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih + 8;
    fh.bfSize = fh.bfOffBits + size;
    ih = {sizeof ih, w, h, 1, 1, BI_RGB, size, 0, 0, 2, 0};
    std::string out(reinterpret_cast<char*>(&fh), sizeof fh);
    out.append(reinterpret_cast<char*>(&ih), sizeof ih);
    out.append("\0\0\0\0\xFF\xFF\xFF\0", 8);  // black, white
    return out.append(size, '\xFF');
  };
  tb::Dib small = tb::decode(one_bit_bmp(40, 3), 0);
  REQUIRE(small);
  CHECK(small.pixels()[39] == 0xFFFFFF);
  std::string huge = one_bit_bmp(8193, 8192);
  CHECK_FALSE(tb::decode(huge, 0));
  CHECK_FALSE(tb::decode(huge.substr(0, 200) + "junk", 0));
  CHECK_FALSE(tb::decode("", 0));
  CHECK_FALSE(tb::decode("not a picture", 0));
}
