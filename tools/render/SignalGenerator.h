#pragma once

#include <string>

class AudioWriter;

// Test signals for trying the plug-in without audio at hand, peaking at 0.9 (-0.92 dBFS), with
// 10 ms fades at both ends so they start and stop without clicks:
// "sweep": a sine gliding exponentially from 20 Hz to 20 kHz (or just below half the rate);
// "chord": an A major chord (110, 220, 277.18, 329.63 Hz).
// The same signal goes to every channel.
bool GenerateSignal(const std::string& kind, double seconds, int sampleRate, int channels,
                    AudioWriter& writer, std::string* error);
