#include <doctest/doctest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "codemanager/translator.h"

using namespace tb;

namespace {
struct Row {
  const char* line;
  const char* reading;  // nullptr: no entry
  unsigned r, g, b;
};

constexpr unsigned kNone = 0;

// One table row per rule at least, in rule order, with the boundaries that move a line to
// another rule or to no entry.
const Row kRows[] = {
    {"Sub Test()", "子程序  test()", 153, 102, 0},
    {"Function F(a, b)", "函数  f(a, b)", 153, 102, 0},
    {"End Function", "函数结束", 153, 102, 0},
    {"End Sub", "子程序结束", 153, 102, 0},
    {"DimEnv hwnd", "定义环境变量  hwnd", 160, 0, 0},
    {"ReDim arr(10)", "重定义数组  arr(10)", 160, 0, 0},
    {"Dim a", "定义变量  a", 160, 0, 0},
    {"Declare Function GetTickCount Lib \"kernel32\" () As Long", "定义API函数 gettickcount", 160, 0, 0},
    {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "定义API函数 gettickcount", 160, 0, 0},
    {"Declare Function F Lib", "declare function f lib", 0, 0, 0},
    {"UserVar t=100 \"延时\"", "用户自定义变量  t=100 \"延时\"", 160, 0, 0},
    {"UserVar t=100", "uservar t=100", 0, 0, 0},
    {"'Note", "注释: note", 0, 128, 0},
    {"// note", "注释:  note", 0, 128, 0},
    {"Rem start", "标记 start", 0, 128, 0},
    {"Rem a b", "rem a b", 0, 0, 0},
    {"Goto start", "跳转到标记 start", 255, 153, 0},
    {"Do", "循环开始", 160, 0, 160},
    {"Do Until x = 1", "循环当 x = 1 之前", 160, 0, 160},
    {"Do While x > 1", "循环当 x > 1 时", 160, 0, 160},
    {"Do x", "do x", 0, 0, 0},
    {"For 10", "循环 10 次", 160, 0, 160},
    {"For i = 1 To 10", "循环  i = 1 到 10", 160, 0, 160},
    {"For i = 1 Step 2", nullptr, kNone, kNone, kNone},
    {"For total = 1 To 5", "循环  到tal = 1 ", 160, 0, 160},
    {"End For", "结束循环", 160, 0, 160},
    {"Loop", "结束循环", 160, 0, 160},
    {"Next i", "结束循环", 160, 0, 160},
    {"EndFor", "结束循环", 160, 0, 160},
    {"Loop Until x > 1", "当 x > 1 之前循环", 160, 0, 160},
    {"Loop While x", "当 x 时循环", 160, 0, 160},
    {"If a = 1 Then", "如果 a 则", 0, 0, 255},
    {"If a=1 Then", "如果 a=1 则", 0, 0, 255},
    {"If", "if", 0, 0, 0},
    {"ElseIf b Then", "否则如果 b 则", 0, 0, 255},
    {"Else", "否则", 0, 0, 255},
    {"Else x", "else x", 0, 0, 0},
    {"EndIf", "条件结束", 0, 0, 255},
    {"End If", "条件结束", 0, 0, 255},
    {"Select Case x", "根据变量 x 选择", 0, 0, 255},
    {"Case Else", "情况:等于 else 时", 0, 0, 255},
    {"End Select", "结束选择", 0, 0, 255},
    {"Call Foo(1)", "调用  foo(1)", 0, 153, 255},
    {"TracePrint \"Hi\"", "调试输出:  \"hi\"", 0, 153, 255},
    {"SayString \"abc\" x", "输入文本 \"abc\"", 0, 153, 255},
    {"MessageBox \"Hello World\"", "弹出窗口 \"hello", 0, 153, 255},
    {"FindPic 0,0,1024,768,\"a.bmp\",0.9,intX,intY",
     "从左上到右下找图片:\"a.bmp\"保存intx,inty相似度0.9指定区域findpic 0,0,1024,768", 0, 153, 255},
    {"FindPic 0,0,100,100,\"a.bmp\",0.9", nullptr, kNone, kNone, kNone},
    {"Delay 100", "延时 100 毫秒", 0, 153, 255},
    {"Delay 100 200", "delay 100 200", 0, 0, 0},
    {"PutAttachment \"c:\\\",\"*.bmp\"", "释放附件 \"*.bmp\" 到  \"c:\\\"", 0, 153, 255},
    {"PutAttachment \"c:\\\"", nullptr, kNone, kNone, kNone},
    {"KeyPress 65,1", "键盘按键 A键1 次", 0, 153, 255},
    {"KeyPress 9,1", "键盘按键 1 次", 0, 153, 255},
    {"KeyPress 65, 1", "keypress 65, 1", 0, 0, 0},
    {"KeyPress \"enter\",1", "键盘按键下 \"enter\",11 次", 0, 153, 255},
    {"KeyPress 65,1,2", nullptr, kNone, kNone, kNone},
    {"KeyPress 65", nullptr, kNone, kNone, kNone},
    {"KeyDown 13,1", "键盘按下 回车键1 次", 0, 153, 255},
    {"KeyUp \"a\",2", "键盘弹起 \"a\",22 次", 0, 153, 255},
    {"EndScript", "脚本停止运行", 255, 102, 0},
    {"VBSBegin", "开始VBScript块", 255, 102, 0},
    {"VBSEnd", "结束VBScript块", 255, 102, 0},
    {"MoveTo   100,200", "moveto 100,200", 0, 0, 0},
    // The number of a key word: full-width forms, sign, fraction and exponent, and it stops
    // at the first byte that does not fit.
    {"KeyPress ６５,1", "键盘按键 A键1 次", 0, 153, 255},
    {"KeyPress +6.5e1,3", "键盘按键 A键3 次", 0, 153, 255},
    {"KeyPress -65,1", "键盘按键下 -65,11 次", 0, 153, 255},
    {"KeyPress 0.00000001,1", "键盘按键下 0.00000001,11 次", 0, 153, 255},
    {"KeyPress 0.5,1", "键盘按键 1 次", 0, 153, 255},
    {"KeyPress 4294967361,1", "键盘按键 1 次", 0, 153, 255},
    // Two-byte characters: trail bytes are neither folded nor cut at, and full-width spaces
    // around a word are trimmed.
    {"'\x81" "A", "注释: \x81" "A", 0, 128, 0},
    {"For \x81" "To = 1 To 2", "循环  \x81" "To = 1 到 2", 160, 0, 160},
    {"PutAttachment \x81,x", nullptr, kNone, kNone, kNone},
    {"Dim \xA1\xA1" "a\xA1\xA1 b", "定义变量  a b", 160, 0, 0},
};
}  // namespace

