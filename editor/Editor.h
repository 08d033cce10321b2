#pragma once

#include "editor/EditorRecords.h"
#include "editor/EditorScale.h"
#include "editor/FrameCache.h"
#include "plugin/AttachedEditor.h"

#include <memory>
#include <string>
#include <vector>

class IAudioPlugin;
class IControl;
struct IMenu;
class IParameter;
class RasterBitmap;
class RasterMemBitmap;
class RasterSegmentedPng;
class RasterSysBitmap;
class ICachedImage;
struct IArgb;
struct ITextStyle;

// The editor of one plug-in instance: owns its controls (index 0 drawn first, at the back; hit
// testing runs from the last) and the off-screen bitmap they draw into, carries parameter values
// to the controls bound to them and runs the redraw pass. Controls are placed in editor pixels;
// the window, the draw bitmap, redraw rectangles and the pointer are in window pixels, the
// editor pixels times the scale (editor/EditorScale.h). At scale 1 the two are the same. Everything
// that needs a window system is a virtual operation a platform class fills in. The window's thread
// runs drawing and input; the plug-in side only shows values, under the plug-in lock.
class IEditor : public IAttachedEditor {
public:
  IEditor(IAudioPlugin* plugin, int width, int height, int frameRate);
  IEditor(const IEditor&) = delete;
  IEditor& operator=(const IEditor&) = delete;

  // Virtual operations, in the order of their slots.
  // Copies rect of the draw bitmap to the window.
  virtual bool PresentRect(const IBounds& rect) = 0;
  virtual bool MeasureText(ITextStyle* style, const char* text, IBounds* rect);
  virtual void DismissTextEntry() = 0;
  // Deletes every control and remakes the draw bitmap; the caller adds the controls again.
  virtual void SetEditorSize(int width, int height);
  virtual bool HasWindow();
  virtual const char* GraphicsApiName();
  virtual int ShowAlert(const char* text, const char* caption, int type) = 0;
  // The menu (given or a submenu) holding the chosen entry, or none.
  virtual IMenu* RunPopupMenu(IMenu* menu, const IBounds& area) = 0;
  virtual void OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& area,
                             const char* text, IParameter* parameter) = 0;
  virtual void HostDirectory(std::string* directory) = 0;
  virtual void ModuleDirectory(std::string* directory) = 0;
  virtual void DesktopDirectory(std::string* directory) = 0;
  // action FileSave saves, any other opens; extensions are blank-separated, without dots, or none.
  virtual void AskForFile(std::string* fileName, int action, std::string* directory,
                          const char* extensions) = 0;
  virtual bool AskForColour(IArgb* colour, const char* prompt) = 0;
  // True when the address was opened in the system's browser.
  virtual bool OpenLink(const char* address, const char* title, const char* confirmText,
                        const char* failureText) = 0;
  // Opens the window inside parent; none when no window can be made.
  void* AttachWindow(void* parent) override = 0;
  void DetachWindow() override = 0;
  virtual void* NativeWindow() = 0;
  virtual void SetHostWindowOpacity(int alpha) = 0;
  ~IEditor() override;
  virtual void HidePointer() {}
  virtual void RestorePointer() {}
  // Decodes the image resource id of the plug-in library; the name must end in "png".
  virtual std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* fileName) = 0;
  // The size of the image resource from its header, without decoding it; false when it cannot be
  // read there (LoadImageStrip then decodes at once). The library's own PNG resources by default.
  virtual bool ImageResourceSize(int id, const char* fileName, int* width, int* height);
  // The image resource as segments that decode alone, or none when it has no segment index
  // (it is then decoded whole). The library's own PNG resources by default.
  virtual std::unique_ptr<RasterSegmentedPng> OpenImageSegments(int id, const char* fileName);

  // IAttachedEditor.
  void ShowParameterValue(int index, double value, bool normalized) override;
  void PrepareDrawing() override;
  int Width() const override { return editor_scale::ToWindow(width, scale); }
  int Height() const override { return editor_scale::ToWindow(height, scale); }
  // Remakes the draw bitmap at the new size, redraws everything, resizes the window and tells
  // the plug-in, whose binding asks the host for the new size.
  void SetScale(double requested) override;
  double Scale() const override { return scale; }
  // A rectangle of editor pixels in window pixels.
  IBounds WindowBounds(const IBounds& editorRect) const {
    return editor_scale::ToWindow(editorRect, scale);
  }

  // Building.
  // Takes ownership; returns the control's index.
  int AddControl(IControl* control);
  // An opaque image control at (0, 0) from the resource, inserted at index 0.
  void AddBackground(int resourceId, const char* fileName);
  // Through the process-wide image cache: each resource id is decoded once per process, when it
  // is first drawn if its size can be read without decoding.
  IImageStrip LoadImageStrip(int resourceId, const char* fileName, int frames);
  // The strip's pixels, decoded now if no editor has drawn the image yet; none when it failed.
  RasterBitmap* StripBitmap(const IImageStrip& strip);
  // True when drawing frame row sourceRow of the strip over area (editor pixels) paints every
  // window pixel of it opaquely: copied, or an image without a translucent pixel.
  bool ImageCoversArea(const IImageStrip& strip, const IBounds& area, int sourceRow, bool copied);
  // Pixels holding the strip's rows top to bottom (exclusive): only the segments holding them
  // for an image with segments, otherwise the whole image. Empty when it failed to decode.
  IFrameCache::Rows StripRows(const IImageStrip& strip, int top, int bottom);

  // Drawing, on the window's thread.
  // Draws the controls overlapping rect (window pixels) into the draw bitmap, cleans every
  // control and presents rect.
  bool RedrawRect(const IBounds& rect);
  // Draws strip from (srcX, srcY) into dest (editor pixels), clipped to the redraw rectangle; no
  // blend means alpha compositing at full weight. Above scale 1 it draws the same frame from
  // the picture drawn at twice the size, resampled for scales between.
  bool DrawImage(const IImageStrip& strip, const IBounds& dest, int srcX, int srcY,
                 const IBlend* blend);
  bool DrawStyledText(ITextStyle* style, const char* text, IBounds* rect, bool measureOnly);
  // The merged areas of every control that needs drawing, in window pixels; all zero when none
  // does.
  IBounds DirtyArea();
  // Marks every control dirty without telling the plug-in, so the next tick paints everything.
  void MarkAllDirty();
  // The topmost visible control at (x, y) in editor pixels, or the captured one while the
  // pointer is captured.
  int ControlIndexAt(int x, int y, bool forHover);

  // Input from the window, in window pixels; controls get editor pixels, and drags their
  // movement in window pixels (a knob's travel per window pixel shrinks with the scale). Gestures
  // on a control bound to a parameter are bracketed by begin and end notices to the host.
  void DispatchPress(int x, int y, const IMouseKeys& keys);
  void DispatchDrag(int x, int y, const IMouseKeys& keys);
  void DispatchRelease(int x, int y, const IMouseKeys& keys);
  // True when the control takes double clicks as presses and now holds the pointer.
  bool DispatchDoubleClick(int x, int y, const IMouseKeys& keys);
  void DispatchWheel(int x, int y, const IMouseKeys& keys, int notches);
  // True when a control took the key; otherwise it belongs to the host.
  bool DispatchKey(int x, int y, int key);
  // True while hover tracking is on (the window then asks for a leave notice).
  bool DispatchHover(int x, int y, const IMouseKeys& keys);
  void DispatchLeave();

  // Access.
  IAudioPlugin* Plugin() const { return plugin; }
  int ControlCount() const { return static_cast<int>(controls.size()); }
  // None out of range.
  IControl* Control(int index) const;
  RasterSysBitmap* DrawBitmap() const { return drawBitmap.get(); }
  const IBounds& DrawRectInProgress() const { return drawRect; }
  int FrameRate() const { return frameRate; }
  int CapturedIndex() const { return capturedIndex; }
  int HoverIndex() const { return hoverIndex; }
  // In window pixels.
  int LastPointerX() const { return lastPointerX; }
  int LastPointerY() const { return lastPointerY; }
  // Forgets the pointer capture, as a new press, a release or a popup menu does.
  void ResetCapture();
  bool HoverTracking() const { return hoverTracking; }
  void SetHoverTracking(bool on) { hoverTracking = on; }
  IControl* KeyTarget() const { return keyTarget.get(); }
  void SetKeyTarget(IControl* control);

