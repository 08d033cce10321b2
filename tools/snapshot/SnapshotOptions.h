#pragma once

#include <string>
#include <vector>

// What ombrix-snapshot is asked to do before it takes the picture.
struct SnapshotOptions {
  struct ParameterValue {
    int index = 0;
    float normalized = 0.0f;
  };
  struct Point {
    int x = 0;
    int y = 0;
  };

  std::string outputFile;
  std::vector<ParameterValue> parameters;
  int program = -1;
  int controller69 = -1;
  double amplitude = 0.8;
  int blocks = 8;
  bool hasBeat = false;
  double beat = 0.0;
  std::vector<Point> clicks;
};

// Reads the command line; false with a message in error when it cannot be used.
bool ParseSnapshotOptions(int argc, char** argv, SnapshotOptions* options, std::string* error);
const char* SnapshotUsage();
