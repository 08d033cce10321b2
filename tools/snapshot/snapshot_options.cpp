#include "tools/snapshot/SnapshotOptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool ReadInt(const char* text, int low, int high, int* out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) {
    return false;
  }
  *out = static_cast<int>(value);
  return true;
}

bool ReadDouble(const char* text, double low, double high, double* out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value >= low && value <= high)) {
    return false;
  }
  *out = value;
  return true;
}
} // namespace

const char* SnapshotUsage() {
  return "usage: ombrix-snapshot [options] OUTPUT.png\n"
         "Loads the Ombrix module as a host does, drives it and writes its editor as a PNG.\n"
         "  --plugin PATH   the module (default: the one built beside this tool)\n"
         "  --param I=V     parameter I at normalised value V (0..1); repeatable\n"
         "  --program N     select program N first\n"
         "  --cc69 V        send controller 69 with value V (0..127) before processing\n"
         "  --signal A      amplitude of the test tone (default 0.8; the right channel gets half)\n"
         "  --blocks N      blocks of 512 frames to process (default 8)\n"
         "  --beat P        the host's beat position in quarter notes (default: none)\n";
}

bool ParseSnapshotOptions(int argc, char** argv, SnapshotOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool hasValue = i + 1 < argc;
    const char* value = hasValue ? argv[i + 1] : "";
    if (std::strncmp(arg, "--", 2) != 0) {
      if (!options->outputFile.empty()) {
        *error = std::string("more than one output file: ") + arg;
        return false;
      }
      options->outputFile = arg;
      continue;
    }
    if (!hasValue) {
      *error = std::string(arg) + " needs a value";
      return false;
    }
    ++i;
    bool ok = true;
    if (std::strcmp(arg, "--param") == 0) {
      SnapshotOptions::ParameterValue parameter;
      double normalized = 0.0;
      const char* equals = std::strchr(value, '=');
      ok = equals && ReadInt(std::string(value, equals).c_str(), 0, 2, &parameter.index) &&
           ReadDouble(equals + 1, 0.0, 1.0, &normalized);
      parameter.normalized = static_cast<float>(normalized);
      options->parameters.push_back(parameter);
    } else if (std::strcmp(arg, "--program") == 0) {
      ok = ReadInt(value, 0, 4, &options->program);
    } else if (std::strcmp(arg, "--cc69") == 0) {
      ok = ReadInt(value, 0, 127, &options->controller69);
    } else if (std::strcmp(arg, "--signal") == 0) {
      ok = ReadDouble(value, 0.0, 10.0, &options->amplitude);
    } else if (std::strcmp(arg, "--blocks") == 0) {
      ok = ReadInt(value, 0, 100000, &options->blocks);
    } else if (std::strcmp(arg, "--beat") == 0) {
      ok = ReadDouble(value, -1e9, 1e9, &options->beat);
      options->hasBeat = true;
    } else if (std::strcmp(arg, "--plugin") == 0) {
      options->plugin = value;
    } else {
      *error = std::string("unknown option ") + arg;
      return false;
    }
    if (!ok) {
      *error = std::string("bad value for ") + arg + ": " + value;
      return false;
    }
  }
  if (options->outputFile.empty()) {
    *error = "no output file";
    return false;
  }
  return true;
}
