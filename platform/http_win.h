// One HTTP/1.0 GET on a short-lived worker thread: the UI never waits on the network.
#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

namespace tb {

struct HttpReply {
  bool ok = false;    // a response came (any status); false for no connection, a time-out
  bool cut = false;   // the body was longer than the limit and was cut there
  std::string body;
};

struct HttpLimits {
  DWORD total_ms = 10000;             // the whole request, connection to last byte
  std::size_t max_body = 1u << 20;    // bytes kept of the body
};

// Starts the request. When it has ended, `message` is posted to `reply` with the outcome in
// lParam; the receiver takes it with take_http_reply. A reply to a window that is gone is freed.
void http_get_async(const std::string& url, const std::string& user_agent, HWND reply, UINT message,
                    HttpLimits limits = {});
std::unique_ptr<HttpReply> take_http_reply(LPARAM lp);

}  // namespace tb
