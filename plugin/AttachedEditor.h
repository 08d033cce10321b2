#pragma once

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
  virtual void DetachWindow() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The host's periodic call on its user-interface thread, for windows that have no message
  // loop of their own to drive them. Runs without the plug-in's lock.
  virtual void Idle() {}
  // A key the host hands the editor, in the PC keyboard's virtual-key numbering (0x20 space,
  // 0x25-0x28 the arrows, '0'-'9', 'A'-'Z', 0x60-0x6F the keypad, 0x70 up the function keys).
  // True when a control took it; otherwise it stays the host's.
  virtual bool HostKey(int, bool) { return false; }
};
