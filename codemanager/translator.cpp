#include "codemanager/translator.h"

#include <algorithm>
#include <cstring>

#include "base/colour.h"
#include "base/number.h"
#include "base/text.h"
#include "codemanager/format_lines.h"

namespace tb {

namespace {

using colour::colorref;
constexpr std::uint32_t kRoutineColour = colorref(153, 102, 0);
constexpr std::uint32_t kDeclarationColour = colorref(160, 0, 0);
constexpr std::uint32_t kCommentColour = colorref(0, 128, 0);
constexpr std::uint32_t kJumpColour = colorref(255, 153, 0);
constexpr std::uint32_t kLoopColour = colorref(160, 0, 160);
constexpr std::uint32_t kConditionColour = colorref(0, 0, 255);
constexpr std::uint32_t kCommandColour = colorref(0, 153, 255);
constexpr std::uint32_t kScriptColour = colorref(255, 102, 0);
constexpr std::uint32_t kPlainColour = colorref(0, 0, 0);

// One line split into its words; kept across the lines of a text so its buffers are reused.
struct Normalised {
  std::string lower;                    // the line lower-cased; the words point into it
  std::vector<std::string_view> words;  // w0 ... w(n-1)
  std::string joined;                   // L: the words joined by single spaces
};

void Normalise(std::string_view line, Normalised& s) {
  s.lower.assign(line.data(), line.size());
  s.words.clear();
  const std::string_view lower = s.lower;
  const std::size_t n = lower.size();
  // One pass lower-cases, cuts at ASCII spaces and trims each piece of full-width spaces:
  // [first, end) is the current piece without them.
  std::size_t first = npos;
  std::size_t end = 0;
  auto cut = [&] {
    if (first != npos) s.words.push_back(lower.substr(first, end - first));
    first = npos;
  };
  for (std::size_t i = 0; i < n;) {
    const auto c = static_cast<unsigned char>(lower[i]);
    std::size_t len = 1;
    if (c == ' ') {
      cut();
    } else {
      if (c >= 0x80 && i + 1 < n) {
        len = 2;
        if (c == 0xA1 && static_cast<unsigned char>(lower[i + 1]) == 0xA1) {
          i += 2;
          continue;
        }
      } else if (c >= 'A' && c <= 'Z') {
        s.lower[i] = static_cast<char>(c + 32);
      }
      if (first == npos) first = i;
      end = i + len;
    }
    i += len;
  }
  cut();
  s.joined.clear();
  for (std::size_t k = 0; k < s.words.size(); ++k) {
    if (k) s.joined += ' ';
    s.joined += s.words[k];
  }
}

// The text with its first `from` (letter case ignored, GBK-aware) changed to `to`.
std::string ChangedFirst(std::string_view text, std::string_view from, std::string_view to) {
  return replace_first_ignore_case(text, from, to);
}

// The condition of a DO or LOOP line: L without its keyword and then its UNTIL or WHILE.
std::string Condition(std::string_view l, std::string_view keyword, std::string_view kind) {
  const std::string rest = ChangedFirst(ChangedFirst(l, keyword, ""), kind, "");
  return std::string(trim(rest));
}

// Value of the decimal number at the start of a word, full-width forms read as ASCII.
double NumberOfWord(std::string_view w) {
  std::string ascii;
  for (std::size_t i = 0; i < w.size();) {
    char c = w[i];
    if (char_len(w, i) == 2) {
      // The A3 row of GBK holds the full-width forms of ASCII 21 to 7E.
      const auto lead = static_cast<unsigned char>(c);
      const auto trail = static_cast<unsigned char>(w[i + 1]);
      if (lead != 0xA3 || trail < 0xA1) break;
      c = static_cast<char>(trail - 0x80);
      i += 2;
    } else {
      ++i;
    }
    const bool fits = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
    if (!fits) break;
    ascii += c;
  }
  return text_to_double(ascii);
}

// KeyPress, KeyDown, KeyUp: "<label> <key name>P1 次" for a positive key code, else the raw
// word.
bool KeyRule(const Normalised& s, std::string_view named, std::string_view raw, std::string& out) {
  const std::vector<std::string> pieces = split(s.joined, ",");
  if (pieces.size() != 2) return false;
  const double v = NumberOfWord(s.words[1]);
  if (v > 0.0000001) {
    out += named;
    // Codes past the 32-bit range have no name either; the cast would be undefined there.
    out += KeyName(v >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(v));
  } else {
    out += raw;
    out += s.words[1];
  }
  out += pieces[1];
  out += " 次";
  return true;
}

// Appends the reading's text after the prefix; false where the deciding rule yields no entry.
bool ApplyRules(const Normalised& s, std::string& out, std::uint32_t& colour) {
  const auto& w = s.words;
  const std::size_t n = w.size();
  const std::string_view l = s.joined;
  const std::string_view w0 = w[0];
  const std::string_view w1 = n > 1 ? w[1] : std::string_view();
  auto emit = [&](std::uint32_t c, const auto&... parts) {
    (out.append(parts), ...);
    colour = c;
    return true;
  };

  // Routines.
  if (w0 == "sub") return emit(kRoutineColour, ChangedFirst(l, "sub", "子程序 "));
  if (w0 == "function") return emit(kRoutineColour, ChangedFirst(l, "function", "函数 "));
  if (n == 2 && w0 == "end" && w1 == "function") return emit(kRoutineColour, "函数结束");
  if (n == 2 && w0 == "end" && w1 == "sub") return emit(kRoutineColour, "子程序结束");

  // Declarations.
  if (w0 == "dimenv") return emit(kDeclarationColour, ChangedFirst(l, "dimenv", "定义环境变量 "));
  if (w0 == "redim") return emit(kDeclarationColour, ChangedFirst(l, "redim", "重定义数组 "));
  if (w0 == "dim") return emit(kDeclarationColour, ChangedFirst(l, "dim", "定义变量 "));
  if (w0 == "declare" && n >= 6) return emit(kDeclarationColour, "定义API函数 ", w[2]);
  if (n >= 6 && w1 == "declare") return emit(kDeclarationColour, "定义API函数 ", w[3]);
  if (w0 == "uservar" && n >= 3)
    return emit(kDeclarationColour, ChangedFirst(l, "uservar", "用户自定义变量 "));

  // Comments, labels and jumps.
  if (w0[0] == '\'') return emit(kCommentColour, ChangedFirst(l, "'", "注释: "));
  if (w0.substr(0, 2) == "//") return emit(kCommentColour, ChangedFirst(l, "//", "注释: "));
  if (n == 2 && w0 == "rem") return emit(kCommentColour, "标记 ", w1);
  if (n == 2 && w0 == "goto") return emit(kJumpColour, "跳转到标记 ", w1);

  // Loops.
  if (n == 1 && w0 == "do") return emit(kLoopColour, "循环开始");
  if (n >= 3 && w0 == "do" && w1 == "until")
    return emit(kLoopColour, "循环当 ", Condition(l, "do", "until"), " 之前");
  if (n >= 3 && w0 == "do" && w1 == "while")
    return emit(kLoopColour, "循环当 ", Condition(l, "do", "while"), " 时");
  if (n == 2 && w0 == "for") return emit(kLoopColour, "循环 ", w1, " 次");
  if (n >= 4 && w0 == "for") {
    // Cuts at every "to", inside names too; pieces after the second are dropped.
    const std::vector<std::string> p = split(l, "to");
    if (p.size() < 2) return false;
    return emit(kLoopColour, ChangedFirst("循环 " + p[0] + "到" + p[1], "for", ""));
  }
  if (n == 2 && w0 == "end" && w1 == "for") return emit(kLoopColour, "结束循环");
  if ((n == 1 && w0 == "loop") || w0 == "next" || w0 == "endfor") return emit(kLoopColour, "结束循环");
  if (n >= 3 && w0 == "loop" && w1 == "until")
    return emit(kLoopColour, "当 ", Condition(l, "loop", "until"), " 之前循环");
  if (n >= 3 && w0 == "loop" && w1 == "while")
    return emit(kLoopColour, "当 ", Condition(l, "loop", "while"), " 时循环");

  // Conditions and select blocks.
  if (n >= 2 && w0 == "if") return emit(kConditionColour, "如果 ", w1, " 则");
  if (n >= 2 && w0 == "elseif") return emit(kConditionColour, "否则如果 ", w1, " 则");
  if (n == 1 && w0 == "else") return emit(kConditionColour, "否则");
  if (n == 1 && w0 == "endif") return emit(kConditionColour, "条件结束");
  if (n == 2 && w0 == "end" && w1 == "if") return emit(kConditionColour, "条件结束");
  if (n == 3 && w0 == "select" && w1 == "case") return emit(kConditionColour, "根据变量 ", w[2], " 选择");
  if (n == 2 && w0 == "case") return emit(kConditionColour, "情况:等于 ", w1, " 时");
  if (n == 2 && w0 == "end" && w1 == "select") return emit(kConditionColour, "结束选择");

  // Commands.
  if (n >= 2 && w0 == "call") return emit(kCommandColour, "调用 ", ChangedFirst(l, "call", ""));
  if (n >= 2 && w0 == "traceprint") return emit(kCommandColour, ChangedFirst(l, "traceprint", "调试输出: "));
  if (n >= 2 && w0 == "saystring") return emit(kCommandColour, "输入文本 ", w1);
  if (n >= 2 && w0 == "messagebox") return emit(kCommandColour, "弹出窗口 ", w1);
  if (n >= 2 && w0 == "findpic") {
    // The keyword and its space stay at the front of the first piece.
    const std::vector<std::string> p = split(l, ",");
    if (p.size() < 8) return false;
    return emit(kCommandColour, "从左上到右下找图片:", p[4], "保存", p[6], ",", p[7], "相似度", p[5],
                "指定区域", p[0], ",", p[1], ",", p[2], ",", p[3]);
  }
  if (n == 2 && w0 == "delay") return emit(kCommandColour, "延时 ", w1, " 毫秒");
  if (n >= 2 && w0 == "putattachment") {
    const std::vector<std::string> p = split(ChangedFirst(l, "putattachment", ""), ",");
    if (p.size() < 2) return false;
    return emit(kCommandColour, "释放附件 ", p[1], " 到 ", p[0]);
  }
  if (n == 2 && w0 == "keypress") return KeyRule(s, "键盘按键 ", "键盘按键下 ", out) && emit(kCommandColour);
  if (n == 2 && w0 == "keydown") return KeyRule(s, "键盘按下 ", "键盘按下 ", out) && emit(kCommandColour);
  if (n == 2 && w0 == "keyup") return KeyRule(s, "键盘弹起 ", "键盘弹起 ", out) && emit(kCommandColour);

  // Script control.
  if (w0 == "endscript") return emit(kScriptColour, "脚本停止运行");
  if (w0 == "vbsbegin") return emit(kScriptColour, "开始VBScript块");
  if (w0 == "vbsend") return emit(kScriptColour, "结束VBScript块");

  return emit(kPlainColour, l);
}

// Fills reading (which already holds the prefix) and colour; false when there is no entry.
bool Translate(std::string_view line, Normalised& s, std::string& reading, std::uint32_t& colour) {
  Normalise(line, s);
  if (s.words.empty()) return false;  // a blank line: callers do not pass one
  return ApplyRules(s, reading, colour);
}

}  // namespace

// Appends entries to a Translation, copying their texts into its blocks.
class TranslationBuilder {
 public:
  // `expected` is the number of text bytes the entries will likely need; it sizes the first
  // block, so a typical text fits in one.
  TranslationBuilder(Translation& out, std::size_t expected, std::size_t entries)
      : out_(out), block_(std::max<std::size_t>(expected, 256)) {
    out_.entries_.reserve(entries);
  }

