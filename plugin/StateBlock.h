#pragma once

#include <cstdint>

// The two blocks hosts keep in their projects: the current program's values, or every program.
enum class StateBlockKind { Program, Bank };

// What a bank block without the current header is: the values of the current program as the
// first versions wrote them (VST 2 projects hold those), or not a bank at all.
enum class OlderBlocks { ReadAsProgram, Refuse };

// What a block that runs short leaves behind: the values read up to the shortage (VST 2 hosts
// have always seen this, a program block's values going into the current program too), or
// everything as it was before.
enum class ShortBlocks { KeepWhatWasRead, RollBack };

enum class StateLoadResult {
  Loaded,
  // No bytes, or far more than any state this plug-in writes: not a byte of it is read.
  Refused,
  // A bank was asked for and the block is not one.
  NotABank,
  NoMemory,
  CutShort,
};

// A state block this large is not one of ours: banks of this plug-in take a few kilobytes.
constexpr int64_t LargestStateBytes = 16 * 1024 * 1024;
