#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes: 0 done, 1 a file, plug-in or value problem (in a folder run: any file failed),
// 2 a malformed command line, 130 stopped by Ctrl-C (as shells report SIGINT).
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

// One run of ombrix-render on the arguments after the program name. The report goes to out;
// errors (one line each) and the progress bar go to err; the bar is drawn only when err is a
// terminal. Given the program's own file (self), renders are watched for crashing and hanging
// plug-ins and a folder render runs each file in a process of its own; without it (in tests)
// everything runs in the calling process.
int RunRenderTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  bool errIsTerminal, const std::string& self = std::string());

// Where the tool looks for the plug-in without --plugin: beside the program, then in the build
// tree's effect folder (two folders up, as build/<preset>/tools/render sits), then where an
// install put it (<prefix>/lib/vst beside <prefix>/bin, then ~/.vst).
std::string DefaultPluginPath();