  // One entry: the source is the indentation and the body, the reading is given whole.
  void add(std::size_t indent, std::string_view body, std::string_view reading, std::uint32_t colour) {
    const std::size_t source_size = indent + body.size();
    char* p = take(source_size + reading.size());
    std::memset(p, ' ', indent);
    std::memcpy(p + indent, body.data(), body.size());
    std::memcpy(p + source_size, reading.data(), reading.size());
    out_.entries_.push_back({std::string_view(p, source_size), std::string_view(p + source_size, reading.size()), colour});
  }

 private:
  char* take(std::size_t n) {
    if (n > left_) {
      // The second block is a quarter of the first (the estimate was a little short), and
      // each later one twice the one before, so a text far past the estimate (deep nesting
      // indents every line by up to 128 spaces) still needs only a few blocks.
      const std::size_t size = std::max(n, block_);
      block_ = blocks_made_++ == 0 ? std::max<std::size_t>(block_ / 4, 256) : 2 * block_;
      out_.blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
      cur_ = out_.blocks_.back().get();
      left_ = size;
    }
    char* p = cur_;
    cur_ += n;
    left_ -= n;
    return p;
  }

  Translation& out_;
  std::size_t block_;
  int blocks_made_ = 0;
  char* cur_ = nullptr;
  std::size_t left_ = 0;
};

Translation::Translation(const Translation& o) {
  std::size_t total = 0;
  for (const TranslationEntry& e : o.entries_) total += e.source.size() + e.reading.size();
  TranslationBuilder b(*this, total, o.entries_.size());
  for (const TranslationEntry& e : o.entries_) b.add(0, e.source, e.reading, e.colour);
}

Translation TranslateLine(std::string_view line, std::string_view indent) {
  Normalised s;
  std::string reading(indent);
  std::uint32_t colour = 0;
  Translation t;
  if (!Translate(line, s, reading, colour)) return t;
  TranslationBuilder(t, line.size() + reading.size(), 1).add(0, line, reading, colour);
  return t;
}

namespace {

// Both public walks over a text; with keep_all a line whose rule yields no entry reads as any
// unknown line does (its normalised words, black), so the views keep every line.
Translation TranslateLines(std::string_view text, bool keep_all) {
  Translation t;
  // Room for one entry per line, but never more than one per 16 bytes: a text of bare line
  // ends must not reserve memory for entries it will never have.
  const auto line_ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  const std::size_t lines = std::min(line_ends, text.size() / 16) + 1;
  // Source and reading together, with the indentation both carry, come to about three bytes
  // per input byte in real scripts. A closer first block matters: the allocator hands a
  // freed block of moderate size out again, where an oversized one is fresh pages from the
  // system on every call (glibc maps requests past 32 MB anew each time).
  TranslationBuilder out(t, 3 * text.size(), lines);
  Normalised s;
  std::string reading;
  std::uint32_t colour = 0;
  // A formatted line is its indentation and its body; the words come from the body alone and
  // the prefix is as long as the indentation.
  format_detail::ForEachFormattedLine(text, [&](std::size_t indent, std::string_view body) {
    reading.assign(indent, ' ');
    if (Translate(body, s, reading, colour)) {
      out.add(indent, body, reading, colour);
    } else if (keep_all) {
      reading.assign(indent, ' ');
      reading += s.joined;
      out.add(indent, body, reading, kPlainColour);
    }
  });
  return t;
}

}  // namespace

Translation TranslateText(std::string_view text) { return TranslateLines(text, false); }

Translation TranslateForViews(std::string_view text) { return TranslateLines(text, true); }

std::string KeyName(std::int32_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
    return std::string(1, static_cast<char>(code)) + "键";
  if (code >= 112 && code <= 127) return std::string("F").append(std::to_string(code - 111)).append("键");
  switch (code) {
    case 3: return "Break";
    case 8: return "退格键";
    case 13: return "回车键";
    case 16: return "Shift键";
    case 17: return "Ctrl键";
    case 18: return "Alt键";
    case 19: return "Pause键";
    case 20: return "Caps Lock键";
    case 27: return "Esc键";
    case 32: return "空格键";
    case 33: return "PageUp键";
    case 34: return "PageDown键";
    case 35: return "End键";
    case 36: return "Home键";
    case 37: return "左光标键";
    case 38: return "上光标键";
    case 39: return "右光标键";
    case 40: return "下光标键";
    case 45: return "Ins键";
    case 46: return "Del键";
    case 91: return "Win键";
    case 106: return "乘号键";
    case 107: return "加号键";
    case 144: return "NumLock键";
    case 145: return "ScrollLock键";
    case 186: return "分号键";
    case 187: return "等号键";
    case 188: return "逗号键";
    case 189: return "减号键";
    case 190: return "圆点键";
    case 191: return "除号键";
    case 192: return "反撇号键";
    case 219: return "左中括号键";
    case 220: return "斜杠键";
    case 221: return "右中括号键";
    case 222: return "单引号键";
    default: return {};
  }
}

}  // namespace tb
