#pragma once

#include "plugin/NativeParent.h"

// What the plug-in side asks of its attached editor. The editor framework implements it;
// the plug-in owns the editor through this interface and deletes it with itself.
class IAttachedEditor {
public:
  virtual ~IAttachedEditor() = default;

  // Shows a parameter's value on the controls bound to it, in real units or normalised.
  virtual void ShowParameterValue(int index, double value, bool normalized) = 0;
  // Creates the off-screen drawing surface, once every parameter has been shown.
  virtual void PrepareDrawing() = 0;
  // Opens the editor's window inside parent; returns the native window or nullptr.
  virtual void* AttachWindow(void* parent) = 0;
  // The same for a parent of a named window system; nullptr for one this editor cannot use.
  virtual void* OpenWindow(const INativeParent& parent) = 0;
  virtual void DetachWindow() = 0;
  // The window's size in its pixels, at the editor's scale.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The scale the host or the system asks for (2 for 200 %); the editor draws at the nearest it
  // offers and, when that changes the size of an open window, has the host resize it through
  // the plug-in's EditorSizeChanged.
  virtual void SetScale(double) {}
  virtual double Scale() const { return 1.0; }
  // Takes the scale the window system gives the parent window (or, without one, the screen),
  // for hosts whose format carries no scale of its own.
  virtual void FollowSystemScale(const INativeParent*) {}
  // The host's periodic call on its user-interface thread, for windows that have no message
  // loop of their own to drive them. Runs without the plug-in's lock.
  virtual void Idle() {}
  // The descriptor of the window's connection to its window system while a window is open, for
  // hosts that watch descriptors and call Idle when it has input; -1 when there is none.
  virtual int EventDescriptor() const { return -1; }
  // A key the host hands the editor, in the PC keyboard's virtual-key numbering (HostKeys.h).
  // True when a control took it; otherwise it stays the host's.
  virtual bool HostKey(int, bool) { return false; }
};
