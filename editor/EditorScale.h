#pragma once

#include "editor/EditorRecords.h"

// The editor's scale: how many window pixels one editor pixel takes each way. Controls keep
// their places in editor pixels; the window, its drawing and the pointer are in window pixels.
namespace editor_scale {

constexpr double Smallest = 1.0;
constexpr double Largest = 2.0;
// The scales drawn: the smallest, the largest and three between, a quarter apart.
constexpr double Step = 0.25;
// The pictures drawn at the largest scale, each under its 1x id plus this.
constexpr int DoubleDensityIdOffset = 100;

// The nearest scale drawn, within the smallest and the largest; not a number gives the smallest.
double Nearest(double requested);
// The screen's dots per inch as a scale, against the 96 every system calls 100%.
double FromDotsPerInch(double dotsPerInch);
// A length or an edge in editor pixels, in window pixels (rounded to the nearest).
int ToWindow(int editorPixels, double scale);
IBounds ToWindow(const IBounds& editorRect, double scale);
// The editor pixel holding a window pixel.
int ToEditor(int windowPixel, double scale);
// The smallest editor rectangle whose window rectangle holds the given one.
IBounds ToEditor(const IBounds& windowRect, double scale);

} // namespace editor_scale
