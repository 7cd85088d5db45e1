#include <doctest/doctest.h>

#include <initializer_list>
#include <string>

#include "codemanager/formatter.h"

using tb::FormatScript;

namespace {
// Joins lines with "\r\n" after each, as the formatter writes them.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s.append(l).append("\r\n");
  return s;
}
}  // namespace

TEST_CASE("formatter: indentation, blank lines, tabs and line ends") {
  // Existing indentation of any kind is replaced, not added to.
  CHECK(FormatScript("\xA1\xA1  Sub Main()\r\n      \xA1\xA1" "Delay 1 \xA1\xA1\r\n  End Sub  ") ==
        Lines({"Sub Main()", "    Delay 1", "End Sub"}));
  CHECK(FormatScript("") == "");
  CHECK(FormatScript("  \r\n\xA1\xA1 \xA1\xA1\r\n\r\n") == "");
  // The last line gets its "\r\n"; a final "\r\n" adds no line.
  CHECK(FormatScript("Delay 1") == "Delay 1\r\n");
  CHECK(FormatScript("Delay 1\r\n") == "Delay 1\r\n");
  // Tabs are not trimmed, and one before the first word makes the line class other.
  CHECK(FormatScript("\tIf a Then\r\nx\r\n") == Lines({"\tIf a Then", "x"}));
  CHECK(FormatScript("If a Then\r\n\t\r\n x \t \xA1\xA1\r\nEnd If") ==
        Lines({"If a Then", "    \t", "    x \t", "End If"}));
  // Only "\r\n" ends a line.
  CHECK(FormatScript("If a\nb\r\nc") == Lines({"If a\nb", "    c"}));
}

TEST_CASE("formatter: select blocks, surplus closers, routines and letter case") {
  CHECK(FormatScript(Lines({"Select Case x", "Case 1", "a = 1", "Case Else", "b = 2", "End Select", "c"})) ==
        Lines({"Select Case x", "Case 1", "    a = 1", "Case Else", "    b = 2", "End Select", "c"}));
  // Below zero nothing is indented until openers bring the level back above zero.
  CHECK(FormatScript(Lines({"End If", "Next", "If a Then", "x", "If b Then", "y", "Else", "z"})) ==
        Lines({"End If", "Next", "If a Then", "x", "If b Then", "y", "Else", "z"}));
  CHECK(FormatScript(Lines({"End If", "If a Then", "If b Then", "y"})) ==
        Lines({"End If", "If a Then", "If b Then", "    y"}));
  // A routine header goes to the margin and sets the level to 1 whatever came before.
  CHECK(FormatScript(Lines({"If a Then", "Do", "Function F()", "x", "End Function"})) ==
        Lines({"If a Then", "    Do", "Function F()", "    x", "End Function"}));
  CHECK(FormatScript(Lines({"if a then", "IF A THEN", "x", "eNd iF"})) ==
        Lines({"if a then", "    IF A THEN", "        x", "    eNd iF"}));
}

TEST_CASE("formatter mend: a class takes whole first words only") {
  // Single letters and parts of keywords were found inside the list texts before.
  CHECK(FormatScript(Lines({"For j = 1 To 3", "I = I + 1", "X = 1", "A = 1", "K = 1", "Func = 2",
                            "EN = 1", "SubTotal = 0", "Iff = 1", "Next"})) ==
        Lines({"For j = 1 To 3", "    I = I + 1", "    X = 1", "    A = 1", "    K = 1", "    Func = 2",
               "    EN = 1", "    SubTotal = 0", "    Iff = 1", "Next"}));
  CHECK(FormatScript(Lines({"If a Then", "  sub Go()", "x"})) == Lines({"If a Then", "sub Go()", "    x"}));
  CHECK(FormatScript(Lines({"While x", "IfColor 1,2,\"ff\",0 Then", "x", "EndIf", "WEND"})) ==
        Lines({"While x", "    IfColor 1,2,\"ff\",0 Then", "        x", "    EndIf", "WEND"}));
}

TEST_CASE("formatter mend: EndIf closes a block like End If") {
  CHECK(FormatScript(Lines({"Sub A()", "If a Then", "b", "EndIf", "c", "End Sub"})) ==
        Lines({"Sub A()", "    If a Then", "        b", "    EndIf", "    c", "End Sub"}));
  CHECK(FormatScript(Lines({"If a Then", "ElseIf b Then", "x", "endif"})) ==
        Lines({"If a Then", "ElseIf b Then", "    x", "endif"}));
}

TEST_CASE("formatter mend: a one-line If opens no block") {
  struct Case {
    const char* if_line;
    bool opens;
  };
  const Case cases[] = {
      {"If a Then Goto x", false},
      {"If a = 1 Then b = 2", false},
      {"If a Then: b", false},
      {"If a Then 延时", false},
      {"If s = \"x Then y\" Then", true},  // THEN inside a string does not count
      {"If a Then", true},
      {"If a Then\t", true},
      {"If a Then 'note", true},
      {"If a Then // 说明", true},
      {"If athen = 1 Then", true},  // only the whole word THEN
      {"If a = 1", true},           // no THEN: taken as a block, as before
      {"If a ' Then b", true},      // THEN inside the comment
      {"If \"a\"Then x", false},
  };
  for (const Case& c : cases) {
    CAPTURE(c.if_line);
    std::string out = FormatScript(std::string(c.if_line) + "\r\nx\r\n");
    CHECK(out == std::string(c.if_line) + (c.opens ? "\r\n    x\r\n" : "\r\nx\r\n"));
  }
}

TEST_CASE("formatter: two-byte characters are never cut") {
  // A lead byte takes the "\r" after it as its second byte, so no line ends there.
  CHECK(FormatScript("a\x81\r\nb\r\nc") == "a\x81\r\nb\r\nc\r\n");
  // A lone lead byte at the end would take the appended "\r" as well: it is dropped.
  CHECK(FormatScript("Dim a\xB0") == "Dim a\r\n");
  CHECK(FormatScript("x\r\n\xB0") == "x\r\n");
  CHECK(FormatScript(FormatScript("Dim a\xB0")) == "Dim a\r\n");
  // "啊" (B0 A1) before a full-width space: only the space goes.
  CHECK(FormatScript("x\xB0\xA1\xA1\xA1 \r\n") == "x\xB0\xA1\r\n");
}

TEST_CASE("formatter: deep nesting is printed at a bounded depth") {
  std::string in;
  for (int i = 0; i < 40; ++i) in += "If a Then\r\n";
  in += "x\r\n";
  for (int i = 0; i < 40; ++i) in += "End If\r\n";
  in += "y\r\n";
  std::string out = FormatScript(in);
  CHECK(out.find(std::string(128, ' ') + "x\r\n") != std::string::npos);
  CHECK(out.find(std::string(129, ' ')) == std::string::npos);
  // The level itself is kept, so the block still closes where it should.
  CHECK(out.substr(out.size() - 11) == "End If\r\ny\r\n");
  CHECK(FormatScript(out) == out);
}
