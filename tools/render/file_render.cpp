#include "tools/render/FileRender.h"

#include "host/PluginLoader.h"
#include "host/vst2/Vst2Plugin.h"
#include "platform/Lock.h"
#include "tools/render/AudioFile.h"
#include "tools/render/Automation.h"
#include "tools/render/Interrupt.h"
#include "tools/render/Json.h"
#include "tools/render/MidiSchedule.h"
#include "tools/render/PluginSettings.h"
#include "tools/render/PresetFiles.h"
#include "tools/render/RenderWatch.h"
#include "tools/render/SnapshotFile.h"
#include "tools/render/StateFile.h"

#include <cmath>
#include <cstdio>

namespace {
// How long the output must stay below -90 dBFS for an automatic tail to end, and the longest
// automatic tail.
constexpr double kQuietSeconds = 0.1;
constexpr double kMostAutoTailSeconds = 30.0;
// A reported delay beyond this is not believed: compensating it would render for hours.
constexpr double kMostLatencySeconds = 600.0;

std::string Plural(int64_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string Seconds(int64_t frames, int sampleRate) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.3f s",
                sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0.0);
  return text;
}

// "input 1" or "inputs 1-4": the first count pins.
std::string Pins(int count, const char* noun) {
  return count == 1 ? std::string(noun) + " 1" : std::string(noun) + "s 1-" + std::to_string(count);
}

double Decibels(double level) {
  return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY;
}

class FileRenderer {
public:
  FileRenderer(const RenderOptions& options, FileReport* report, const MidiSong* song)
      : options(options), report(*report), song(song) {}

  bool Run(PluginChain prepared, bool snapshot, const std::function<void(double)>& progress) {
    std::string error;
    reader = AudioReader::Open(report.input, &error);
    if (!reader) {
      return Fail(error);
    }
    report.sampleRate = reader->SampleRate();
    report.inputFormat = reader->Format();
    chain = std::move(prepared);
    if (chain.empty() && !PrepareChain(options, &chain, &error)) {
      return Fail(error);
    }
    return CheckPlugins() && Plan() && Render(snapshot, progress);
  }

private:
  bool Fail(const std::string& reason) {
    report.error = reason;
    return false;
  }

  bool CheckPlugins() {
    HostedPlugin& first = *chain.front();
    report.pluginPath = first.Location();
    report.pluginFormat = FormatName(first.Format());
    for (const std::unique_ptr<HostedPlugin>& plugin : chain) {
      const std::string name = plugin->Name();
      report.pluginName += (report.pluginName.empty() ? "" : " -> ") + name;
      report.chain.push_back(name + " (" + FormatName(plugin->Format()) + ")");
      if (options.doublePrecision && !plugin->ProcessesDouble()) {
        return Fail(name + " (" + FormatName(plugin->Format()) +
                    ") does not process double precision; leave out --double");
      }
    }
    return true;
  }

  bool Plan() {
    std::string error;
    int channels = reader->Channels();
    std::string source = report.input;
    for (size_t i = 0; i < chain.size(); ++i) {
      HostedPlugin& plugin = *chain[i];
      const bool last = i + 1 == chain.size();
      RenderStage stage;
      stage.plugin = &plugin;
      if (!PlanChannels(channels, plugin.InputChannels(), plugin.OutputChannels(), options.mixDown,
                        last ? options.outChannels : 0, source, plugin.Name(), &stage.channels,
                        &error)) {
        return Fail(error);
      }
      channels = stage.channels.outputChannels;
      source = "the output of " + plugin.Name();
      stages.push_back(stage);
    }
    report.channels = stages.front().channels;
    report.channels.outputPins = stages.back().channels.outputPins;
    report.channels.outputChannels = stages.back().channels.outputChannels;
    if (!ChooseOutputFormat(report.output, reader->Format(), options.encoding,
                            report.channels.outputChannels, reader->SampleRate(),
                            &report.outputFormat, &error)) {
      return Fail(error);
    }
    const int rate = reader->SampleRate();
    automation.resize(chain.size());
    for (size_t i = 0; i < chain.size(); ++i) {
      const std::string& file = options.chain[i].automation;
      if (!file.empty()) {
        IScopedLock control(HostControlLock());
        if (!AutomationSchedule::Load(file, *chain[i], rate, options.automationResolution,
                                      &automation[i], &error)) {
          return Fail(error);
        }
        stages[i].automation = &automation[i];
      }
    }
    settings.blockFrames = options.blockFrames;
    settings.doublePrecision = options.doublePrecision;
    settings.tempo = options.tempo;
    settings.playing = !options.transportStopped;
    settings.tail = options.tail;
    if (options.tail == TailMode::Seconds) {
      settings.tailFrames = FrameAt(options.tailSeconds, rate);
    } else if (options.tail == TailMode::Auto) {
      settings.tailFrames = FrameAt(kMostAutoTailSeconds, rate);
      settings.quietFrames = FrameAt(kQuietSeconds, rate);
    }
    const int64_t lastFrame =
        reader->Frames() + (options.tail == TailMode::Seconds ? settings.tailFrames : 0);
    for (const ControllerPoint& point : options.controllers) {
      if (FrameAt(point.seconds, rate) >= lastFrame) {
        char reason[512];
        std::snprintf(reason, sizeof(reason), "%s time %g s is out of range (%s lasts %s)",
                      point.controller == 69 ? "--cc69" : "--cc", point.seconds,
                      report.input.c_str(), Seconds(lastFrame, rate).c_str());
        return Fail(reason);
      }
    }
    return true;
  }

