#include "tools/render/HostPlatform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
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

bool CanRunPrograms() {
  return true;
}

int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               std::string* output, std::string* errorOutput) {
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0) {
    return -1;
  }
  if (pipe(errPipe) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  for (int descriptor : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
    posix_spawn_file_actions_addclose(&actions, descriptor);
  }
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawned != 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    return -1;
  }
  pollfd streams[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* texts[2] = {output, errorOutput};
  int openStreams = 2;
  while (openStreams > 0) {
    if (poll(streams, 2, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd < 0 || !(streams[i].revents & (POLLIN | POLLHUP | POLLERR))) {
        continue;
      }
      char buffer[4096];
      const ssize_t count = read(streams[i].fd, buffer, sizeof(buffer));
      if (count > 0) {
        texts[i]->append(buffer, static_cast<size_t>(count));
      } else if (count == 0 || errno != EINTR) {
        close(streams[i].fd);
        streams[i].fd = -1;
        --openStreams;
      }
    }
  }
  for (pollfd& stream : streams) {
    if (stream.fd >= 0) {
      close(stream.fd);
    }
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      return -1;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
