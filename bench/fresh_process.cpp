#include "bench/FreshProcess.h"

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

VstIntPtr VSTCALLBACK ProbeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

long ResidentBytes() {
  long pages = 0;
  long resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) {
    return -1;
  }
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? resident * sysconf(_SC_PAGESIZE) : -1;
}

double CpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e9 + now.tv_nsec;
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool MeasureInFreshProcess(const std::vector<std::string>& arguments, size_t count,
                           std::vector<double>* values) {
  const char* self = "/proc/self/exe";
  std::vector<char*> argv{const_cast<char*>(self)};
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    return false;
  }
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execv(self, argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  char line[256] = {};
  const ssize_t got = child > 0 ? read(pipeEnds[0], line, sizeof line - 1) : -1;
  close(pipeEnds[0]);
  int status = 0;
  if (child > 0) {
    waitpid(child, &status, 0);
  }
  if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return false;
  }
  values->clear();
  const char* next = line;
  for (size_t i = 0; i < count; ++i) {
    char* end = nullptr;
    const double value = std::strtod(next, &end);
    if (end == next) {
      return false;
    }
    values->push_back(value);
    next = end;
  }
  return true;
}

bool ReportJson(const std::string& json, const char* outPath) {
  std::fputs(json.c_str(), stdout);
  if (!outPath) {
    return true;
  }
  std::FILE* out = std::fopen(outPath, "w");
  const bool written = out && std::fputs(json.c_str(), out) >= 0;
  const bool closed = out && std::fclose(out) == 0;
  if (!written || !closed) {
    std::fprintf(stderr, "cannot write %s\n", outPath);
    return false;
  }
  return true;
}