protected:
  void DeleteControls();
  // The platform's window takes the new size of the window; nothing without one.
  virtual void ResizeWindow(int, int) {}

  IAudioPlugin* plugin;
  std::vector<std::unique_ptr<IControl>> controls;
  IBounds drawRect;
  bool pointerHidden = false;
  int hiddenPointerX = -1;
  int hiddenPointerY = -1;
  std::unique_ptr<RasterSysBitmap> drawBitmap;
  std::unique_ptr<RasterMemBitmap> scratchBitmap;
  // In editor pixels.
  int width;
  int height;
  double scale = editor_scale::Smallest;
  int frameRate;
  int capturedIndex = -1;
  int hoverIndex = -1;
  int lastPointerX = 0;
  int lastPointerY = 0;
  bool hoverTracking = false;
  std::unique_ptr<IControl> keyTarget;

private:
  // One frame of a strip as drawn at the scale: rows top to top + height of bitmap, width wide.
  // image answers whether it is opaque.
  struct ScaledFrame {
    std::shared_ptr<RasterBitmap> bitmap;
    int top = 0;
    int width = 0;
    int height = 0;
    ICachedImage* image = nullptr;
  };
  ScaledFrame FrameAtScale(const IImageStrip& strip, int frame);
  bool DrawImageAtScale(const IImageStrip& strip, const IBounds& dest, int srcX, int srcY,
                        const IBlend* blend);
  // The strip's picture at twice the size, or the strip itself when the module has none.
  const IImageStrip& DoubleDensityStrip(const IImageStrip& strip);
  // Finds whether the strip's image decodes a segment at a time (looked for on first asking).
  bool HasSegments(const IImageStrip& strip);

  struct DoubleDensityPair {
    const ICachedImage* single;
    IImageStrip doubled;
  };
  std::vector<DoubleDensityPair> doubleDensityStrips;
};
