// The update check of the real program against a loopback server: the question, the
// author's message, and a main window that answers whatever the server does.
#include <winsock2.h>
#include <windows.h>

#include <doctest/doctest.h>

#include <atomic>
#include <string>
#include <thread>

#include "base/encoding.h"
#include "resources/shell_windows.h"
#include "tests/e2e/e2e_util.h"
#include "tests/support/win_test_util.h"

using namespace tb;

namespace {

const std::wstring kCaption = to_wide("Tarvo按键工具箱");

// One connection at a time: reads the request, then answers as the case says.
struct Server {
  SOCKET listener = INVALID_SOCKET;
  std::string reply;      // the whole response; empty: accept and never answer
  std::string request;    // the last request line read
  std::atomic<bool> stop{false};
  std::thread thread;

  explicit Server(std::string r) : reply(std::move(r)) {
    listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(TB_UPDATE_PORT);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    BOOL on = TRUE;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    REQUIRE(bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0);
    REQUIRE(listen(listener, 4) == 0);
    thread = std::thread([this] {
      SOCKET c = accept(listener, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      char buf[4096];
      int n = recv(c, buf, sizeof buf, 0);
      if (n > 0) request.assign(buf, static_cast<std::size_t>(n));
      if (!reply.empty()) {
        for (std::size_t at = 0; at < reply.size();) {
          int sent = send(c, reply.data() + at, static_cast<int>(std::min<std::size_t>(reply.size() - at, 65536)), 0);
          if (sent <= 0) break;
          at += static_cast<std::size_t>(sent);
        }
      } else {
        while (!stop) Sleep(20);
      }
      closesocket(c);
    });
  }
  ~Server() {
    stop = true;
    closesocket(listener);
    thread.join();
  }
};

std::string http(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=gbk\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n\r\n" + body;
}

std::string note(const std::string& version, const std::string& message) {
  return "<div>【更新情况】<br />\r\n最新版本：" + version + "<br />\r\n作者留言：" + message + "<br />\r\n新增功能若干<br />\r\n【】</div>";
}

std::string text_of(HWND h) {
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  return to_gbk(buf);
}

HWND author_label(HWND main) {
  int id = 0;
  for (std::size_t i = 0; i < res::kMainWindow.controls.size(); ++i)
    if (res::kMainWindow.controls[i].name == res::main_names::kAuthorLabel) id = kFirstControlId + static_cast<int>(i);
  std::pair<int, HWND> look{id, nullptr};
  EnumChildWindows(
      main,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* p = reinterpret_cast<std::pair<int, HWND>*>(lp);
        if (GetDlgCtrlID(h) == p->first) p->second = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&look));
  return look.second;
}

// The question box of the toolbox's process, or nullptr.
HWND question_box(DWORD pid) {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", to_wide("有新版是否下载").c_str())) != nullptr) {
    DWORD p = 0;
    GetWindowThreadProcessId(box, &p);
    if (p == pid) return box;
  }
  return nullptr;
}

HWND start(e2e::Launched& app) {
  REQUIRE(e2e::launch(test::host_path(TB_LOOPBACK_EXE), e2e::make_program_dir(L"update"), app));
  HWND main = nullptr;
  test::wait_until([&] { return (main = e2e::find_window(app.pi.dwProcessId, kCaption.c_str())) != nullptr; }, 20000);
  REQUIRE(main);
  return main;
}

bool answers(HWND main) {
  DWORD_PTR r = 0;
  return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &r) != 0;
}

}  // namespace

TEST_CASE("update check against a loopback server") {
  WSADATA wsa;
  REQUIRE(WSAStartup(MAKEWORD(2, 2), &wsa) == 0);
  const std::string id = "论坛ID：Tarvo";
  std::string big(5u << 20, 'x');
  struct Row {
    const char* what;
    std::string reply;  // "" with serve: accepts and never answers
    bool serve;
    bool asks;
    std::string question;  // the box's text, when it asks
    std::string label;     // the author label afterwards
  };
  const Row rows[] = {
      {"our version: no question, the message shows", http(note("1.02", "本地测试")), true, false, "", "本地测试"},
      {"another version asks", http(note("1.03", "快来下载")), true, true,
       "\r\n最新版本：1.03\r\n作者留言：快来下载\r\n新增功能若干\r\n", "快来下载"},
      {"no end marker: an empty note", http("【更新情况】\r\n最新版本：1.02\r\n作者留言：x\r\n"), true, true, "", ""},
      {"no markers: nothing changes", http("<html>论坛首页</html>"), true, false, "", id},
      {"a 5 MB body is read up to its limit", http(note("1.02", "大页面") + big), true, false, "", "大页面"},
      {"the note beyond the body limit is not read", http(big + note("1.02", "太远")), true, false, "", id},
      {"a server that never answers", "", true, false, "", id},
      {"a refused connection", "", false, false, "", id},
  };
  for (const Row& r : rows) {
    CAPTURE(std::string(r.what));
    std::unique_ptr<Server> server;
    if (r.serve) server = std::make_unique<Server>(r.reply);
    e2e::Launched app;
    HWND main = start(app);
    HWND label = author_label(main);
    REQUIRE(label);
    // The window answers from the start, whatever the server does.
    CHECK(answers(main));
    if (r.asks) {
      HWND box = nullptr;
      REQUIRE(test::wait_until([&] { return (box = question_box(app.pi.dwProcessId)) != nullptr; }, 10000));
      // The box may be found before its text is in place.
      CHECK(test::wait_until([&] { return text_of(GetDlgItem(box, 0xFFFF)) == r.question; }, 3000));
      PostMessageW(box, WM_COMMAND, IDCANCEL, 0);  // Cancel opens nothing
      CHECK(test::wait_until([&] { return question_box(app.pi.dwProcessId) == nullptr; }, 5000));
    }
    if (r.label != id) {
      CHECK(test::wait_until([&] { return text_of(label) == r.label; }, 10000));
    } else {
      test::pump(r.serve && r.reply.empty() ? 1500 : 800);
      CHECK(answers(main));
      CHECK(text_of(label) == id);
      CHECK(question_box(app.pi.dwProcessId) == nullptr);
    }
    if (server && !r.reply.empty()) {
      CHECK(server->request.rfind("GET /viewthread.php?tid=", 0) == 0);
      CHECK(server->request.find(" HTTP/1.0\r\n") != std::string::npos);
      CHECK(server->request.find("#pid") == std::string::npos);
      CHECK(server->request.find("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)") != std::string::npos);
    }
  }
  WSACleanup();
}
