#include "tests/support/grouplist/memory_host.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <tuple>

namespace tb::grouplist {

namespace {

// Made-up handles are unique in the process, as window handles are: instances are found by them.
std::intptr_t new_window_handle() {
  static std::atomic<std::intptr_t> next{0x10000};
  return next += 4;
}

}  // namespace

std::pair<std::size_t, std::size_t> RowStore::locate(int index) const {
  // Rows are mostly read in order: the chunk of the last lookup usually holds the next one.
  if (hint_start_ >= 0 && index >= hint_start_ && index - hint_start_ < static_cast<int>(chunks_[hint_].size()))
    return {hint_, static_cast<std::size_t>(index - hint_start_)};
  int offset = 0;
  hint_ = static_cast<std::size_t>(sizes_.find(index, offset));
  hint_start_ = index - offset;
  return {hint_, static_cast<std::size_t>(offset)};
}

void RowStore::recount() {
  std::vector<int> sizes;
  sizes.reserve(chunks_.size());
  for (const auto& chunk : chunks_) sizes.push_back(static_cast<int>(chunk.size()));
  sizes_.assign(sizes);
}

RowSpec& RowStore::at(int index) {
  auto [c, o] = locate(index);
  return chunks_[c][o];
}

void RowStore::insert(int index, const RowSpec* rows, std::size_t n) {
  if (n == 0) return;
  hint_start_ = -1;
  std::size_t c, o;
  if (chunks_.empty()) {
    chunks_.emplace_back();
    sizes_.push_back(0);
    c = o = 0;
  } else if (index == size_) {
    c = chunks_.size() - 1;
    o = chunks_[c].size();
  } else {
    std::tie(c, o) = locate(index);
  }
  std::vector<RowSpec>& chunk = chunks_[c];
  chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(o), rows, rows + n);
  size_ += static_cast<int>(n);
  if (chunk.size() <= kMaxChunk) {
    sizes_.add(static_cast<int>(c), static_cast<int>(n));
    return;
  }
  // Split the grown chunk into half-full pieces.
  std::vector<std::vector<RowSpec>> pieces;
  for (std::size_t at = 0; at < chunk.size(); at += kMaxChunk / 2) {
    auto first = chunk.begin() + static_cast<std::ptrdiff_t>(at);
    auto last = chunk.begin() + static_cast<std::ptrdiff_t>(std::min(chunk.size(), at + kMaxChunk / 2));
    pieces.emplace_back(std::make_move_iterator(first), std::make_move_iterator(last));
  }
  chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(c));
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(c), std::make_move_iterator(pieces.begin()),
                 std::make_move_iterator(pieces.end()));
  recount();
}

void RowStore::erase(int index, int n) {
  hint_start_ = -1;
  while (n > 0) {
    auto [c, o] = locate(index);
    std::vector<RowSpec>& chunk = chunks_[c];
    std::size_t take = std::min(static_cast<std::size_t>(n), chunk.size() - o);
    chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(o), chunk.begin() + static_cast<std::ptrdiff_t>(o + take));
    n -= static_cast<int>(take);
    size_ -= static_cast<int>(take);
    hint_start_ = -1;
    if (chunk.empty()) {
      // Empty chunks would break the lookup: drop them, then count again.
      chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(c));
      recount();
    } else {
      sizes_.add(static_cast<int>(c), -static_cast<int>(take));
    }
  }
}

void MemoryListWindow::insert(int index, const RowSpec* rows, std::size_t n) {
  rows_.insert(std::clamp(index, 0, count()), rows, n);
}

void MemoryListWindow::erase(int index, int n) {
  if (index < 0 || n <= 0 || index >= count()) return;
  rows_.erase(index, std::min(n, count() - index));
}

std::intptr_t MemoryListWindow::data(int index) const { return valid(index) ? rows_.at(index).data : -1; }

void MemoryListWindow::set_data(int index, std::intptr_t data) {
  if (valid(index)) rows_.at(index).data = data;
}

int MemoryListWindow::height(int index) const { return valid(index) ? rows_.at(index).height : -1; }

void MemoryListWindow::set_height(int index, int height) {
  if (valid(index)) rows_.at(index).height = height;
}

void MemoryListWindow::redraw_row(int index) {
  redrawn_rows.push_back(index);
  if (on_redraw) on_redraw(index);
}

void MemoryListWindow::refresh(bool erase_background) {
  ++refreshes;
  if (erase_background) ++erasing_refreshes;
}

void MemoryListWindow::pause(int ms) {
  pauses.push_back(ms);
  if (on_pause) on_pause();
}

std::intptr_t MemoryHost::add_window() {
  std::intptr_t h = new_window_handle();
  windows_[h] = nullptr;
  return h;
}

void MemoryHost::destroy_window(std::intptr_t window) { windows_.erase(window); }

MemoryListWindow* MemoryHost::list(std::intptr_t handle) const {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : it->second;
}

bool MemoryHost::is_window(std::intptr_t window) const { return windows_.count(window) != 0; }

std::unique_ptr<ListWindow> MemoryHost::create_list(std::intptr_t parent, int border) {
  if (fail_next_create) {
    fail_next_create = false;
    return nullptr;
  }
  auto w = std::make_unique<MemoryListWindow>(new_window_handle(), parent, border);
  windows_[w->handle()] = w.get();
  return w;
}

}  // namespace tb::grouplist
