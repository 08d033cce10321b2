#include "editor/EditorFactory.h"
#include "editor/win/EditorWin.h"

std::unique_ptr<IEditor> MakePlatformEditor(IAudioPlugin* plugin, int width, int height,
                                            int frameRate) {
  return std::make_unique<IEditorWin>(plugin, width, height, frameRate);
}
