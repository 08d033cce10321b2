#include "tools/render/RenderLoop.h"

#include "tools/render/AudioFile.h"
#include "tools/render/Interrupt.h"
#include "tools/render/MidiSchedule.h"
#include "tools/render/PluginHost.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {
// Per-pin buffers in both precisions and the pointer arrays the plug-in receives.
template <typename Sample> struct PinBuffers {
  PinBuffers(int pins, int frames)
      : samples(static_cast<size_t>(pins), std::vector<Sample>(static_cast<size_t>(frames))) {
    for (std::vector<Sample>& pin : samples) {
      pointers.push_back(pin.data());
    }
  }
  std::vector<std::vector<Sample>> samples;
  std::vector<Sample*> pointers;
};

template <typename Sample>
void FeedInputs(const std::vector<double>& interleaved, const ChannelPlan& plan, int frames,
                PinBuffers<Sample>* pins) {
  const int channels = plan.fileChannels;
  for (size_t pin = 0; pin < pins->samples.size(); ++pin) {
    Sample* destination = pins->samples[pin].data();
    const int channel = static_cast<int>(pin);
    for (int frame = 0; frame < frames; ++frame) {
      const double* samples = &interleaved[static_cast<size_t>(frame) * channels];
      double value = 0.0;
      if (plan.mixDown && channel == 0) {
        for (int c = 0; c < channels; ++c) {
          value += samples[c];
        }
        value /= channels;
      } else if (!plan.mixDown && channel < channels) {
        value = samples[channel];
      }
      destination[frame] = static_cast<Sample>(value);
    }
  }
}

// Output frame `frame` of the block into interleaved slot `slot`; true when every channel of it
// is below the quiet level.
template <typename Sample>
bool TakeFrame(const PinBuffers<Sample>& pins, int channels, int frame, size_t slot,
               std::vector<double>* interleaved) {
  bool quiet = true;
  for (int channel = 0; channel < channels; ++channel) {
    const double value = static_cast<double>(pins.samples[static_cast<size_t>(channel)][frame]);
    (*interleaved)[slot * channels + channel] = value;
    quiet = quiet && std::fabs(value) < kQuietLevel;
  }
  return quiet;
}
} // namespace

bool RenderAudio(PluginHost& host, AudioReader& reader, AudioWriter& writer, MidiSchedule& schedule,
                 const RenderSettings& settings, const std::function<void(double)>& progress,
                 RenderResult* result, std::string* error) {
  const ChannelPlan& plan = settings.channels;
  const int blockFrames = settings.blockFrames;
  const bool precise = settings.doublePrecision;
  const bool autoTail = settings.tail == TailMode::Auto;
  std::vector<double> input(static_cast<size_t>(blockFrames) * plan.fileChannels);
  std::vector<double> output(static_cast<size_t>(blockFrames) * plan.outputChannels);
  PinBuffers<float> floatInputs(precise ? 0 : plan.inputPins, blockFrames);
  PinBuffers<float> floatOutputs(precise ? 0 : plan.outputPins, blockFrames);
  PinBuffers<double> doubleInputs(precise ? plan.inputPins : 0, blockFrames);
  PinBuffers<double> doubleOutputs(precise ? plan.outputPins : 0, blockFrames);

  const int64_t inputFrames = reader.Frames();
  // Known once the plug-in has processed its first block.
  int64_t latency = 0;
  // The most frames written: the input and the tail (with an automatic tail, its longest).
  const int64_t target = inputFrames + settings.tailFrames;
  const double expected = static_cast<double>(autoTail ? std::max<int64_t>(inputFrames, 1)
                                                       : std::max<int64_t>(target, 1));
  int64_t rendered = 0;
  int64_t inputRead = 0;
  int64_t written = 0;
  int64_t quietRun = 0;
  bool quietEnough = false;
  while (written < target && !quietEnough) {
    if (InterruptRequested()) {
      *error = "interrupted";
      return false;
    }
    const int frames =
        autoTail ? blockFrames
                 : static_cast<int>(std::min<int64_t>(blockFrames, target + latency - rendered));
    const int wanted = static_cast<int>(std::min<int64_t>(frames, inputFrames - inputRead));
    const int fromFile = wanted > 0 ? static_cast<int>(reader.Read(input.data(), wanted)) : 0;
    if (fromFile < wanted) {
      *error = "cannot read the input: it ends after " + std::to_string(inputRead + fromFile) +
               " of the " + std::to_string(inputFrames) + " frames its header announces";
      return false;
    }
    inputRead += fromFile;
    std::fill(input.begin() + static_cast<std::ptrdiff_t>(fromFile) * plan.fileChannels,
              input.end(), 0.0);
    result->input.Add(input.data(), static_cast<size_t>(fromFile) * plan.fileChannels);

    host.SetTransport(settings.playing ? rendered : 0, settings.tempo, settings.playing);
    host.SendEvents(schedule.EventsFor(rendered, frames));
    if (precise) {
      FeedInputs(input, plan, frames, &doubleInputs);
      host.ProcessDouble(doubleInputs.pointers.data(), doubleOutputs.pointers.data(), frames);
    } else {
      FeedInputs(input, plan, frames, &floatInputs);
      host.ProcessFloat(floatInputs.pointers.data(), floatOutputs.pointers.data(), frames);
    }
    if (rendered == 0) {
      result->latencyReported = host.Latency();
      if (settings.compensateLatency) {
        if (result->latencyReported > settings.mostLatencyFrames) {
          *error = "the plug-in reports a latency of " + std::to_string(result->latencyReported) +
                   " frames, more than ten minutes; add --no-latency-compensation";
          return false;
        }
        latency = result->latencyReported;
      }
    } else if (host.Latency() != result->latencyReported) {
      result->latencyLater = host.Latency();
    }

    size_t taken = 0;
    for (int64_t frame = std::max<int64_t>(latency - rendered, 0);
         frame < frames && written < target && !quietEnough; ++frame) {
      const int at = static_cast<int>(frame);
      const bool quiet = precise ? TakeFrame(doubleOutputs, plan.outputChannels, at, taken, &output)
                                 : TakeFrame(floatOutputs, plan.outputChannels, at, taken, &output);
      quietRun = quiet ? quietRun + 1 : 0;
      ++taken;
      ++written;
      quietEnough = autoTail && written >= inputFrames && quietRun >= settings.quietFrames;
    }
    rendered += frames;
    result->output.Add(output.data(), taken * plan.outputChannels);
    if (taken > 0 && !writer.Write(output.data(), static_cast<int64_t>(taken), error)) {
      return false;
    }
    progress(std::min(1.0, static_cast<double>(written) / expected));
  }
  result->inputFrames = inputFrames;
  result->frames = written;
  result->tailFrames = written - inputFrames;
  result->tailCut = autoTail && !quietEnough;
  result->latencyCompensated = latency;
  return true;
}
