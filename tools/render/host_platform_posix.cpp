#include "tools/render/HostPlatform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits.h>
#include <thread>
#include <unistd.h>
#include <vector>

std::string ExecutablePath() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) {
    return std::string();
  }
  return std::string(path, static_cast<size_t>(length));
}

bool MoveIntoPlace(const std::string& from, const std::string& to, std::string* error) {
  if (std::rename(from.c_str(), to.c_str()) == 0) {
    return true;
  }
  *error = std::strerror(errno);
  return false;
}

bool ErrorOutputIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

const char* PluginFileName() {
  return "Ombrix.so";
}

// A system install puts the program in <prefix>/bin and the plug-in in <prefix>/lib/vst; a user
// install puts the plug-in in ~/.vst, where Linux hosts look.
std::vector<std::string> InstalledPluginPaths(const std::string& programFolder) {
  const size_t slash = programFolder.find_last_of('/');
  const std::string prefix = slash == std::string::npos ? ".." : programFolder.substr(0, slash);
  std::vector<std::string> paths{prefix + "/lib/vst/" + PluginFileName()};
  const char* home = std::getenv("HOME");
  if (home && *home) {
    paths.push_back(std::string(home) + "/.vst/" + PluginFileName());
  }
  return paths;
}

int ProcessorCount() {
  const long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count > 0 ? static_cast<int>(count) : 1;
}

void RunConcurrently(int threads, const std::function<void()>& work) {
  std::vector<std::thread> others;
  for (int i = 1; i < threads; ++i) {
    others.emplace_back(work);
  }
  work();
  for (std::thread& thread : others) {
    thread.join();
  }
}