  bool Start(std::string* error) {
    for (std::unique_ptr<HostedPlugin>& plugin : chain) {
      if (!plugin->Start(reader->SampleRate(), options.blockFrames, options.doublePrecision,
                         error)) {
        return false;
      }
    }
    return true;
  }

  void Stop() {
    for (std::unique_ptr<HostedPlugin>& plugin : chain) {
      plugin->Stop();
    }
  }

  bool Render(bool snapshot, const std::function<void(double)>& progress) {
    std::string error;
    std::unique_ptr<AudioWriter> writer =
        AudioWriter::Create(report.output, report.outputFormat, report.channels.outputChannels,
                            reader->SampleRate(), &error);
    if (!writer) {
      return Fail(error);
    }
    HostedPlugin& first = *chain.front();
    report.program = first.CurrentProgram();
    report.programName = report.program >= 0 ? first.ProgramName(report.program) : "";
    std::unique_ptr<RenderWatch> watch;
    if (options.watched) {
      watch = std::make_unique<RenderWatch>(report.pluginName, " while rendering " + report.input,
                                            TemporaryPathFor(report.output), options.hangSeconds);
    }
    if (!Start(&error)) {
      Stop();
      return Fail(error);
    }
    auto* vst2 = dynamic_cast<Vst2Plugin*>(&first);
    report.precisionAccepted = vst2 && vst2->PrecisionAccepted();
    settings.compensateLatency = options.latencyCompensation;
    settings.mostLatencyFrames = FrameAt(kMostLatencySeconds, reader->SampleRate());
    MidiSchedule schedule(options.controllers, options.channel, song, reader->SampleRate());
    const bool rendered =
        RenderAudio(stages, *reader, *writer, schedule, settings, progress, &report.result, &error);
    Stop();
    report.latencyReported = report.result.latencyReported;
    report.latencyCompensated = report.result.latencyCompensated;
    report.eventsSent = schedule.Sent();
    report.eventsFromSong = schedule.FromSong();
    for (size_t i = 0; i < chain.size(); ++i) {
      report.eventsBack += chain[i]->MidiEventsReceived();
      report.automationCalls += chain[i]->AutomationCalls();
      report.automationChanges += automation[i].Sent();
    }
    if (!rendered) {
      report.interrupted = InterruptRequested();
      return Fail(error);
    }
    // The picture shows the editor as the last block left it; the audio goes in place only
    // when the picture could be written too.
    if (snapshot) {
      IScopedLock control(HostControlLock());
      if (!vst2 || !WriteEditorSnapshot(*vst2, options.snapshot, &error)) {
        return Fail(vst2 ? error : "--snapshot: only VST 2 plug-ins give an editor picture");
      }
    }
    if (!writer->Commit(&error)) {
      return Fail(error);
    }
    CountControllers();
    Warn(schedule);
    report.ok = true;
    return true;
  }

  void CountControllers() {
    for (const ControllerPoint& point : options.controllers) {
      bool counted = false;
      for (std::pair<int, int>& count : report.controllerCounts) {
        if (count.first == point.controller) {
          ++count.second;
          counted = true;
        }
      }
      if (!counted) {
        report.controllerCounts.push_back({point.controller, 1});
      }
    }
  }

