#include "editor/OffscreenEditor.h"

#include "raster/RasterPngResource.h"

IMenu* IOffscreenEditor::RunPopupMenu(IMenu*, const IBounds&) {
  ResetCapture();
  return nullptr;
}

void IOffscreenEditor::HostDirectory(std::string* directory) {
  if (directory) {
    directory->clear();
  }
}

void IOffscreenEditor::ModuleDirectory(std::string* directory) {
  if (directory) {
    directory->clear();
  }
}

void IOffscreenEditor::DesktopDirectory(std::string* directory) {
  if (directory) {
    directory->clear();
  }
}

void IOffscreenEditor::AskForFile(std::string* fileName, int, std::string*, const char*) {
  if (fileName) {
    fileName->clear();
  }
}

std::unique_ptr<RasterBitmap> IOffscreenEditor::LoadImageResource(int id, const char* fileName) {
  return RasterLoadPngResource(id, fileName);
}
