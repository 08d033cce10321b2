#include "host/LoadedLibrary.h"

#include <windows.h>

std::unique_ptr<LoadedLibrary> LoadedLibrary::Open(const std::string& path, std::string* error) {
  // No message boxes for a missing dependency: the reason goes into the one-line error.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  const DWORD code = GetLastError();
  SetErrorMode(previousMode);
  if (!module) {
    *error = SystemErrorText(code);
    return nullptr;
  }
  return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(module));
}

LoadedLibrary::~LoadedLibrary() {
  FreeLibrary(static_cast<HMODULE>(handle));
}

void* LoadedLibrary::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

std::string SystemErrorText(unsigned long code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 && text ? std::string(text, length) : std::string();
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(code) : message;
}