TEST_CASE("translator: every rule in order, with its text and colour") {
  for (const Row& row : kRows) {
    CAPTURE(row.line);
    const Translation t = TranslateLine(row.line, "");
    if (!row.reading) {
      CHECK(t.empty());
      continue;
    }
    REQUIRE(t.size() == 1);
    CHECK(t[0].source == row.line);
    CHECK(t[0].reading == row.reading);
    CHECK(t[0].colour == (row.r | row.g << 8 | row.b << 16));
  }
  // The colour is a GDI value: red in the low byte.
  CHECK(TranslateLine("Delay 1", "")[0].colour == 0xFF9900u);
  // The prefix goes in front of the reading only.
  const Translation t = TranslateLine("        If A Then", "        ");
  REQUIRE(t.size() == 1);
  CHECK(t[0].source == "        If A Then");
  CHECK(t[0].reading == "        如果 a 则");
}

TEST_CASE("translator: the whole-snippet example") {
  const char* text =
      "Sub Main()\r\nFor i = 1 To 3\r\n \r\nIf i = 2 Then\r\nKeyPress 65,1\r\nElse\r\nDelay 100\r\n"
      "End If\r\nNext\r\nEnd Sub\r\n";
  struct Want {
    const char* source;
    const char* reading;
  };
  const Want want[] = {
      {"Sub Main()", "子程序  main()"},
      {"    For i = 1 To 3", "    循环  i = 1 到 3"},
      {"        If i = 2 Then", "        如果 i 则"},
      {"            KeyPress 65,1", "            键盘按键 A键1 次"},
      {"        Else", "        否则"},
      {"            Delay 100", "            延时 100 毫秒"},
      {"        End If", "        条件结束"},
      {"    Next", "    结束循环"},
      {"End Sub", "子程序结束"},
  };
  // The texts live in the Translation: they must survive its moves and copies.
  Translation moved = TranslateText(text);
  const Translation copied = moved;
  const Translation entries = std::move(moved);
  for (const Translation* t : {&entries, &copied}) {
    REQUIRE(t->size() == std::size(want));
    for (std::size_t i = 0; i < t->size(); ++i) {
      CAPTURE(i);
      CHECK((*t)[i].source == want[i].source);
      CHECK((*t)[i].reading == want[i].reading);
    }
  }
}

