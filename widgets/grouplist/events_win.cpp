#include "widgets/grouplist/events_win.h"

#include <windowsx.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/hook.h"
#include "widgets/grouplist/icon_layout.h"
#include "widgets/grouplist/instance.h"
#include "widgets/grouplist/listbox_win.h"

namespace tb::grouplist {

namespace {

// The list window a mouse-leave notification was last asked for; 0 after a leave.
HWND g_last_tracked = nullptr;

Instance* instance_of(HWND list) { return find_instance(reinterpret_cast<std::intptr_t>(list)); }

// An event handler, copied first: it may replace the handlers while it runs.
void raise(const EventHandler& handler, int a, int b, int c) {
  EventHandler h = handler;
  if (h) h(a, b, c);
}

// The row under the point and its rectangle; -1 when the point lies below the last row (or
// the list is empty).
int row_under(HWND list, int x, int y, RECT& r) {
  LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
  // The answer carries 16 bits of the index; the row lies at or after the top row.
  int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  int row = top + ((static_cast<int>(LOWORD(hit)) - top) & 0xFFFF);
  if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)) == LB_ERR) return -1;
  return y >= r.bottom ? -1 : row;
}

bool is_group_row(Instance* in, int row) {
  ElementRecord e;
  return in->read_element(in->handle_at(row), e) && e.kind == kGroupKind;
}

// The 1-based service icon under the row-relative point, for an item with icons; 0 otherwise.
int icon_under(Instance* in, const ElementRecord& e, const RECT& r, int x, int y) {
  if (e.kind == kGroupKind || e.icons.empty()) return 0;
  std::vector<IconSlot> slots;
  lay_out_icons(in->icon_count, e.icons, r.bottom - r.top, in->window().dpi(), slots);
  return icon_at(slots, x - r.left, y - r.top);
}

// The hovered service icon becomes `icon` (0 none) and `row` is painted with it.
void light_icon(Instance* in, int row, int icon) {
  in->hovered_icon = icon;
  in->window().redraw_row(row);
}

bool enlarging(const Instance* in) { return in->enlarge_selected && (in->view_mode == 1 || in->view_mode == 2); }

void on_mouse_move(HWND list, Instance* in, int x, int y) {
  if (g_last_tracked != list) {
    g_last_tracked = list;
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, list, 0};
    TrackMouseEvent(&t);
  }
  RECT r;
  int row = row_under(list, x, y, r);
  if (row < 0) {
    int h = in->hover_row;
    if (h != -1) {
      in->hover_row = -1;
      light_icon(in, h, 0);
      raise(in->handlers.row_left, in->handle_at(h), x, y);
    }
    return;
  }
  ElementRecord e;
  bool found = in->read_element(in->handle_at(row), e);
  int icon = found ? icon_under(in, e, r, x, y) : 0;
  if (row == in->hover_row) {
    if (icon != in->hovered_icon) light_icon(in, row, icon);
    return;
  }
  int h = in->hover_row;
  in->hover_row = row;
  if (h >= 0) light_icon(in, h, 0);
  raise(in->handlers.row_left, in->handle_at(h), x, y);
  // The icon under the pointer now, not the one last lit on the row left.
  light_icon(in, row, icon);
  raise(in->handlers.row_entered, in->handle_at(row), x, y);
}

void on_mouse_leave(Instance* in, int x, int y) {
  g_last_tracked = nullptr;
  int h = in->hover_row;
  if (h == -1) return;
  in->hover_row = -1;
  light_icon(in, h, 0);
  raise(in->handlers.row_left, in->handle_at(h), x, y);
}

enum class Click { LeftUp, Double };

void dispatch(HWND list, Instance* in, Click kind, int row, const RECT& r, int x, int y) {
  int handle = in->handle_at(row);
  ElementRecord e;
  if (!in->read_element(handle, e)) return;
  const bool group = e.kind == kGroupKind;
  if (kind == Click::Double) {
    raise(group ? in->handlers.group_double_clicked : in->handlers.item_double_clicked, handle, x, y);
    return;
  }
  if (group) {
    if (e.expanded) in->collapse_group(handle);
    else in->expand_group(handle);
    SendMessageW(list, kRepaintRow, static_cast<WPARAM>(row), 0);
    raise(in->handlers.group_clicked, handle, x, y);
    return;
  }
  if (e.icons.empty()) {
    raise(in->handlers.item_clicked, handle, x, y);
    return;
  }
  std::vector<IconSlot> slots;
  lay_out_icons(in->icon_count, e.icons, r.bottom - r.top, in->window().dpi(), slots);
  if (int k = icon_at(slots, x - r.left, y - r.top)) {
    raise(in->handlers.service_icon_clicked, handle, slots[static_cast<std::size_t>(k - 1)].number, 0);
    return;
  }
  raise(in->handlers.item_clicked, handle, x - r.left, y - r.top);
}

