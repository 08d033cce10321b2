#include "plugin/NativeParent.h"

INativeParent NativeParentFromPointer(void* parent) {
  INativeParent made;
  made.api = WindowApi::Win32;
  made.hwnd = parent;
  return made;
}
