#include "editor/EditorScale.h"

#include <cmath>

namespace editor_scale {

namespace {
constexpr double UnscaledDotsPerInch = 96.0;
} // namespace

double Nearest(double requested) {
  if (!(requested > Smallest)) {
    return Smallest;
  }
  if (requested >= Largest) {
    return Largest;
  }
  return Smallest + std::round((requested - Smallest) / Step) * Step;
}

double FromDotsPerInch(double dotsPerInch) {
  return Nearest(dotsPerInch / UnscaledDotsPerInch);
}

int ToWindow(int editorPixels, double scale) {
  return static_cast<int>(std::floor(editorPixels * scale + 0.5));
}

IBounds ToWindow(const IBounds& editorRect, double scale) {
  if (editorRect.IsEmpty()) {
    return editorRect;
  }
  return IBounds{ToWindow(editorRect.left, scale), ToWindow(editorRect.top, scale),
                 ToWindow(editorRect.right, scale), ToWindow(editorRect.bottom, scale)};
}

int ToEditor(int windowPixel, double scale) {
  return static_cast<int>(std::floor(windowPixel / scale));
}

IBounds ToEditor(const IBounds& windowRect, double scale) {
  if (windowRect.IsEmpty()) {
    return windowRect;
  }
  return IBounds{ToEditor(windowRect.left, scale), ToEditor(windowRect.top, scale),
                 static_cast<int>(std::ceil(windowRect.right / scale)),
                 static_cast<int>(std::ceil(windowRect.bottom / scale))};
}

} // namespace editor_scale