// Moves the selection to `row` (-1 none): with enlarging on in the medium and small views the
// rows change height and the list is painted again; otherwise only the two rows are.
void select_row(HWND list, Instance* in, int row) {
  int old = in->selected_row;
  in->selected_row = row;
  if (enlarging(in)) {
    if (old >= 0 && !is_group_row(in, old)) in->window().set_height(old, in->item_row_height);
    if (row >= 0 && !is_group_row(in, row)) in->window().set_height(row, kLargeRowHeight);
    InvalidateRect(list, nullptr, row < 0 ? TRUE : FALSE);
  } else {
    if (old >= 0) in->window().redraw_row(old);
    if (row >= 0) in->window().redraw_row(row);
  }
}

bool list_message(HWND list, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  Instance* in = instance_of(list);
  if (!in) return false;
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  RECT r;
  switch (msg) {
    case WM_MOUSEMOVE:
      on_mouse_move(list, in, x, y);
      return false;
    case WM_MOUSELEAVE:
      on_mouse_leave(in, x, y);
      return false;
    case WM_LBUTTONUP: {
      int row = row_under(list, x, y, r);
      if (row < 0) {
        if (in->selected_row != -1) select_row(list, in, -1);
        return false;
      }
      result = call_next(list, msg, wp, lp);
      if (row != in->selected_row) select_row(list, in, row);
      dispatch(list, in, Click::LeftUp, row, r, x, y);
      return true;
    }
    case WM_LBUTTONDBLCLK: {
      int row = row_under(list, x, y, r);
      if (row < 0) return false;
      result = call_next(list, msg, wp, lp);
      dispatch(list, in, Click::Double, row, r, x, y);
      return true;
    }
    case WM_RBUTTONDOWN: {
      int row = row_under(list, x, y, r);
      result = call_next(list, msg, wp, lp);
      if (row < 0) {
        raise(in->handlers.blank_right_clicked, 0, x, y);
        return true;
      }
      int handle = in->handle_at(row);
      ElementRecord e;
      if (in->read_element(handle, e))
        raise(e.kind == kGroupKind ? in->handlers.group_right_clicked : in->handlers.item_right_clicked, handle, x, y);
      return true;
    }
    case kRepaintRow:
      in->window().redraw_row(static_cast<int>(wp));
      result = 1;
      return true;
    default:
      return false;
  }
}

bool parent_message(ListBoxWindow& w, HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  const HWND list = w.hwnd();
  Instance* in = instance_of(list);
  if (!in) return false;
  switch (msg) {
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (!di || di->CtlType != ODT_LISTBOX || di->hwndItem != list) return false;
      w.paint_row(static_cast<int>(di->itemID), &di->rcItem, di->hDC);
      result = TRUE;
      return true;
    }
    case WM_SIZE: {
      result = call_next(parent, msg, wp, lp);
      RECT pr;
      GetWindowRect(parent, &pr);
      MoveWindow(list, 0, 0, pr.right - pr.left, pr.bottom - pr.top, TRUE);
      InvalidateRect(list, nullptr, TRUE);
      return true;
    }
    case WM_CTLCOLORLISTBOX:
      if (reinterpret_cast<HWND>(lp) != list) return false;
      result = reinterpret_cast<LRESULT>(w.background_brush(in->background));
      return true;
    default:
      return false;
  }
}

void CALLBACK flash_tick(HWND list, UINT, UINT_PTR, DWORD) {
  Instance* in = instance_of(list);
  if (!in) return;
  in->flash_tick([list](int row) { SendMessageW(list, kRepaintRow, static_cast<WPARAM>(row), 0); });
}

}  // namespace

// The hooks hold the window object: it takes them off before it goes (remove_handlers).
MessageHooks install_handlers(ListBoxWindow& w, HWND parent) {
  MessageHooks h{w.hwnd(), parent};
  h.on_list = hook_window(h.list, [](HWND list, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
    if (msg == WM_NCDESTROY && g_last_tracked == list) g_last_tracked = nullptr;
    return list_message(list, msg, wp, lp, r);
  });
  h.on_parent = hook_window(parent, [window = &w](HWND p, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
    return parent_message(*window, p, msg, wp, lp, r);
  });
  return h;
}

void remove_handlers(const MessageHooks& hooks) {
  if (hooks.on_list) unhook_window(hooks.list, hooks.on_list);
  if (hooks.on_parent) unhook_window(hooks.parent, hooks.on_parent);
}

void start_flash_timer(HWND list) { SetTimer(list, 1, 300, &flash_tick); }

}  // namespace tb::grouplist
