// Growable prefix sums (a Fenwick tree): the list derives every row index from them
// instead of renumbering all later rows after each change.
#pragma once
#include <cstddef>
#include <vector>

namespace tb::grouplist {

class Fenwick {
 public:
  int size() const { return static_cast<int>(tree_.size()) - 1; }

  // Sum of the first n values.
  int prefix(int n) const {
    int s = 0;
    for (; n > 0; n &= n - 1) s += tree_[static_cast<std::size_t>(n)];
    return s;
  }
  int total() const { return prefix(size()); }

  void add(int i, int delta) {
    for (int k = i + 1; k <= size(); k += k & -k) tree_[static_cast<std::size_t>(k)] += delta;
  }

  void push_back(int value) {
    int k = size() + 1;
    // Node k covers the values k - lowbit(k) + 1 .. k.
    tree_.push_back(value + prefix(k - 1) - prefix(k - (k & -k)));
  }

  void assign(const std::vector<int>& values) {
    tree_.assign(values.size() + 1, 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
      std::size_t k = i + 1;
      tree_[k] += values[i];
      std::size_t up = k + (k & (~k + 1));
      if (up < tree_.size()) tree_[up] += tree_[k];
    }
  }

  void clear() { tree_.assign(1, 0); }

  // With all values positive: the place i whose range prefix(i) <= n < prefix(i + 1) holds n,
  // and n - prefix(i) as offset.
  int find(int n, int& offset) const {
    int pos = 0;
    int top = 1;
    while (top * 2 <= size()) top *= 2;
    for (int step = top; step > 0; step /= 2) {
      if (pos + step <= size() && tree_[static_cast<std::size_t>(pos + step)] <= n) {
        pos += step;
        n -= tree_[static_cast<std::size_t>(pos)];
      }
    }
    offset = n;
    return pos;
  }

 private:
  std::vector<int> tree_ = std::vector<int>(1, 0);
};

}  // namespace tb::grouplist
