// Clicking a framework window's row from a test in the same process.
#pragma once
#include <windows.h>

#include <doctest/doctest.h>

#include <string_view>

#include "platform/window.h"
#include "tests/support/win_test_util.h"

namespace tb::test {

// Clicks a row where it lies: in its own window, or in the container that draws it.
inline void click_row(Window& w, std::string_view name) {
  HWND in = nullptr;
  RECT r{};
  REQUIRE(w.locate(name, in, r));
  send_click(in, middle(r));
}

}  // namespace tb::test
