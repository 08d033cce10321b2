#pragma once

#include <cstdint>

// Writes width x height pixels 0xAARRGGBB (rows top first, width apart) as an 8-bit RGB PNG:
// alpha is dropped, as the screen drops it when the editor is shown. False when the file
// cannot be written.
bool WritePng(const char* fileName, const std::uint32_t* pixels, int width, int height);
