#pragma once

#include "host/LoadedLibrary.h"
#include "tools/render/HostPlatform.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Files and runs for the ombrix-render tests. Every test works in a fresh folder of its own
// below the working directory.

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

struct AudioData {
  int channels = 0;
  int sampleRate = 0;
  int format = 0;
  std::vector<double> samples;
};

// A fresh, empty folder named after the current test; returns its path with a trailing '/'.
std::string FreshTestFolder();

// Runs the tool in-process on these arguments.
RunResult RunTool(const std::vector<std::string>& arguments);

// 32-bit float WAV unless another libsndfile format word is given.
void WriteAudio(const std::string& path, int channels, int sampleRate,
                const std::vector<double>& interleaved, int format = 0);
AudioData ReadAudio(const std::string& path);

bool FileExists(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Big-endian 32-bit field at offset.
uint32_t BigEndianAt(const std::vector<uint8_t>& bytes, size_t offset);
float BigEndianFloatAt(const std::vector<uint8_t>& bytes, size_t offset);

// The clipper's arithmetic: clamp to the clip level c = 1 - amount/100, then scale by 1/c.
double ClippedSample(double input, double amount);

// The probe plug-in built for these tests, in its three export variants.
std::string ProbePlugin();
std::string ProbePluginWithMainOnly();
std::string ProbePluginWithoutEntry();
// The delay-like plug-in: one input, two outputs, a latency and a tail.
std::string TailProbePlugin();
constexpr int kTailProbeLatency = 48;
constexpr int kTailProbeEcho = 400;

// Text a test plug-in keeps in its library, read through the function it exports under that
// name; clear (another export) empties it. The library stays loaded while the object lives.
class PluginLog {
public:
  PluginLog(const std::string& plugin, const char* read, const char* clear);
  std::string Text() const;
  void Clear() const;

private:
  std::unique_ptr<LoadedLibrary> library;
  const char* (*read)();
  void (*clear)();
};

// A refusal: the exit code, and one line on standard error that starts with the tool's name and
// holds the text.
void ExpectOneLineRefusal(const RunResult& run, int exitCode, const std::string& text);

// A mono ramp of frames samples, (i + 1) * step.
std::vector<double> MonoRamp(int frames, double step);
