#pragma once

#include "vst3/Vst3Abi.h"

#include <cstdint>
#include <vector>

// A host's stream read to its end and written whole. Hosts need not tell a stream's size, so it
// is read until a read delivers less than asked.
namespace vst3 {
// False when the stream is missing, fails, or holds more than limit bytes.
bool ReadWholeStream(IBStream* stream, int64_t limit, std::vector<uint8_t>* bytes);
bool WriteWholeStream(IBStream* stream, const std::vector<uint8_t>& bytes);
} // namespace vst3
