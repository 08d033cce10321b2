#include "tools/render/RenderLoop.h"

#include "host/HostedPlugin.h"
#include "tools/render/AudioFile.h"
#include "tools/render/Automation.h"
#include "tools/render/Interrupt.h"
#include "tools/render/MidiSchedule.h"
#include "tools/render/RenderWatch.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {
// Events of one block most renders stay within; more only grow the lists.
constexpr size_t kEventRoom = 1024;

// Per-pin buffers in both precisions and the pointer arrays the plug-in receives.
template <typename Sample> struct PinBuffers {
  PinBuffers(int pins, int frames)
      : samples(static_cast<size_t>(pins), std::vector<Sample>(static_cast<size_t>(frames))),
        at(static_cast<size_t>(pins)) {
    for (std::vector<Sample>& pin : samples) {
      pointers.push_back(pin.data());
    }
  }
  std::vector<std::vector<Sample>> samples;
  std::vector<Sample*> pointers;
  // The pointers moved to a frame within the block, for a block split at a change.
  std::vector<Sample*> at;
};

// One plug-in's buffers, its events of the block and the frame its output has been ready from.
template <typename Sample> struct StageBuffers {
  StageBuffers(const ChannelPlan& plan, int frames)
      : inputs(plan.inputPins, frames), outputs(plan.outputPins, frames) {}
  PinBuffers<Sample> inputs;
  PinBuffers<Sample> outputs;
};

// Channel `channel` of what feeds the stage at this frame: the file's interleaved samples for
// the first stage, the previous stage's outputs for the others.
struct Source {
  const std::vector<double>* interleaved = nullptr;
  int channels = 0;
  template <typename Sample>
  double At(const PinBuffers<Sample>* previous, int channel, int frame) const {
    if (previous) {
      return static_cast<double>(previous->samples[static_cast<size_t>(channel)][frame]);
    }
    return (*interleaved)[static_cast<size_t>(frame) * channels + channel];
  }
};

template <typename Sample>
void FeedInputs(const Source& source, const PinBuffers<Sample>* previous, const ChannelPlan& plan,
                int frames, PinBuffers<Sample>* pins) {
  const int channels = plan.fileChannels;
  for (size_t pin = 0; pin < pins->samples.size(); ++pin) {
    Sample* destination = pins->samples[pin].data();
    const int channel = static_cast<int>(pin);
    for (int frame = 0; frame < frames; ++frame) {
      double value = 0.0;
      if (plan.mixDown && channel == 0) {
        for (int c = 0; c < channels; ++c) {
          value += source.At(previous, c, frame);
        }
        value /= channels;
      } else if (!plan.mixDown && channel < plan.fedChannels) {
        value = source.At(previous, channel, frame);
      }
      destination[frame] = static_cast<Sample>(value);
    }
  }
}

// One block through the plug-in. A format that takes parameter changes only between blocks
// gets the block in pieces cut at each change's frame, each piece with its own events.
template <typename Sample>
void ProcessBlock(HostedPlugin& plugin, StageBuffers<Sample>& buffers, int frames,
                  std::vector<HostedEvent>& events) {
  PinBuffers<Sample>& in = buffers.inputs;
  PinBuffers<Sample>& out = buffers.outputs;
  if (plugin.ParametersAtFrames() || events.empty()) {
    plugin.Process(in.pointers.data(), out.pointers.data(), frames, events.data(), events.size());
    return;
  }
  size_t first = 0;
  int start = 0;
  while (start < frames) {
    int end = frames;
    for (size_t i = first; i < events.size(); ++i) {
      if (events[i].kind == HostedEventKind::Parameter && events[i].frame > start) {
        end = std::min(events[i].frame, frames);
        break;
      }
    }
    size_t last = first;
    while (last < events.size() && (end == frames || events[last].frame < end)) {
      events[last].frame -= start;
      ++last;
    }
    for (size_t pin = 0; pin < in.at.size(); ++pin) {
      in.at[pin] = in.pointers[pin] + start;
    }
    for (size_t pin = 0; pin < out.at.size(); ++pin) {
      out.at[pin] = out.pointers[pin] + start;
    }
    plugin.Process(in.at.data(), out.at.data(), end - start, events.data() + first, last - first);
    first = last;
    start = end;
  }
}

// The MIDI and the automation of a block in frame order, MIDI first at equal frames.
void MergeEvents(const std::vector<HostedEvent>& midi, const std::vector<HostedEvent>& changes,
                 std::vector<HostedEvent>* merged) {
  merged->clear();
  size_t m = 0;
  size_t c = 0;
  while (m < midi.size() || c < changes.size()) {
    const bool takeMidi =
        c == changes.size() || (m < midi.size() && midi[m].frame <= changes[c].frame);
    merged->push_back(takeMidi ? midi[m++] : changes[c++]);
  }
}

