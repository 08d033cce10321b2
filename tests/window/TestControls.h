#pragma once

#include "editor/Control.h"
#include "editor/Editor.h"
#include "raster/RasterBlit.h"
#include "raster/RasterSysBitmap.h"

#include <string>
#include <vector>

// A control that fills its area with one colour and records what reaches it.
class RecordingControl : public IControl {
public:
  RecordingControl(IAudioPlugin* plugin, const IBounds& area, int paramIndex, std::uint32_t colour,
                   std::vector<std::string>* log, const char* name)
      : IControl(plugin, area, paramIndex), colour(colour), log(log), name(name) {}

  void PointerDown(int x, int y, const IMouseKeys& keys) override { Record("down", x, y, keys); }
  void PointerUp(int x, int y, const IMouseKeys& keys) override { Record("up", x, y, keys); }
  void PointerDrag(int, int, int dx, int dy, const IMouseKeys& keys) override {
    Record("drag", dx, dy, keys);
  }
  void PointerDoubleClick(int x, int y, const IMouseKeys& keys) override {
    Record("double", x, y, keys);
  }
  void WheelTurned(int x, int y, const IMouseKeys&, int notches) override {
    log->push_back(name + " wheel " + std::to_string(x) + "," + std::to_string(y) + " " +
                   std::to_string(notches));
  }
  void AcceptEnteredText(const char* text) override { log->push_back(name + " text " + text); }
  bool Render(IEditor* editor) override {
    ++renders;
    const IBounds& a = Area();
    RasterFillArea(editor->DrawBitmap(), a.left, a.top, a.Width(), a.Height(), colour, 1.0f,
                   RASTER_OP_COPY);
    return true;
  }
  bool NeedsRedraw() override { return alwaysDirty || IControl::NeedsRedraw(); }

  void SetColour(std::uint32_t c) { colour = c; }
  int renders = 0;
  bool alwaysDirty = false;

private:
  void Record(const char* what, int x, int y, const IMouseKeys& keys) {
    std::string line = name + " " + what + " " + std::to_string(x) + "," + std::to_string(y);
    if (keys.shift) {
      line += " shift";
    }
    if (keys.control) {
      line += " control";
    }
    log->push_back(line);
  }

  std::uint32_t colour;
  std::vector<std::string>* log;
  std::string name;
};
