#pragma once

#include <memory>
#include <string>

// A loaded dynamic library; unloaded when destroyed.
class LoadedLibrary {
public:
  // The library at path, or null with the system's reason in error.
  static std::unique_ptr<LoadedLibrary> Open(const std::string& path, std::string* error);

  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  ~LoadedLibrary();

  // The exported symbol of that name, or null.
  void* Symbol(const char* name) const;

private:
  explicit LoadedLibrary(void* handle) : handle(handle) {}
  void* handle;
};

// The system's text for an error code of its own (Windows' GetLastError, errno elsewhere).
std::string SystemErrorText(unsigned long code);
