#include "platform/ModuleResources.h"

#include <windows.h>

bool FindModuleResource(int id, const char* type, const unsigned char** data, std::size_t* size) {
  // An integer resource name is 16 bits wide and never 0 (which would read as no name at all).
  const WORD name = static_cast<WORD>(id & 0xFFFF);
  if (!type || !data || !size || name == 0) {
    return false;
  }
  // The module holding this function: the plug-in DLL inside a host, not the host's program.
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&FindModuleResource), &module)) {
    return false;
  }
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(name), type);
  if (!resource) {
    return false;
  }
  const DWORD length = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  if (!loaded) {
    return false;
  }
  const void* bytes = LockResource(loaded);
  if (!bytes) {
    return false;
  }
  *data = static_cast<const unsigned char*>(bytes);
  *size = length;
  return true;
}
