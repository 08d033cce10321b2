#include "editor/EditorRecords.h"

#include <algorithm>
#include <cmath>

bool Overlaps(const IBounds& a, const IBounds& b) {
  if (a.IsEmpty() || b.IsEmpty()) {
    return false;
  }
  return a.left < b.right && a.right >= b.left && a.top < b.bottom && a.bottom >= b.top;
}

IBounds Intersection(const IBounds& a, const IBounds& b) {
  if (!Overlaps(a, b)) {
    return IBounds();
  }
  return IBounds{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}

IBounds Union(const IBounds& a, const IBounds& b) {
  if (a.IsEmpty()) {
    return b;
  }
  if (b.IsEmpty()) {
    return a;
  }
  return IBounds{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

int IImageStrip::SourceRowFor(double value) const {
  if (frames <= 1) {
    return 0;
  }
  // Worked out in double and limited before any conversion, so values from outside 0..1
  // (or not a number) pick the first or last frame instead of overflowing.
  double frame = std::trunc((frames - 1) * value + 0.5) + 1.0;
  if (!(frame >= 1.0)) {
    frame = 1.0;
  }
  frame = std::min(frame, static_cast<double>(frames));
  if (frame <= 1.0) {
    return 0;
  }
  return static_cast<int>(std::trunc(static_cast<double>(height) * (frame - 1.0) / frames + 0.5));
}

int IImageStrip::FrameTop(int frame) const {
  if (frames <= 1 || frame <= 0) {
    return 0;
  }
  return static_cast<int>(std::trunc(static_cast<double>(height) * frame / frames + 0.5));
}

int IImageStrip::FrameOfRow(int row) const {
  if (frames <= 1 || height <= 0) {
    return 0;
  }
  const double frame = std::round(static_cast<double>(row) * frames / height);
  return static_cast<int>(std::clamp(frame, 0.0, static_cast<double>(frames - 1)));
}
