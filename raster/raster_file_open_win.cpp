#include "raster/RasterFileOpen.h"

#include <windows.h>

std::FILE* RasterOpenFileForReading(const char* fileName) {
  // Only NT-family systems (top bit of the version clear) have the wide-character open.
  if ((GetVersion() & 0x80000000u) == 0) {
    wchar_t wideName[2048];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, fileName, -1, wideName, 2048) > 0) {
      if (std::FILE* file = _wfopen(wideName, L"rb")) {
        return file;
      }
    }
  }
  return std::fopen(fileName, "rb");
}
