#pragma once

#include <string>
#include <vector>

// What ombrix-snapshot is asked to do before it takes the picture.
struct SnapshotOptions {
  struct ParameterValue {
    int index = 0;
    float normalized = 0.0f;
  };
  std::string outputFile;
  // The plug-in module; empty for the one built beside the tool.
  std::string plugin;
  std::vector<ParameterValue> parameters;
  int program = -1;
  int controller69 = -1;
  double amplitude = 0.8;
  int blocks = 8;
  bool hasBeat = false;
  double beat = 0.0;
};

// Reads the command line; false with a message in error when it cannot be used.
bool ParseSnapshotOptions(int argc, char** argv, SnapshotOptions* options, std::string* error);
const char* SnapshotUsage();
