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
  return true;
}

namespace {
// One argument as the C runtime splits a command line: quoted when it has blanks or quotes, with
// the backslashes before a quote (and at the end) doubled.
std::string Quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
    return argument;
  }
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(2 * backslashes, '\\');
  quoted.push_back('"');
  return quoted;
}

struct PipeReader {
  HANDLE pipe;
  std::string* text;
};

DWORD WINAPI ReadPipe(void* context) {
  auto* reader = static_cast<PipeReader*>(context);
  char buffer[4096];
  DWORD count = 0;
  while (ReadFile(reader->pipe, buffer, sizeof(buffer), &count, nullptr) && count > 0) {
    reader->text->append(buffer, count);
  }
  return 0;
}
} // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               std::string* output, std::string* errorOutput) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE outRead = nullptr;
  HANDLE outWrite = nullptr;
  HANDLE errRead = nullptr;
  HANDLE errWrite = nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) {
    return -1;
  }
  if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) {
    CloseHandle(outRead);
    CloseHandle(outWrite);
    return -1;
  }
  // Only the child's ends are inherited.
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  std::string commandLine = Quoted(program);
  for (const std::string& argument : arguments) {
    commandLine += " " + Quoted(argument);
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (!started) {
    CloseHandle(outRead);
    CloseHandle(errRead);
    return -1;
  }
  // Both pipes are drained at once, or a child filling one would wait for ever.
  PipeReader errReader{errRead, errorOutput};
  HANDLE errThread = CreateThread(nullptr, 0, ReadPipe, &errReader, 0, nullptr);
  PipeReader outReader{outRead, output};
  ReadPipe(&outReader);
  if (errThread) {
    WaitForSingleObject(errThread, INFINITE);
    CloseHandle(errThread);
  } else {
    ReadPipe(&errReader);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(outRead);
  CloseHandle(errRead);
  return static_cast<int>(status & 0x7FFFFFFF);
}
