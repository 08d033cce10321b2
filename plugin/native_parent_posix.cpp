#include "plugin/NativeParent.h"

INativeParent NativeParentFromPointer(void* parent) {
  INativeParent made;
  made.api = WindowApi::X11;
  made.x11Window = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(parent));
  return made;
}
