// The row painter of the list control: one row composed in a memory bitmap of its size and
// copied to the screen in one block.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace tb::grouplist {

// Paints row `row` of the list as the instance's state says. Without a rectangle the list box
// gives the row's; without a DC the list window's is taken and released. Nothing is drawn for
// a row naming no element.
void paint_row(HWND list, int row, const RECT* rect = nullptr, HDC dc = nullptr);

// Rows painted so far, and an observer called after each (for tests and benchmarks).
std::uint64_t rows_painted();
void set_paint_observer(std::function<void(HWND list, int row)> observer);

}  // namespace tb::grouplist
