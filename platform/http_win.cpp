#include "platform/http_win.h"

#include <wininet.h>

#include <thread>

#include "base/encoding.h"
#include "base/owned.h"
#include "platform/late_bind.h"

namespace tb {

namespace {

struct InternetTraits {
  static HINTERNET invalid() { return nullptr; }
  static void close(HINTERNET h) {
    TB_LATE(L"wininet.dll", InternetCloseHandle);
    if (InternetCloseHandle) InternetCloseHandle(h);
  }
};
using Internet = Owned<HINTERNET, InternetTraits>;

void set_timeouts(HINTERNET h, DWORD ms) {
  TB_LATE(L"wininet.dll", InternetSetOptionW);
  if (!InternetSetOptionW) return;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionW(h, option, &ms, sizeof ms);
}

HttpReply fetch(const std::wstring& url, const std::wstring& agent, HttpLimits limits) {
  HttpReply r;
  TB_LATE(L"wininet.dll", InternetCrackUrlW);
  TB_LATE(L"wininet.dll", InternetOpenW);
  TB_LATE(L"wininet.dll", InternetConnectW);
  TB_LATE(L"wininet.dll", HttpOpenRequestW);
  TB_LATE(L"wininet.dll", HttpSendRequestW);
  TB_LATE(L"wininet.dll", InternetReadFile);
  TB_LATE(L"wininet.dll", InternetSetOptionW);
  if (!InternetCrackUrlW || !InternetOpenW || !InternetConnectW || !HttpOpenRequestW || !HttpSendRequestW ||
      !InternetReadFile || !InternetSetOptionW)
    return r;
  const DWORD start = GetTickCount();
  auto left = [&]() -> DWORD {
    DWORD spent = GetTickCount() - start;
    return spent >= limits.total_ms ? 0 : limits.total_ms - spent;
  };
  URL_COMPONENTSW parts{sizeof parts};
  wchar_t host[256] = {}, path[2048] = {}, extra[2048] = {};
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2048;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = 2048;
  if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTP) return r;
  std::wstring object = std::wstring(path) + extra;
  object = object.substr(0, object.find(L'#'));  // a fragment never goes to the server
  if (object.empty()) object = L"/";

  Internet session(InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return r;
  set_timeouts(session.get(), limits.total_ms);
  Internet connection(InternetConnectW(session.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return r;
  Internet request(HttpOpenRequestW(connection.get(), L"GET", object.c_str(), L"HTTP/1.0", nullptr, nullptr,
                                    INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI, 0));
  if (!request) return r;
  set_timeouts(request.get(), left());
  if (!HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return r;
  r.ok = true;
  char buf[16384];
  for (;;) {
    DWORD ms = left();
    if (ms == 0) break;  // the time is up: what came so far is the body
    set_timeouts(request.get(), ms);
    DWORD n = 0;
    if (!InternetReadFile(request.get(), buf, sizeof buf, &n) || n == 0) break;
    std::size_t room = limits.max_body - r.body.size();
    if (n > room) {
      r.body.append(buf, room);
      r.cut = true;
      break;
    }
    r.body.append(buf, n);
  }
  return r;
}

}  // namespace

void http_get_async(const std::string& url, const std::string& user_agent, HWND reply, UINT message,
                    HttpLimits limits) {
  std::wstring wurl = to_wide(url), agent = to_wide(user_agent);
  std::thread([=] {
    auto* r = new HttpReply(fetch(wurl, agent, limits));
    if (!PostMessageW(reply, message, 0, reinterpret_cast<LPARAM>(r))) delete r;
  }).detach();
}

std::unique_ptr<HttpReply> take_http_reply(LPARAM lp) { return std::unique_ptr<HttpReply>(reinterpret_cast<HttpReply*>(lp)); }

}  // namespace tb
