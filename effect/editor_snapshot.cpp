#include "vst2/EditorSnapshotExport.h"

#include "editor/Editor.h"
#include "raster/RasterSysBitmap.h"
#include "vst2/IVst2Plugin.h"

#include <cstring>

extern "C" int OmbrixEditorSnapshot(AEffect* effect, std::uint32_t* pixels, int width, int height) {
  IVst2Plugin* plugin = effect ? IVst2Plugin::FromEffect(effect) : nullptr;
  if (!plugin || !pixels) {
    return 0;
  }
  // Processing writes values into the controls; drawing under the lock sees one block's values.
  IScopedLock guard(plugin->Lock());
  IEditor* editor = dynamic_cast<IEditor*>(plugin->Editor());
  if (!editor || editor->Width() != width || editor->Height() != height || editor->HasWindow()) {
    return 0;
  }
  editor->RedrawRect(IBounds{0, 0, width, height});
  RasterSysBitmap* bitmap = editor->DrawBitmap();
  const std::uint32_t* source = bitmap ? bitmap->PixelData() : nullptr;
  if (!source || bitmap->Width() != width || bitmap->Height() != height) {
    return 0;
  }
  for (int row = 0; row < height; ++row) {
    std::memcpy(pixels + static_cast<std::size_t>(row) * width,
                source + static_cast<std::size_t>(row) * bitmap->RowSpan(),
                static_cast<std::size_t>(width) * sizeof(std::uint32_t));
  }
  return 1;
}
