#include "tools/render/SnapshotFile.h"

#include "effect/EditorSnapshot.h"
#include "tools/render/AudioFile.h"
#include "tools/render/HostPlatform.h"
#include "tools/render/PluginHost.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
constexpr char kSnapshotExport[] = "OmbrixEditorSnapshot";

OmbrixEditorSnapshotProc SnapshotFunction(PluginHost& host) {
  return reinterpret_cast<OmbrixEditorSnapshotProc>(host.LibrarySymbol(kSnapshotExport));
}

// Pixels are 0xAARRGGBB; the screen shows them without alpha, and so does the file.
bool WritePng(std::FILE* file, const std::vector<uint32_t>& pixels, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  bool written = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
        row[x * 3] = static_cast<png_byte>(pixel >> 16);
        row[x * 3 + 1] = static_cast<png_byte>(pixel >> 8);
        row[x * 3 + 2] = static_cast<png_byte>(pixel);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return written;
}
} // namespace

bool CanSnapshotEditor(PluginHost& host, std::string* error) {
  int width = 0;
  int height = 0;
  if (!host.EditorSize(&width, &height)) {
    *error = "--snapshot: " + host.EffectName() + " has no editor";
    return false;
  }
  if (!SnapshotFunction(host)) {
    *error = "--snapshot: " + host.EffectName() + " offers no editor picture without a window (" +
             kSnapshotExport + " is not exported)";
    return false;
  }
  return true;
}

bool WriteEditorSnapshot(PluginHost& host, const std::string& path, std::string* error) {
  int width = 0;
  int height = 0;
  OmbrixEditorSnapshotProc snapshot = SnapshotFunction(host);
  if (!snapshot || !host.EditorSize(&width, &height)) {
    return CanSnapshotEditor(host, error);
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  if (snapshot(host.EffectRecord(), pixels.data(), width, height) != 1) {
    *error = "--snapshot: " + host.EffectName() + " could not draw its editor";
    return false;
  }
  const std::string temporary = TemporaryPathFor(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    *error = "cannot write " + path;
    return false;
  }
  const bool written = WritePng(file, pixels, width, height);
  const bool closed = std::fclose(file) == 0;
  std::string reason = "disk full or not writable";
  if (!written || !closed || !MoveIntoPlace(temporary, path, &reason)) {
    std::remove(temporary.c_str());
    *error = "cannot write " + path + ": " + reason;
    return false;
  }
  return true;
}
