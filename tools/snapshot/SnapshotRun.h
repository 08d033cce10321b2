#pragma once

#include "tools/snapshot/SnapshotOptions.h"

#include <string>

// Loads the plug-in module, drives it as the options say and writes the
// editor's picture. False with a message in error on failure.
bool RunSnapshot(const SnapshotOptions& options, std::string* error);
