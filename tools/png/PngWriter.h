#pragma once

#include <cstdint>
#include <cstdio>

// Writes width x height pixels 0xAARRGGBB (rows top first, width apart) as an 8-bit RGB PNG:
// alpha is dropped, as the screen drops it when the editor is shown.
// False when libpng fails or the file cannot be written.
bool WritePng(std::FILE* file, const std::uint32_t* pixels, int width, int height);
bool WritePng(const char* fileName, const std::uint32_t* pixels, int width, int height);
