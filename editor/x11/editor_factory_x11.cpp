#include "editor/EditorFactory.h"
#include "editor/x11/EditorX11.h"

std::unique_ptr<IEditor> MakePlatformEditor(IAudioPlugin* plugin, int width, int height,
                                            int frameRate) {
  return std::make_unique<IEditorX11>(plugin, width, height, frameRate);
}