  void Warn(const MidiSchedule& schedule) {
    const double peak = report.result.output.Peak();
    if (peak > 1.0 && IsIntegerEncoding(report.outputFormat)) {
      char text[512];
      std::snprintf(text, sizeof(text),
                    "%s peaks at %.4f (+%.2f dBFS), above full scale: its %s samples are "
                    "clipped; --encoding float keeps them",
                    report.output.c_str(), peak, Decibels(peak),
                    DescribeEncoding(report.outputFormat).c_str());
      report.warnings.push_back(text);
    }
    if (report.result.latencyLater >= 0) {
      report.warnings.push_back(report.pluginName + " changed its latency to " +
                                Plural(report.result.latencyLater, "frame") + " while rendering " +
                                report.output + "; " + Plural(report.latencyCompensated, "frame") +
                                " were compensated");
    }
    if (report.result.tailCut) {
      report.warnings.push_back(report.output + ": the tail was still above -90 dBFS after " +
                                Seconds(report.result.tailFrames, report.sampleRate) +
                                " and is cut there");
    }
    const size_t unsent = schedule.Size() - schedule.Sent();
    if (unsent > 0) {
      report.warnings.push_back(std::to_string(unsent) + " MIDI event(s) after the end of " +
                                report.output + " were not sent");
    }
  }

  const RenderOptions& options;
  FileReport& report;
  const MidiSong* song;
  std::unique_ptr<AudioReader> reader;
  PluginChain chain;
  std::vector<RenderStage> stages;
  std::vector<AutomationSchedule> automation;
  RenderSettings settings;
};

JsonObject LevelJson(const LevelStats& level) {
  JsonObject json;
  json.AddNumber("peak", level.Peak())
      .AddNumber("peakDbfs", Decibels(level.Peak()))
      .AddNumber("rms", level.Rms())
      .AddNumber("rmsDbfs", Decibels(level.Rms()));
  return json;
}

const char* TailName(TailMode mode) {
  switch (mode) {
  case TailMode::Seconds:
    return "seconds";
  case TailMode::Auto:
    return "auto";
  case TailMode::None:
    break;
  }
  return "none";
}

std::string MidiSummary(const FileReport& report, const RenderOptions& options) {
  std::string sent;
  for (const std::pair<int, int>& count : report.controllerCounts) {
    sent += (sent.empty() ? "" : ", ") + std::to_string(count.second) + " controller " +
            std::to_string(count.first) + " event(s)";
  }
  if (!options.midiFile.empty()) {
    sent += (sent.empty() ? "" : ", ") + std::to_string(report.eventsFromSong) + " event(s) from " +
            options.midiFile;
  }
  return sent + " sent, " + std::to_string(report.eventsBack) + " event(s) and " +
         std::to_string(report.automationCalls) + " automation call(s) came back";
}
} // namespace

namespace {
// .fxp and .fxb files are VST 2's own; other formats keep their state with --save-state.
Vst2Plugin* Vst2For(HostedPlugin& plugin, const char* option, std::string* error) {
  auto* vst2 = dynamic_cast<Vst2Plugin*>(&plugin);
  if (!vst2) {
    *error = std::string(option) + ": .fxp and .fxb files are VST 2's; " + plugin.Name() +
             " is a " + FormatName(plugin.Format()) +
             " plug-in (--save-state and --load-state keep its state)";
  }
  return vst2;
}

std::unique_ptr<HostedPlugin> PreparePlugin(const PluginOptions& options, std::string* error) {
  std::unique_ptr<HostedPlugin> plugin = OpenHostedPlugin(options.plugin, error);
  if (!plugin) {
    return nullptr;
  }
  IScopedLock control(HostControlLock());
  Vst2Plugin* vst2 = nullptr;
  if ((!options.loadFxb.empty() && (!(vst2 = Vst2For(*plugin, "--load-fxb", error)) ||
                                    !LoadBankFile(*vst2, options.loadFxb, error))) ||
      (!options.program.empty() && !ChooseProgram(*plugin, options.program, error)) ||
      (!options.loadFxp.empty() && (!(vst2 = Vst2For(*plugin, "--load-fxp", error)) ||
                                    !LoadProgramFile(*vst2, options.loadFxp, error))) ||
      (!options.loadState.empty() && !LoadStateFile(*plugin, options.loadState, error))) {
    return nullptr;
  }
  for (const ParameterSetting& setting : options.parameters) {
    if (!ApplyParameterSetting(*plugin, setting, error)) {
      return nullptr;
    }
  }
  if ((!options.saveFxb.empty() && !Vst2For(*plugin, "--save-fxb", error)) ||
      (!options.saveFxp.empty() && !Vst2For(*plugin, "--save-fxp", error))) {
    return nullptr;
  }
  return plugin;
}
} // namespace

