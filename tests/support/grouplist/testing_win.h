// The list control's window side as tests and benchmarks watch and drive it: row paints
// counted and observed, a row painted on demand, the list shown at another DPI.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "tests/support/grouplist/testing.h"
#include "widgets/grouplist/listbox_win.h"

namespace tb::grouplist {

// Paints row `row` of a list window now, as a redraw of the model does.
void paint_row(HWND list, int row);

// Rows painted since the first call of either, and an observer called after each paint.
std::uint64_t rows_painted();
void set_paint_observer(std::function<void(HWND list, int row)> observer);

// Rescales every row and the list's font to a new DPI, and paints the list again.
void set_dpi(ListBoxWindow& w, int dpi);

}  // namespace tb::grouplist
