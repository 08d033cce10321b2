#include "editor/EditorFactory.h"
#include "editor/OffscreenEditor.h"

std::unique_ptr<IEditor> MakePlatformEditor(IAudioPlugin* plugin, int width, int height,
                                            int frameRate) {
  return std::make_unique<IOffscreenEditor>(plugin, width, height, frameRate);
}
