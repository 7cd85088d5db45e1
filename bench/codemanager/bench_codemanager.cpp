// Formatter and translator throughput on a synthetic macro script of 1 MB and 10 MB: routines
// with nested loops, conditions and select blocks, every keyword the translator knows,
// Chinese comments and strings, the author's own ragged indentation and blank lines.
// Run with the default allocator: the goals are for what users get.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "codemanager/formatter.h"
#include "codemanager/translator.h"

namespace {

class ScriptWriter {
 public:
  explicit ScriptWriter(unsigned seed) : rng_(seed) {}

  std::string Write(std::size_t bytes) {
    out_.clear();
    out_.reserve(bytes + 4096);
    for (int n = 0; out_.size() < bytes; ++n) Routine(n);
    return std::move(out_);
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  void Line(const std::string& text) {
    // Authors indent by hand, sometimes with full-width spaces, and leave blank lines.
    static const char* const kLead[] = {"", "", "  ", "    ", "\t", "\xA1\xA1"};
    out_ += kLead[Pick(6)];
    out_ += text;
    out_ += Pick(12) == 0 ? "  \r\n\r\n" : "\r\n";
  }

  void Routine(int n) {
    const std::string name = "Task" + std::to_string(n);
    if (Pick(4) == 0) {
      Line("Function " + name + "(x, y)");
      Block(1);
      Line("End Function");
    } else {
      Line("Sub " + name + "()");
      Block(1);
      Line("End Sub");
    }
  }

  void Block(int depth) {
    for (int k = 2 + Pick(5); k > 0; --k) {
      if (depth < 5 && Pick(3) == 0) Nested(depth);
      else Statement();
    }
  }

  void Nested(int depth) {
    switch (Pick(7)) {
      case 0:
        Line("If 金币数量 > " + std::to_string(Pick(1000)) + " Then");
        Block(depth + 1);
        if (Pick(2)) {
          Line("ElseIf 金币数量 = 0 Then");
          Block(depth + 1);
        }
        Line("Else");
        Block(depth + 1);
        Line(Pick(2) ? "End If" : "EndIf");
        break;
      case 1:
        Line("For i = 1 To " + std::to_string(1 + Pick(50)));
        Block(depth + 1);
        Line(Pick(3) ? "Next" : Pick(2) ? "EndFor" : "End For");
        break;
      case 2:
        Line(Pick(2) ? "Do While x > 1" : "Do Until x = 10");
        Block(depth + 1);
        Line(Pick(2) ? "Loop" : "Loop Until y > 3");
        break;
      case 3:
        Line("Select Case 状态");
        for (int c = 1 + Pick(3); c > 0; --c) {
          Line("Case " + std::to_string(c));
          Block(depth + 1);
        }
        Line("Case Else");
        Statement();
        Line("End Select");
        break;
      case 4:
        Line("While 窗口句柄 <> 0");
        Block(depth + 1);
        Line("Wend");
        break;
      case 5:
        Line("IfColor 860,28,\"e1b072\",0 Then");
        Block(depth + 1);
        Line("EndIf");
        break;
      default:
        Line("Do");
        Block(depth + 1);
        Line("If 找到 = 1 Then Exit Do");
        Line("Loop");
        break;
    }
  }

  void Statement() {
    static const char* const kStatements[] = {
        "KeyPress 65,1",
        "KeyPress \"Enter\",1",
        "KeyDown 17,1",
        "KeyUp 17,1",
        "Delay 500",
        "Dim 金币数量, 状态",
        "DimEnv 窗口句柄",
        "ReDim 坐标(10)",
        "UserVar 延时=300 \"每次按键后的延时(毫秒)\"",
        "Declare Function GetTickCount Lib \"kernel32\" () As Long",
        "' 检查背包是否已满，满了就回城",
        "// 找图失败时重试三次",
        "Rem 开始",
        "Goto 开始",
        "Call 回城(1)",
        "TracePrint \"当前坐标：\" & intX & \",\" & intY",
        "SayString \"你好，世界\"",
        "MessageBox \"脚本运行结束\"",
        "FindPic 0,0,1024,768,\"Attachment:\\背包.bmp\",0.9,intX,intY",
        "PutAttachment \"c:\\脚本\",\"*.bmp\"",
        "MoveTo intX, intY",
        "LeftClick 1",
        "x = x + 1",
        "金币数量 = 金币数量 - 1",
        "VBSBegin",
        "VBSEnd",
        "EndScript",
    };
    Line(kStatements[Pick(static_cast<int>(std::size(kStatements)))]);
  }

  std::mt19937 rng_;
  std::string out_;
};

const std::string& Script(std::size_t mb) {
  static const std::string one = ScriptWriter(1).Write(1000000);
  static const std::string ten = ScriptWriter(10).Write(10000000);
  return mb == 1 ? one : ten;
}

void SetRate(benchmark::State& state, std::size_t bytes) {
  // Decimal megabytes per second, the unit of the goals.
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
  state.counters["input_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_FormatScript(benchmark::State& state) {
  const std::string& text = Script(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tb::FormatScript(text));
  SetRate(state, text.size());
}

void BM_TranslateText(benchmark::State& state) {
  const std::string& text = Script(static_cast<std::size_t>(state.range(0)));
  std::size_t entries = 0, text_bytes = 0;
  for (auto _ : state) {
    tb::Translation t = tb::TranslateText(text);
    entries = t.size();
    benchmark::DoNotOptimize(t);
  }
  for (const tb::TranslationEntry& e : tb::TranslateText(text)) text_bytes += e.source.size() + e.reading.size();
  SetRate(state, text.size());
  state.counters["entries"] = static_cast<double>(entries);
  state.counters["output_MB"] = static_cast<double>(text_bytes) / 1e6;
}

}  // namespace

// Goals: TranslateText at least 50 MB/s at 1 MB and 10 MB, and the 10 MB run within 12 x the
// 1 MB run. Five repetitions give the median and the spread (cv) of each.
BENCHMARK(BM_FormatScript)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TranslateText)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