template <typename Sample>
bool AllNumbers(const PinBuffers<Sample>& pins, int channels, int frames) {
  for (int channel = 0; channel < channels; ++channel) {
    const Sample* samples = pins.samples[static_cast<size_t>(channel)].data();
    for (int frame = 0; frame < frames; ++frame) {
      if (!std::isfinite(samples[frame])) {
        return false;
      }
    }
  }
  return true;
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

template <typename Sample> class ChainRenderer {
public:
  ChainRenderer(std::vector<RenderStage>& stages, AudioReader& reader, AudioWriter& writer,
                MidiSchedule& schedule, const RenderSettings& settings)
      : stages(stages), reader(reader), writer(writer), schedule(schedule), settings(settings) {
    for (const RenderStage& stage : stages) {
      buffers.emplace_back(stage.channels, settings.blockFrames);
    }
    for (std::vector<HostedEvent>* list : {&midi, &changes, &events}) {
      list->reserve(kEventRoom);
    }
  }

  bool Run(const std::function<void(double)>& progress, RenderResult* result, std::string* error) {
    const ChannelPlan& first = stages.front().channels;
    const int outputChannels = stages.back().channels.outputChannels;
    const int blockFrames = settings.blockFrames;
    const bool autoTail = settings.tail == TailMode::Auto;
    std::vector<double> input(static_cast<size_t>(blockFrames) * first.fileChannels);
    std::vector<double> output(static_cast<size_t>(blockFrames) * outputChannels);
    const int64_t inputFrames = reader.Frames();
    // Known once the plug-ins have processed their first block.
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
      std::fill(input.begin() + static_cast<std::ptrdiff_t>(fromFile) * first.fileChannels,
                input.end(), 0.0);
      result->input.Add(input.data(), static_cast<size_t>(fromFile) * first.fileChannels);

      midi.clear();
      schedule.EventsFor(rendered, frames, &midi);
      if (!ProcessStages(input, rendered, frames, error)) {
        return false;
      }
      RenderWatch::Beat();
      const int reported = ChainLatency();
      if (rendered == 0) {
        result->latencyReported = reported;
        if (settings.compensateLatency) {
          if (reported > settings.mostLatencyFrames) {
            *error = "the plug-ins report a latency of " + std::to_string(reported) +
                     " frames, more than ten minutes; add --no-latency-compensation";
            return false;
          }
          latency = reported;
        }
      } else if (reported != result->latencyReported) {
        result->latencyLater = reported;
      }

      const PinBuffers<Sample>& last = buffers.back().outputs;
      size_t taken = 0;
      for (int64_t frame = std::max<int64_t>(latency - rendered, 0);
           frame < frames && written < target && !quietEnough; ++frame) {
        const bool quiet = TakeFrame(last, outputChannels, static_cast<int>(frame), taken, &output);
        quietRun = quiet ? quietRun + 1 : 0;
        ++taken;
        ++written;
        quietEnough = autoTail && written >= inputFrames && quietRun >= settings.quietFrames;
      }
      rendered += frames;
      result->output.Add(output.data(), taken * outputChannels);
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

private:
  bool ProcessStages(const std::vector<double>& input, int64_t rendered, int frames,
                     std::string* error) {
    Source file{&input, stages.front().channels.fileChannels};
    for (size_t i = 0; i < stages.size(); ++i) {
      RenderStage& stage = stages[i];
      HostedPlugin& plugin = *stage.plugin;
      const PinBuffers<Sample>* previous = i == 0 ? nullptr : &buffers[i - 1].outputs;
      FeedInputs(file, previous, stage.channels, frames, &buffers[i].inputs);
      changes.clear();
      if (stage.automation) {
        stage.automation->EventsFor(rendered, frames, &changes);
      }
      MergeEvents(midi, changes, &events);
      plugin.SetTransport(settings.playing ? rendered : 0, settings.tempo, settings.playing);
      ProcessBlock(plugin, buffers[i], frames, events);
      if (!AllNumbers(buffers[i].outputs, stage.channels.outputChannels, frames)) {
        *error = plugin.Name() + " wrote samples that are not numbers (NaN or infinite) at " +
                 std::to_string(rendered) + " frames or shortly after; nothing was written";
        return false;
      }
    }
    return true;
  }

  int ChainLatency() {
    int total = 0;
    for (RenderStage& stage : stages) {
      total += std::max(stage.plugin->Latency(), 0);
    }
    return total;
  }

  std::vector<RenderStage>& stages;
  AudioReader& reader;
  AudioWriter& writer;
  MidiSchedule& schedule;
  const RenderSettings& settings;
  std::vector<StageBuffers<Sample>> buffers;
  std::vector<HostedEvent> midi;
  std::vector<HostedEvent> changes;
  std::vector<HostedEvent> events;
};
} // namespace

bool RenderAudio(std::vector<RenderStage>& stages, AudioReader& reader, AudioWriter& writer,
                 MidiSchedule& schedule, const RenderSettings& settings,
                 const std::function<void(double)>& progress, RenderResult* result,
                 std::string* error) {
  if (settings.doublePrecision) {
    ChainRenderer<double> renderer(stages, reader, writer, schedule, settings);
    return renderer.Run(progress, result, error);
  }
  ChainRenderer<float> renderer(stages, reader, writer, schedule, settings);
  return renderer.Run(progress, result, error);
}
