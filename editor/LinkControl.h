#pragma once

#include "editor/Control.h"

// An invisible area that opens a web address in the system's browser when clicked.
class ILinkControl : public IControl {
public:
  // An address longer than 255 characters cannot be held and is not kept.
  ILinkControl(IAudioPlugin* plugin, const IBounds& area, const char* address);

  void PointerDown(int x, int y, const IMouseKeys& keys) override;
  bool Render(IEditor*) override { return true; }

  const char* Address() const { return address; }

private:
  char address[256] = {};
  char fallbackAddress[256] = {};
  char title[1024] = {};
};
