#include "tools/snapshot/SnapshotOptions.h"
#include "tools/snapshot/SnapshotRun.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  SnapshotOptions options;
  std::string error;
  if (!ParseSnapshotOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "ombrix-snapshot: %s\n%s", error.c_str(), SnapshotUsage());
    return 1;
  }
  if (!RunSnapshot(options, &error)) {
    std::fprintf(stderr, "ombrix-snapshot: %s\n", error.c_str());
    return 2;
  }
  return 0;
}
