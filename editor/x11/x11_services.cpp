#include "editor/x11/EditorX11.h"

#include <dlfcn.h>
#include <limits.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

extern char** environ;

namespace {
constexpr char LinkOpener[] = "xdg-open";
constexpr char DesktopKey[] = "XDG_DESKTOP_DIR=";
constexpr char HomePrefix[] = "$HOME";

// Everything up to and including the last slash; empty when there is none or nothing follows it.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash + 1 == path.size()) {
    return std::string();
  }
  return path.substr(0, slash + 1);
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The value of XDG_DESKTOP_DIR in a user-dirs.dirs file: a quoted path, absolute or starting
// with $HOME; empty when the file does not say.
std::string DesktopFromUserDirs(const std::string& file, const std::string& home) {
  std::ifstream in(file);
  std::string line;
  std::string found;
  while (std::getline(in, line)) {
    if (line.compare(0, sizeof(DesktopKey) - 1, DesktopKey) != 0) {
      continue;
    }
    std::string value = line.substr(sizeof(DesktopKey) - 1);
    if (value.size() < 2 || value.front() != '"' || value.find('"', 1) == std::string::npos) {
      continue;
    }
    value = value.substr(1, value.find('"', 1) - 1);
    if (value.compare(0, sizeof(HomePrefix) - 1, HomePrefix) == 0) {
      found = home + value.substr(sizeof(HomePrefix) - 1);
    } else if (!value.empty() && value.front() == '/') {
      found = value;
    }
  }
  return found;
}

// Starts the program without a shell and without waiting for it: a short-lived middle process
// spawns it and ends at once, so nothing is left for the host to reap. True when it started.
bool SpawnDetached(const char* program, const char* argument) {
  const pid_t middle = fork();
  if (middle < 0) {
    return false;
  }
  if (middle == 0) {
    char* const arguments[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    pid_t started = 0;
    const int failed = posix_spawnp(&started, program, nullptr, nullptr, arguments, environ);
    _exit(failed == 0 ? 0 : 1);
  }
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

bool IEditorX11::OpenLink(const char* address, const char*, const char* confirmText, const char*) {
  if (!address || !*address || (confirmText && *confirmText)) {
    return false;
  }
  return SpawnDetached(LinkOpener, address);
}

void IEditorX11::HostDirectory(std::string* directory) {
  if (!directory) {
    return;
  }
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  *directory = length > 0 ? FolderOf(std::string(path, static_cast<size_t>(length))) : "";
}

void IEditorX11::ModuleDirectory(std::string* directory) {
  if (!directory) {
    return;
  }
  directory->clear();
  // The file this code was loaded from: the plug-in library inside a host.
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&FolderOf), &info) || !info.dli_fname) {
    return;
  }
  char resolved[PATH_MAX];
  const char* path = realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
  *directory = FolderOf(path);
}

void IEditorX11::DesktopDirectory(std::string* directory) {
  if (!directory) {
    return;
  }
  const std::string home = Environment("HOME");
  std::string config = Environment("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) {
    config = home + "/.config";
  }
  std::string desktop = config.empty() ? "" : DesktopFromUserDirs(config + "/user-dirs.dirs", home);
  if (desktop.empty() && !home.empty()) {
    desktop = home + "/Desktop";
  }
  *directory = desktop;
}
