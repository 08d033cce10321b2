#pragma once

#include <functional>
#include <string>
#include <vector>

// The few operating-system services the command-line host needs (beside host/LoadedLibrary.h):
// finding files next to the program, replacing a file in one step and knowing whether the
// user watches a terminal.

// The running program's own file, or empty when the system does not tell.
std::string ExecutablePath();

// Moves from over to, replacing an existing file; false with the reason in error.
bool MoveIntoPlace(const std::string& from, const std::string& to, std::string* error);

// Whether standard error is a terminal (a progress bar is worth drawing).
bool ErrorOutputIsTerminal();

// The file name of the plug-in binary this platform builds.
const char* PluginFileName();

// Where an installed plug-in sits, most specific first, for a program in programFolder: the
// VST folder of the program's own installation prefix, then the user's.
std::vector<std::string> InstalledPluginPaths(const std::string& programFolder);

// The processors the system offers (at least 1).
int ProcessorCount();

// Runs work on that many threads at once (the calling thread among them) and returns when all
// have finished.
void RunConcurrently(int threads, const std::function<void()>& work);

// Whether RunProgram can start programs here.
bool CanRunPrograms();

// Runs program with the arguments and waits for it, its standard output and error collected;
// the exit status (128 + the signal's number when a signal ended it, the exception's code
// without its top bit on Windows), or -1 when it could not be started.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               std::string* output, std::string* errorOutput);
