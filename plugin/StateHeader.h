#pragma once

#include "plugin/ByteBlock.h"

#include <cstdint>

// Stored as the bytes 74 66 66 70 at the start of every program and bank block.
constexpr int32_t stateMagic = 0x70666674;
constexpr int32_t stateVersion = 0x00010000;

// Empties the block and writes the magic and the version.
bool WriteStateHeader(IByteBlock* block);

// Reads the header at *position. Without the magic there, 0 is returned and *position is left
// alone, so a block without a header is read from where it starts. With the magic but no room
// for the version, *position becomes -1 and 0 is returned. Otherwise *position moves past
// both fields and the version is returned.
int32_t ReadStateHeader(const IByteBlock* block, int* position);
