#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

// Level figures over all samples of all channels of a file.
class LevelStats {
public:
  void Add(const double* samples, size_t count);
  double Peak() const { return peak; }
  double Rms() const;

private:
  double peak = 0.0;
  double sumOfSquares = 0.0;
  int64_t count = 0;
};

// "0.9000 (-0.92 dBFS)"; silence reads "0.0000 (-inf dBFS)".
std::string FormatLevel(double level);

// A one-line bar on a terminal, redrawn in place; does nothing when disabled.
class ProgressBar {
public:
  ProgressBar(std::ostream& terminal, bool enabled) : terminal(terminal), enabled(enabled) {}
  void Update(double fraction);
  // Clears the bar's line so the report starts on a clean one.
  void Finish();

private:
  std::ostream& terminal;
  bool enabled;
  int drawnPercent = -1;
};
