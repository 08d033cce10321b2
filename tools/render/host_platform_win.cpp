#include "tools/render/HostPlatform.h"

#include <io.h>
#include <vector>
#include <windows.h>

namespace {
DWORD WINAPI RunWork(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return 0;
}

std::string SystemMessage(DWORD code) {
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
} // namespace

std::unique_ptr<LoadedLibrary> LoadedLibrary::Open(const std::string& path, std::string* error) {
  // No message boxes for a missing dependency: the reason goes into the one-line error.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  const DWORD code = GetLastError();
  SetErrorMode(previousMode);
  if (!module) {
    *error = SystemMessage(code);
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

std::string ExecutablePath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return std::string();
  }
  return std::string(path, length);
}

bool MoveIntoPlace(const std::string& from, const std::string& to, std::string* error) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  *error = SystemMessage(GetLastError());
  return false;
}

bool ErrorOutputIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}

const char* PluginFileName() {
  return "Ombrix.dll";
}

// Windows hosts have no one VST folder: an installed tool keeps the DLL beside itself.
std::vector<std::string> InstalledPluginPaths(const std::string&) {
  return {};
}

int ProcessorCount() {
  SYSTEM_INFO info = {};
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

void RunConcurrently(int threads, const std::function<void()>& work) {
  std::vector<HANDLE> others;
  void* argument = const_cast<std::function<void()>*>(&work);
  for (int i = 1; i < threads; ++i) {
    HANDLE thread = CreateThread(nullptr, 0, RunWork, argument, 0, nullptr);
    // Without another thread the work still gets done, only with fewer hands.
    if (thread) {
      others.push_back(thread);
    }
  }
  work();
  for (HANDLE thread : others) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
}
