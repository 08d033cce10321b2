#include "host/vst2/Vst2Plugin.h"
#include "tools/render/SnapshotFile.h"

#include "tools/png/PngWriter.h"
#include "tools/render/AudioFile.h"
#include "tools/render/HostPlatform.h"
#include "vst2/EditorSnapshotExport.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
OmbrixEditorSnapshotProc SnapshotFunction(Vst2Plugin& host) {
  return reinterpret_cast<OmbrixEditorSnapshotProc>(host.LibrarySymbol(OmbrixEditorSnapshotName));
}

} // namespace

bool CanSnapshotEditor(Vst2Plugin& host, std::string* error) {
  int width = 0;
  int height = 0;
  if (!host.EditorSize(&width, &height)) {
    *error = "--snapshot: " + host.EffectName() + " has no editor";
    return false;
  }
  if (!SnapshotFunction(host)) {
    *error = "--snapshot: " + host.EffectName() + " offers no editor picture without a window (" +
             OmbrixEditorSnapshotName + " is not exported)";
    return false;
  }
  return true;
}

bool WriteEditorSnapshot(Vst2Plugin& host, const std::string& path, std::string* error) {
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
  const bool written = WritePng(file, pixels.data(), width, height);
  const bool closed = std::fclose(file) == 0;
  std::string reason = "disk full or not writable";
  if (!written || !closed || !MoveIntoPlace(temporary, path, &reason)) {
    std::remove(temporary.c_str());
    *error = "cannot write " + path + ": " + reason;
    return false;
  }
  return true;
}
