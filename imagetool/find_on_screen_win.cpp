// 找图 测试: the screen (or the bound window's part of it) copied in one BitBlt, searched for
// the picture shown, every hit kept outlined for two seconds, the result told in a message box
// and the script's line for the same search put on the clipboard.
//
// The tool's own windows are kept out of the result, not hidden: the copy is taken before the
// outlines or the message box exist (outlines still shown from a search before are taken
// down first), and places overlapping the tool window, whose panel shows the picture itself,
// are not tried. System calls per search: GetWindowRect 1 (2 when bound), one BitBlt and one
// GdiFlush; the outline window: 4 region calls a hit, create, layered attributes, region,
// timer, show, one paint of 1 + 4 FillRect a hit; the clipboard: open, empty, 3
// SetClipboardData, close; the message box.
#include <windows.h>

#include <cmath>

#include "base/colour.h"
#include "base/fileio.h"
#include "base/ini.h"
#include "imagetool/imagetool_window.h"
#include "imagetool/picture_search.h"
#include "imagetool/script_line.h"
#include "platform/clipboard_win.h"
#include "platform/msgbox.h"
#include "platform/overlay_win.h"
#include "resources/imagetool_window.h"

namespace tb::imagetool {

namespace n = res::imagetool_names;

namespace {

constexpr char kTitle[] = "Tarvo";
constexpr char kSection[] = "PIC";
constexpr char kSimilarityKey[] = "相似度";
constexpr char kDefaultSimilarity[] = "0.9";
constexpr char kDefaultFile[] = "图片.bmp";
constexpr char kBadSimilarity[] = "相似度应是 0.5 到 1.0 之间的小数，例如 0.9。没有查找。";
constexpr char kNoPicture[] = "画板中没有图片：请先截图或载入图片，再找图。";
constexpr char kNothingCounted[] = "颜色分离后的图片只剩背景色，没有可比较的像素。没有查找。";
constexpr char kBoundGone[] = "绑定的窗口已关闭或不在屏幕上。请解除绑定或重新绑定后再找图。";
constexpr char kNoCopy[] = "无法读取屏幕内容，没有查找。";
constexpr COLORREF kOutline = RGB(255, 0, 0), kOutlineEdge = RGB(255, 255, 255);
constexpr int kOutlineWidth = 2;
constexpr unsigned kOutlineMs = 2000;

std::string number(long long v) { return std::to_string(v); }

double now_ms() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

ScreenRect screen_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

void ImageToolWindow::show_similarity() {
  const std::string kept = ini_read(config_ini(), kSection, kSimilarityKey);
  set_text(n::kSimilarityBox, parse_similarity(kept) ? kept : kDefaultSimilarity);
}

void ImageToolWindow::find_on_screen() {
  auto tell = [this](const std::string& text) { message_box(text, MB_OK, kTitle, hwnd()); };
  const std::optional<int> similarity = parse_similarity(text(n::kSimilarityBox));
  if (!similarity) return tell(kBadSimilarity);
  const Surface picture = surface(n::kPicture);
  if (!shown_.any || !picture.pixels) return tell(kNoPicture);
  // The bound window's outer rectangle, or every monitor; only what lies on a monitor.
  RECT region = desktop_, bound{};
  if (bound_ && !(GetWindowRect(bound_window_, &bound) && IntersectRect(&region, &bound, &desktop_)))
    return tell(kBoundGone);
  const int w = region.right - region.left, h = region.bottom - region.top;
  if (picture.width > w || picture.height > h)
    return tell("图片（" + number(picture.width) + "×" + number(picture.height) + "）比要找的范围（" + number(w) + "×" +
                number(h) + "）还大，没有查找。");
  const std::string s = similarity_text(*similarity);
  ini_write(config_ini(), kSection, kSimilarityKey, s);

  hide_outlines();
  const double start = now_ms();
  Dib grab = Dib::make(w, h);
  if (!grab || !BitBlt(grab.dc(), 0, 0, w, h, screen_.get(), region.left, region.top, SRCCOPY | CAPTUREBLT))
    return tell(kNoCopy);
  GdiFlush();
  SearchOptions options{.tolerance = tolerance_of(*similarity), .transparent = shown_.background};
  RECT own{};
  if (!IsIconic(hwnd()) && GetWindowRect(hwnd(), &own)) options.exclude = screen_rect(own);
  const SearchResult r = find_picture({grab.pixels(), w, h}, {region.left, region.top},
                                      {picture.pixels, picture.width, picture.height}, options);
  const long long ms = std::llround(now_ms() - start);
  if (r.status != SearchStatus::Done) return tell(kNothingCounted);  // all of it background

  std::vector<RECT> boxes;
  for (const ScreenPoint& p : r.hits) boxes.push_back({p.x, p.y, p.x + picture.width, p.y + picture.height});
  show_outlines(boxes, kOutline, kOutlineEdge, kOutlineWidth, kOutlineMs);

  // The line and the message speak in the readout's coordinates.
  const Fields fields{{"x1", number(region.left - origin_x_)},  {"y1", number(region.top - origin_y_)},
                      {"x2", number(region.right - origin_x_)}, {"y2", number(region.bottom - origin_y_)},
                      {"文件", shown_.file.empty() ? kDefaultFile : shown_.file}, {"相似度", s}};
  const std::string line = fill_template(script_template(config_ini(), kFindPicKey, kFindPicTemplate), fields);
  const bool copied = Clipboard(hwnd()).put_gbk_text(line);

  const std::string how = "（相似度 " + s + "：R、G、B 各允许相差 " + number(tolerance_of(*similarity)) + "；用时 " +
                          number(ms) + " 毫秒）";
  std::string told = r.count == 0 ? "没有找到" + how + "。"
                                  : "找到 " + number(static_cast<long long>(r.count)) + " 处" + how + "，第一处左上角 " +
                                        number(r.hits.front().x - origin_x_) + "," + number(r.hits.front().y - origin_y_) +
                                        "。";
  if (r.count > kMaxKeptHits) told += "屏幕上标出前 " + number(kMaxKeptHits) + " 处。";
  tell(told + (copied ? "\r\n找图语句已复制到剪贴板：" : "\r\n找图语句没能复制到剪贴板：") + "\r\n" + line);
}

}  // namespace tb::imagetool
