#pragma once

#include "vst2/VstAbi.h"

#include <string>
#include <vector>

// What the probes that measure in fresh processes share: each measurement runs in a process of
// its own (the program starts itself again with other arguments), prints one line of numbers,
// and the parent keeps the medians.

// The host callback of a probe: a VST 2.4 host that answers nothing else.
VstIntPtr VSTCALLBACK ProbeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float);
// The process's resident memory in bytes, or -1.
long ResidentBytes();
// The CPU time this process has used: on a loaded machine the wall-clock time also counts the
// time other processes held the processor.
double CpuNanoseconds();
// 0 for no values.
double Median(std::vector<double> values);
// Runs this program again with the arguments and reads the count numbers of the line it prints;
// false when it failed or printed fewer.
bool MeasureInFreshProcess(const std::vector<std::string>& arguments, size_t count,
                           std::vector<double>* values);
// The JSON line on standard output and, with a path, into that file; false when it could not be
// written there.
bool ReportJson(const std::string& json, const char* outPath);
