#pragma once

#include <cstdio>
#include <cstdlib>

// Fails the run (a crash libFuzzer records) when a condition a host relies on does not hold.
inline void FuzzCheck(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}