TEST_CASE("translator: lines without an entry leave out only themselves") {
  auto entries = TranslateText("If a Then\r\nFindPic 0,0,1,1\r\n\xA1\xA1" "Delay 2\r\nEnd If");
  REQUIRE(entries.size() == 3);
  CHECK(entries[0].reading == "如果 a 则");
  CHECK(entries[1].source == "    Delay 2");
  CHECK(entries[1].reading == "    延时 2 毫秒");
  CHECK(entries[2].reading == "条件结束");
  CHECK(TranslateText("").empty());
  CHECK(TranslateText(" \r\n\xA1\xA1\r\n").empty());
  // The views keep those lines as unknown ones, so a save writes every statement back.
  const Translation all = TranslateForViews("If a Then\r\nFindPic 0,0,1,1\r\n\xA1\xA1" "Delay 2\r\nEnd If");
  REQUIRE(all.size() == 4);
  CHECK(all[1].source == "    FindPic 0,0,1,1");
  CHECK(all[1].reading == "    findpic 0,0,1,1");
  CHECK(all[1].colour == 0);
  CHECK(all[2].reading == "    延时 2 毫秒");
}

TEST_CASE("translator: deep nesting needs more room than the text itself") {
  // 40 nested conditions indent up to 128 spaces per line, many times the input's bytes.
  std::string text;
  for (int i = 0; i < 40; ++i) text += "If a Then\r\n";
  const Translation t = TranslateText(text);
  REQUIRE(t.size() == 40);
  for (std::size_t i = 0; i < t.size(); ++i) {
    CAPTURE(i);
    const std::string indent(4 * std::min<std::size_t>(i, 32), ' ');
    CHECK(t[i].source == indent + "If a Then");
    CHECK(t[i].reading == indent + "如果 a 则");
  }
}

TEST_CASE("KeyName names exactly the 88 codes of the table") {
  int named = 0;
  for (std::int32_t code = -300; code <= 70000; ++code) named += !KeyName(code).empty();
  CHECK(named == 88);
  CHECK(KeyName(INT_MIN).empty());
  CHECK(KeyName(INT_MAX).empty());
  CHECK(KeyName(48) == "0键");
  CHECK(KeyName(57) == "9键");
  CHECK(KeyName(65) == "A键");
  CHECK(KeyName(90) == "Z键");
  CHECK(KeyName(112) == "F1键");
  CHECK(KeyName(127) == "F16键");
  CHECK(KeyName(3) == "Break");
  CHECK(KeyName(20) == "Caps Lock键");
  CHECK(KeyName(40) == "下光标键");
  CHECK(KeyName(191) == "除号键");
  CHECK(KeyName(222) == "单引号键");
  for (int code : {0, 9, 96, 97, 105, 109, 110, 111, 128, 223}) {
    CAPTURE(code);
    CHECK(KeyName(code).empty());
  }
}
