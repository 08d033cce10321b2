#include "tools/render/HostPlatform.h"

#include "host/LoadedLibrary.h"

#include <io.h>
#include <vector>
#include <windows.h>

namespace {
DWORD WINAPI RunWork(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return 0;
}

} // namespace

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
  *error = SystemErrorText(GetLastError());
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

bool CanRunPrograms() {
  return false;
}

int RunProgram(const std::string&, const std::vector<std::string>&, std::string*, std::string*) {
  return -1;
}
