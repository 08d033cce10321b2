#include "host/vst2/Vst2Plugin.h"
#include "tools/render/SnapshotFile.h"

#include "tools/png/PngWriter.h"
#include "tools/render/WholeFile.h"
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
  return WriteWholeFileWith(
      path, [&](std::FILE* file) { return WritePng(file, pixels.data(), width, height); }, error);
}