bool PrepareChain(const RenderOptions& options, PluginChain* chain, std::string* error) {
  chain->clear();
  for (const PluginOptions& plugin : options.chain) {
    std::unique_ptr<HostedPlugin> prepared = PreparePlugin(plugin, error);
    if (!prepared) {
      chain->clear();
      return false;
    }
    chain->push_back(std::move(prepared));
  }
  return true;
}

FileReport RenderFile(const RenderOptions& options, const std::string& input,
                      const std::string& output, PluginChain chain, const MidiSong* song,
                      bool snapshot, const std::function<void(double)>& progress) {
  FileReport report;
  report.input = input;
  report.output = output;
  FileRenderer renderer(options, &report, song);
  renderer.Run(std::move(chain), snapshot, progress);
  return report;
}

void WriteFullReport(const RenderOptions& options, const FileReport& report, std::ostream& out) {
  const ChannelPlan& channels = report.channels;
  const int rate = report.sampleRate;
  char line[1024];
  std::snprintf(line, sizeof(line), "input:   %s (%s, %s, %d Hz, %s)", report.input.c_str(),
                DescribeFormat(report.inputFormat).c_str(),
                Plural(channels.fileChannels, "channel").c_str(), rate,
                Seconds(report.result.inputFrames, rate).c_str());
  out << line << "\n";
  if (report.chain.size() > 1) {
    out << "chain:   ";
    for (size_t i = 0; i < report.chain.size(); ++i) {
      out << (i > 0 ? " -> " : "") << report.chain[i];
    }
    out << "\n";
  } else {
    out << "plug-in: " << report.pluginName << " (" << report.pluginFormat << ", "
        << report.pluginPath << ")";
    // Plug-ins without programs, or that do not say which is selected, have none to name.
    if (report.program >= 0) {
      out << ", program " << report.program << " \"" << report.programName << "\"";
    }
    out << "\n";
  }
  out << "output:  " << report.output << " (" << DescribeFormat(report.outputFormat) << ", "
      << (options.doublePrecision ? "double" : "single") << " precision, blocks of "
      << options.blockFrames << ")\n";
  out << "channels: " << Plural(channels.fileChannels, "channel");
  if (channels.inputPins == 0) {
    out << " not fed (" << report.pluginName << " takes no audio input)";
  } else {
    out << (channels.mixDown ? " mixed down into " : " into ")
        << Pins(channels.fedChannels, "input") << " of " << channels.inputPins;
  }
  out << ", " << Pins(channels.outputChannels, "output") << " of " << channels.outputPins
      << " written\n";
  out << "told:    " << rate << " Hz, blocks of " << options.blockFrames << ", "
      << (options.doublePrecision ? "64" : "32") << "-bit precision";
  if (report.pluginFormat == FormatName(PluginFormat::Vst2) && report.chain.size() == 1) {
    out << " (effSetProcessPrecision, " << (report.precisionAccepted ? "accepted" : "not answered")
        << "), offline; effStartProcess before the first block, effStopProcess after the last";
  } else {
    out << ", offline, started before the first block and stopped after the last";
  }
  out << "\n";
  if (report.automationChanges > 0) {
    out << "automation: " << report.automationChanges << " parameter change(s) sent\n";
  }
  if (report.latencyReported > 0) {
    out << "latency: " << Plural(report.latencyReported, "frame")
        << (report.latencyCompensated > 0 ? " compensated"
                                          : " reported, not compensated "
                                            "(--no-latency-compensation)")
        << "\n";
  }
  if (options.tail != TailMode::None) {
    out << "tail:    " << Seconds(report.result.tailFrames, rate) << " after the input"
        << (options.tail == TailMode::Auto ? " (auto: until 0.1 s below -90 dBFS, at most 30 s)"
                                           : "")
        << ", " << Seconds(report.result.frames, rate) << " in all\n";
  }
  if (!options.controllers.empty() || !options.midiFile.empty()) {
    out << "midi:    " << MidiSummary(report, options) << "\n";
  }
  out << "input level:  peak " << FormatLevel(report.result.input.Peak()) << ", RMS "
      << FormatLevel(report.result.input.Rms()) << "\n";
  out << "output level: peak " << FormatLevel(report.result.output.Peak()) << ", RMS "
      << FormatLevel(report.result.output.Rms()) << "\n";
  if (!options.snapshot.empty()) {
    out << "snapshot: " << options.snapshot << "\n";
  }
}

