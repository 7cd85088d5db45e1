#include "app/docking.h"

namespace tb::dock {

Box snap(Box b, Screen s, int margin) {
  int right_gap = s.width - b.left - b.width;
  if (b.left >= 0 && b.left <= 9) {
    b.left = 0;
  } else if (right_gap >= 0 && right_gap < margin) {
    b.left = s.width - b.width;
  } else if (b.top >= 0 && b.top <= 9) {
    b.top = 0;
  }
  return b;
}

Box tuck_away(Box b, Screen s, int margin) {
  if (b.top <= 0) {
    b.top = margin - b.height;
  } else if (b.left <= 0) {
    b.left = margin - b.width;
  } else if (b.left + b.width >= s.width) {
    b.left = s.width - margin;
  }
  return b;
}

Box reveal(Box b, Screen s, int margin) {
  // A rule that would leave the box as it is does not count as applying: otherwise a
  // window parked at the right edge with its top between 1 and 9 could never come back
  // (the first rule would keep answering "top becomes 0").
  if (b.top < 10 && b.top != 0) {
    b.top = 0;
  } else if (b.left < 10 && b.left != 0) {
    b.left = 0;
  } else if (b.left == s.width - margin && b.left != s.width - b.width) {
    b.left = s.width - b.width;
  } else if (b.top == s.height - margin && b.top != s.height - b.height) {
    b.top = s.height - b.height;
  }
  return b;
}

Box on_idle(Box b, Screen s, int margin, int px, int py) {
  bool outside = px < b.left || px > b.left + b.width || py < b.top || py > b.top + b.height;
  return outside ? tuck_away(b, s, margin) : reveal(b, s, margin);
}

Box on_timer(Box b, Screen s, int margin, int px, int py) {
  bool inside = px >= b.left && px < b.left + b.width && py >= b.top && py < b.top + b.height;
  return inside ? b : tuck_away(b, s, margin);
}

Box activate(Box b, Screen s) {
  if (b.top < 0) b.top = 10;
  if (b.left < 0) b.left = 10;
  if (b.left > s.width - 5) b.left = s.width - b.width - 10;
  return b;
}

}  // namespace tb::dock
