#include "editor/Editor.h"
#include "editor/LinkControl.h"

#include <cstring>

ILinkControl::ILinkControl(IAudioPlugin* plugin, const IBounds& area, const char* link)
    : IControl(plugin, area) {
  if (link && std::strlen(link) < sizeof(address)) {
    std::strcpy(address, link);
  }
}

void ILinkControl::PointerDown(int, int, const IMouseKeys&) {
  if (!owner || address[0] == '\0') {
    return;
  }
  if (owner->OpenLink(address, title, nullptr, nullptr)) {
    return;
  }
  if (fallbackAddress[0] != '\0') {
    owner->OpenLink(fallbackAddress, title, nullptr, nullptr);
  }
}