std::string ReportLine(const FileReport& report) {
  const int rate = report.sampleRate;
  std::string line =
      report.input + " -> " + report.output + ": " + Seconds(report.result.inputFrames, rate);
  if (report.result.tailFrames > 0) {
    line += " + " + Seconds(report.result.tailFrames, rate) + " tail";
  }
  if (report.latencyReported > 0) {
    line += ", latency " + Plural(report.latencyReported, "frame") +
            (report.latencyCompensated > 0 ? " compensated" : " not compensated");
  }
  return line + ", peak " + FormatLevel(report.result.output.Peak()) + ", RMS " +
         FormatLevel(report.result.output.Rms());
}

std::string ReportJson(const RenderOptions& options, const FileReport& report) {
  JsonObject json;
  json.AddString("input", report.input).AddString("output", report.output).AddBool("ok", report.ok);
  if (!report.ok) {
    json.AddString("error", report.error);
    return json.Text();
  }
  const int rate = report.sampleRate;
  JsonObject plugin;
  plugin.AddString("name", report.pluginName)
      .AddString("format", report.pluginFormat)
      .AddString("path", report.pluginPath)
      .AddInteger("program", report.program)
      .AddString("programName", report.programName);
  JsonObject settings;
  settings.AddInteger("sampleRate", rate)
      .AddInteger("blockFrames", options.blockFrames)
      .AddString("precision", options.doublePrecision ? "double" : "single")
      .AddString("encoding", DescribeFormat(report.outputFormat))
      .AddString("tail", TailName(options.tail))
      .AddNumber("tailSeconds", options.tailSeconds)
      .AddBool("latencyCompensation", options.latencyCompensation)
      .AddBool("mixDown", options.mixDown)
      .AddNumber("tempo", options.tempo)
      .AddBool("playing", !options.transportStopped);
  JsonObject told;
  told.AddInteger("sampleRate", rate)
      .AddInteger("blockSize", options.blockFrames)
      .AddInteger("processPrecisionBits", options.doublePrecision ? 64 : 32)
      .AddBool("precisionAccepted", report.precisionAccepted)
      .AddString("processLevel", "offline")
      .AddBool("startAndStopProcess", true);
  JsonObject channels;
  channels.AddInteger("file", report.channels.fileChannels)
      .AddInteger("fed", report.channels.fedChannels)
      .AddInteger("pluginInputs", report.channels.inputPins)
      .AddInteger("pluginOutputs", report.channels.outputPins)
      .AddInteger("output", report.channels.outputChannels);
  JsonObject frames;
  frames.AddInteger("input", report.result.inputFrames)
      .AddInteger("output", report.result.frames)
      .AddInteger("tail", report.result.tailFrames);
  JsonObject latency;
  latency.AddInteger("reported", report.latencyReported)
      .AddInteger("compensated", report.latencyCompensated);
  JsonObject levels;
  levels.AddObject("input", LevelJson(report.result.input))
      .AddObject("output", LevelJson(report.result.output));
  JsonObject events;
  events.AddInteger("sent", static_cast<int64_t>(report.eventsSent))
      .AddInteger("fromMidiFile", static_cast<int64_t>(report.eventsFromSong))
      .AddInteger("cameBack", report.eventsBack)
      .AddInteger("automationCalls", report.automationCalls)
      .AddInteger("automationChanges", static_cast<int64_t>(report.automationChanges));
  json.AddObject("plugin", plugin)
      .AddStrings("chain", report.chain)
      .AddObject("settings", settings)
      .AddObject("told", told)
      .AddObject("channels", channels)
      .AddObject("frames", frames)
      .AddNumber("seconds", static_cast<double>(report.result.frames) / rate)
      .AddObject("latency", latency)
      .AddObject("levels", levels)
      .AddObject("events", events)
      .AddStrings("warnings", report.warnings);
  return json.Text();
}
