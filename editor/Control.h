#pragma once

#include "editor/EditorRecords.h"
#include "raster/TextStyle.h"

#include <atomic>
#include <cstdint>
#include <vector>

class IAudioPlugin;
class IEditor;

// One rectangular element of the editor, optionally bound to a plug-in parameter whose
// normalised value (0..1) it shows and changes. Drawing and input run on the window's thread;
// the plug-in side (host threads, the audio thread) only calls ShowValue and MarkDirty(false).
// The value and the flags both sides touch are atomics, so each side sees whole values. Whether
// the control needs drawing is one change counter, counted up by every MarkDirty after the value
// is stored, against the count the window last drew: a change made while the window draws
// leaves the counts apart, so it is drawn on the next tick.
class IControl {
public:
  IControl(IAudioPlugin* plugin, const IBounds& area, int paramIndex = -1,
           const IBlend& blend = IBlend());
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Virtual operations, in the order of their slots.
  virtual ~IControl() = default;
  // A right click would open the value prompt, which is off for every control of this system.
  virtual void PointerDown(int, int, const IMouseKeys&) {}
  virtual void PointerUp(int, int, const IMouseKeys&) {}
  // (x, y) in editor pixels, (dx, dy) the movement since the last in window pixels.
  virtual void PointerDrag(int, int, int, int, const IMouseKeys&) {}
  // Back to the first value the plug-in showed.
  virtual void PointerDoubleClick(int x, int y, const IMouseKeys& keys);
  virtual void WheelTurned(int x, int y, const IMouseKeys& keys, int notches);
  virtual bool KeyPressed(int, int, int) { return false; }
  virtual void PointerOver(int, int, const IMouseKeys&) {}
  virtual void PointerLeft() {}
  virtual bool Render(IEditor* editor) = 0;
  // A value from the plug-in side; never sent back to the plug-in.
  virtual void ShowValue(double value);
  virtual void AcceptEnteredText(const char*) {}
  virtual void SetHidden(bool flag);
  virtual void SetGreyed(bool flag);
  virtual bool ContainsPoint(int x, int y);
  // Clamps the value, marks the control for drawing and, with notifyPlugin, pushes the value to
  // the bound parameter.
  virtual void MarkDirty(bool notifyPlugin);
  // Clean as of every change made so far (unless a redraw was requested).
  virtual void MarkClean();
  virtual bool NeedsRedraw() {
    return changes.load(std::memory_order_acquire) != drawnChanges.load(std::memory_order_relaxed);
  }
  virtual void GuiIdle() {}
  virtual void ReceiveLinkedValue(int position, double value);
  // True when drawing the control now paints every pixel of rect opaquely, so nothing drawn
  // before it inside rect would show. None does by default.
  virtual bool CoversOpaquely(IEditor*, const IBounds&) { return false; }

  struct LinkedParam {
    double value = 0.0;
    int paramIndex = -1;
  };

  double Value() const { return value.load(std::memory_order_relaxed); }
  void SetValue(double v) { value.store(v, std::memory_order_relaxed); }
  double DefaultValue() const { return defaultValue.load(std::memory_order_relaxed); }
  int ParamIndex() const { return paramIndex; }
  const IBounds& Area() const { return area; }
  const IBounds& HitArea() const { return hitArea; }
  const IBlend& Blend() const { return blend; }
  bool IsHidden() const { return hidden.load(std::memory_order_relaxed); }
  bool IsGreyed() const { return greyed.load(std::memory_order_relaxed); }
  bool RedrawRequested() const { return redrawRequested.load(std::memory_order_acquire); }
  void RequestRedraw() { redrawRequested.store(true, std::memory_order_release); }
  // The redraw pass reads the count before drawing and cleans the control as of that count, so
  // changes made meanwhile stay to be drawn.
  std::uint32_t ChangeCount() const { return changes.load(std::memory_order_acquire); }
  void MarkCleanAt(std::uint32_t drawnCount);
  bool PromptDisabled() const { return promptDisabled; }
  bool DoubleClickAsPress() const { return doubleClickAsPress; }
  bool HoverWhenGreyed() const { return hoverWhenGreyed; }
  int TextEntryLimit() const { return textEntryLimit; }
  ITextStyle& TextStyle() { return textStyle; }
  IAudioPlugin* Plugin() const { return plugin; }
  std::vector<LinkedParam>& LinkedParams() { return linkedParams; }
  void SetClampRange(double low, double high);
  // The editor holding the control; set when it is added.
  IEditor* Owner() const { return owner; }
  void SetOwner(IEditor* editor) { owner = editor; }

protected:
  void SetHitArea(const IBounds& bounds) { hitArea = bounds; }
  // The value as MarkDirty keeps it: inside the clamp range, not a number as the low end.
  double Clamped(double v) const {
    if (!(v >= clampLow)) {
      return clampLow;
    }
    return v < clampHigh ? v : clampHigh;
  }

  int textEntryLimit = 7;
  ITextStyle textStyle;
  IAudioPlugin* plugin;
  IBounds area;
  IBounds hitArea;
  int paramIndex;
  std::vector<LinkedParam> linkedParams;
  std::atomic<double> value{0.0};
  std::atomic<double> defaultValue{-1.0};
  double clampLow = 0.0;
  double clampHigh = 1.0;
  // Apart at first: a new control is drawn at the first redraw.
  std::atomic<std::uint32_t> changes{1};
  std::atomic<std::uint32_t> drawnChanges{0};
  std::atomic<bool> hidden{false};
  std::atomic<bool> greyed{false};
  std::atomic<bool> redrawRequested{false};
  bool promptDisabled = true;
  bool doubleClickAsPress = false;
  bool hoverWhenGreyed = false;
  IBlend blend;
  IEditor* owner = nullptr;
};
