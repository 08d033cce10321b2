#pragma once

#include <cstdio>

// Opens a file for reading in untranslated byte mode. On Windows NT-family systems the name is
// taken as UTF-8 first and the narrow name is the fallback; elsewhere names are bytes.
std::FILE* RasterOpenFileForReading(const char* fileName);
