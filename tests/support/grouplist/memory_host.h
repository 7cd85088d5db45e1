// The host used off Windows: list windows are made-up handles, their rows live in memory and
// pictures come from an injected service. Tests and benchmarks drive the model through it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "widgets/grouplist/fenwick.h"
#include "widgets/grouplist/host.h"

namespace tb::grouplist {

// Rows in chunks of at most a thousand or so: inserting or erasing anywhere moves one chunk,
// not every later row, so a long list stays cheap to change in the middle.
class RowStore {
 public:
  int size() const { return size_; }
  void insert(int index, const RowSpec* rows, std::size_t n);  // 0 <= index <= size()
  void erase(int index, int n);                                  // a range inside the rows
  RowSpec& at(int index);                                        // 0 <= index < size()
  const RowSpec& at(int index) const { return const_cast<RowStore*>(this)->at(index); }

 private:
  static constexpr std::size_t kMaxChunk = 1024;
  std::pair<std::size_t, std::size_t> locate(int index) const;  // chunk and offset
  void recount();  // after chunks came or went

  std::vector<std::vector<RowSpec>> chunks_;
  Fenwick sizes_;  // rows per chunk
  mutable std::size_t hint_ = 0;
  mutable int hint_start_ = -1;  // first row of chunk hint_; -1 after any change
  int size_ = 0;
};

class MemoryListWindow : public ListWindow {
 public:
  MemoryListWindow(std::intptr_t handle, std::intptr_t parent, int border)
      : handle_(handle), parent_(parent), border_(border) {}

  std::intptr_t handle() const override { return handle_; }
  int count() const override { return rows_.size(); }
  void insert(int index, const RowSpec* rows, std::size_t n) override;
  using ListWindow::insert;
  void erase(int index, int n) override;
  std::intptr_t data(int index) const override;
  void set_data(int index, std::intptr_t data) override;
  int height(int index) const override;
  void set_height(int index, int height) override;
  int dpi() const override { return 96; }
  void redraw_row(int index) override;
  void refresh(bool erase_background) override;
  void pause(int ms) override;
  void start_flash_timer() override { ++timer_starts; }

  std::intptr_t parent() const { return parent_; }
  int border() const { return border_; }

  // What the window was asked to do, for tests.
  std::vector<int> redrawn_rows;
  int refreshes = 0;
  int erasing_refreshes = 0;
  int timer_starts = 0;
  std::vector<int> pauses;
  // Called for every row redraw and every pause (tests use them to watch and interfere).
  std::function<void(int row)> on_redraw;
  std::function<void()> on_pause;

 private:
  bool valid(int index) const { return index >= 0 && index < count(); }
  std::intptr_t handle_, parent_;
  int border_;
  RowStore rows_;
};

class MemoryHost : public ListHost {
 public:
  explicit MemoryHost(PictureService& pictures) : pictures_(&pictures) {}

  // A stand-in parent window.
  std::intptr_t add_window();
  void destroy_window(std::intptr_t window);
  // The list window made by create_list, or nullptr.
  MemoryListWindow* list(std::intptr_t handle) const;
  // Makes the next create_list fail, as a refused CreateWindow would.
  bool fail_next_create = false;

  bool is_window(std::intptr_t window) const override;
  std::unique_ptr<ListWindow> create_list(std::intptr_t parent, int border) override;
  PictureService& pictures() override { return *pictures_; }

 private:
  PictureService* pictures_;
  std::unordered_map<std::intptr_t, MemoryListWindow*> windows_;  // null for plain windows
};

}  // namespace tb::grouplist
