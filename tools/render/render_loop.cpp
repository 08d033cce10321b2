#include "tools/render/RenderLoop.h"

#include "tools/render/AudioFile.h"
#include "tools/render/PluginHost.h"

#include <algorithm>
#include <cmath>
#include <string>

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
void Deinterleave(const std::vector<double>& interleaved, int channels, int frames,
                  PinBuffers<Sample>* pins) {
  for (size_t pin = 0; pin < pins->samples.size(); ++pin) {
    const size_t channel = std::min(pin, static_cast<size_t>(channels - 1));
    Sample* destination = pins->samples[pin].data();
    for (int frame = 0; frame < frames; ++frame) {
      destination[frame] = static_cast<Sample>(interleaved[frame * channels + channel]);
    }
  }
}

template <typename Sample>
void Interleave(const PinBuffers<Sample>& pins, int channels, int frames,
                std::vector<double>* interleaved) {
  for (int channel = 0; channel < channels; ++channel) {
    const size_t pin = std::min(static_cast<size_t>(channel), pins.samples.size() - 1);
    const Sample* source = pins.samples[pin].data();
    for (int frame = 0; frame < frames; ++frame) {
      (*interleaved)[frame * channels + channel] = static_cast<double>(source[frame]);
    }
  }
}

VstMidiEvent ControllerEvent(int deltaFrames, int value) {
  VstMidiEvent event = {};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = deltaFrames;
  event.midiData[0] = static_cast<char>(0xB0);
  event.midiData[1] = 69;
  event.midiData[2] = static_cast<char>(value);
  return event;
}
} // namespace

int64_t ControllerFrame(const ControllerPoint& point, int sampleRate) {
  return std::llround(point.seconds * sampleRate);
}

bool RenderAudio(PluginHost& host, AudioReader& reader, AudioWriter& writer,
                 const RenderSettings& settings, const std::function<void(double)>& progress,
                 RenderResult* result, std::string* error) {
  const int channels = reader.Channels();
  const int blockFrames = settings.blockFrames;
  const int inputPins = host.Effect().numInputs;
  const int outputPins = host.Effect().numOutputs;
  std::vector<double> interleaved(static_cast<size_t>(blockFrames) * channels);
  PinBuffers<float> floatInputs(settings.doublePrecision ? 0 : inputPins, blockFrames);
  PinBuffers<float> floatOutputs(settings.doublePrecision ? 0 : outputPins, blockFrames);
  PinBuffers<double> doubleInputs(settings.doublePrecision ? inputPins : 0, blockFrames);
  PinBuffers<double> doubleOutputs(settings.doublePrecision ? outputPins : 0, blockFrames);

  std::vector<ControllerPoint> points = settings.controller69;
  std::stable_sort(
      points.begin(), points.end(),
      [](const ControllerPoint& a, const ControllerPoint& b) { return a.seconds < b.seconds; });
  size_t nextPoint = 0;
  std::vector<VstMidiEvent> events;

  int64_t position = 0;
  const int64_t total = reader.Frames();
  while (true) {
    const int frames = static_cast<int>(reader.Read(interleaved.data(), blockFrames));
    if (frames <= 0) {
      break;
    }
    result->input.Add(interleaved.data(), static_cast<size_t>(frames) * channels);

    events.clear();
    while (nextPoint < points.size() &&
           ControllerFrame(points[nextPoint], reader.SampleRate()) < position + frames) {
      const int64_t frame = ControllerFrame(points[nextPoint], reader.SampleRate());
      events.push_back(ControllerEvent(static_cast<int>(std::max<int64_t>(frame - position, 0)),
                                       points[nextPoint].value));
      ++nextPoint;
    }
    host.SetTransport(settings.playing ? position : 0, settings.tempo, settings.playing);
    host.SendMidi(events);

    if (settings.doublePrecision) {
      Deinterleave(interleaved, channels, frames, &doubleInputs);
      host.ProcessDouble(doubleInputs.pointers.data(), doubleOutputs.pointers.data(), frames);
      Interleave(doubleOutputs, channels, frames, &interleaved);
    } else {
      Deinterleave(interleaved, channels, frames, &floatInputs);
      host.ProcessFloat(floatInputs.pointers.data(), floatOutputs.pointers.data(), frames);
      Interleave(floatOutputs, channels, frames, &interleaved);
    }

    result->output.Add(interleaved.data(), static_cast<size_t>(frames) * channels);
    if (!writer.Write(interleaved.data(), frames, error)) {
      return false;
    }
    position += frames;
    result->frames = position;
    if (total > 0) {
      progress(static_cast<double>(position) / static_cast<double>(total));
    }
  }
  if (position < total) {
    *error = "cannot read the input: it ends after " + std::to_string(position) + " of the " +
             std::to_string(total) + " frames its header announces";
    return false;
  }
  return true;
}
