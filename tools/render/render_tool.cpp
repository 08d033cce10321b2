#include "tools/render/RenderTool.h"

#include "tools/render/AudioFile.h"
#include "tools/render/HostPlatform.h"
#include "tools/render/PluginHost.h"
#include "tools/render/PluginSettings.h"
#include "tools/render/PresetFiles.h"
#include "tools/render/RenderLoop.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Report.h"
#include "tools/render/SignalGenerator.h"
#include "tools/render/SnapshotFile.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {
// Files shorter than this render in a blink; a bar would only flicker.
constexpr double kProgressBarSeconds = 10.0;

class RenderRun {
public:
  RenderRun(const RenderOptions& options, std::ostream& out, std::ostream& err, bool terminal)
      : options(options), out(out), err(err), terminal(terminal) {}

  int Run() {
    if (!options.generate.empty()) {
      return Generate();
    }
    return OpenFiles() && LoadPlugin() && ApplySettings() && Render() ? kExitDone : kExitFailed;
  }

  void Report(const std::string& line) {
    if (!options.quiet) {
      out << line << "\n";
    }
  }

  bool Fail(const std::string& reason) {
    err << "ombrix-render: " << reason << "\n";
    return false;
  }

private:
  int Generate() {
    int format = 0;
    std::string error;
    const std::string encoding = options.encoding.empty() ? "pcm24" : options.encoding;
    if (!ChooseOutputFormat(options.output, 0, encoding, options.generateChannels,
                            options.generateRate, &format, &error)) {
      Fail(error);
      return kExitFailed;
    }
    std::unique_ptr<AudioWriter> writer = AudioWriter::Create(
        options.output, format, options.generateChannels, options.generateRate, &error);
    if (!writer ||
        !GenerateSignal(options.generate, options.generateSeconds, options.generateRate,
                        options.generateChannels, *writer, &error) ||
        !writer->Commit(&error)) {
      Fail(error);
      return kExitFailed;
    }
    char line[256];
    std::snprintf(line, sizeof(line), "generated %s: %s, %d channel%s, %d Hz, %.3f s",
                  options.generate.c_str(), options.output.c_str(), options.generateChannels,
                  options.generateChannels == 1 ? "" : "s", options.generateRate,
                  options.generateSeconds);
    Report(line);
    return kExitDone;
  }

  bool OpenFiles() {
    if (options.input.empty()) {
      return true;
    }
    std::string error;
    reader = AudioReader::Open(options.input, &error);
    if (!reader) {
      return Fail(error);
    }
    if (!ChooseOutputFormat(options.output, reader->Format(), options.encoding, reader->Channels(),
                            reader->SampleRate(), &outputFormat, &error)) {
      return Fail(error);
    }
    for (const ControllerPoint& point : options.controller69) {
      if (ControllerFrame(point, reader->SampleRate()) >= reader->Frames()) {
        char reason[256];
        std::snprintf(reason, sizeof(reason), "--cc69 time %g s is out of range (%s lasts %.3f s)",
                      point.seconds, options.input.c_str(),
                      static_cast<double>(reader->Frames()) / reader->SampleRate());
        return Fail(reason);
      }
    }
    return true;
  }

  bool LoadPlugin() {
    const std::string path = options.plugin.empty() ? DefaultPluginPath() : options.plugin;
    std::string error;
    host = PluginHost::Load(path, &error);
    if (!host) {
      return Fail(error);
    }
    const AEffect& effect = host->Effect();
    if (options.doublePrecision &&
        (!host->HasFlag(effFlagsCanDoubleReplacing) || !effect.processDoubleReplacing)) {
      return Fail(host->EffectName() + " does not process double precision; leave out --double");
    }
    if (reader && (effect.numOutputs < 1 || effect.numInputs < reader->Channels())) {
      return Fail("unsupported format: " + host->EffectName() + " takes " +
                  std::to_string(effect.numInputs) + " input(s) and gives " +
                  std::to_string(effect.numOutputs) + " output(s); " + options.input + " has " +
                  std::to_string(reader->Channels()) + " channel(s)");
    }
    if (!options.snapshot.empty() && !CanSnapshotEditor(*host, &error)) {
      return Fail(error);
    }
    return true;
  }

  bool ApplySettings() {
    std::string error;
    if (!options.loadFxb.empty() && !LoadBankFile(*host, options.loadFxb, &error)) {
      return Fail(error);
    }
    if (!options.program.empty() && !ChooseProgram(*host, options.program, &error)) {
      return Fail(error);
    }
    if (!options.loadFxp.empty() && !LoadProgramFile(*host, options.loadFxp, &error)) {
      return Fail(error);
    }
    for (const ParameterSetting& setting : options.parameters) {
      if (!ApplyParameterSetting(*host, setting, &error)) {
        return Fail(error);
      }
    }
    if (options.list) {
      ListPlugin(*host, out);
    }
    if (!options.saveFxb.empty()) {
      if (!SaveBankFile(*host, options.saveFxb, &error)) {
        return Fail(error);
      }
      Report("bank saved: " + options.saveFxb);
    }
    if (!options.saveFxp.empty()) {
      if (!SaveProgramFile(*host, options.saveFxp, &error)) {
        return Fail(error);
      }
      Report("program saved: " + options.saveFxp);
    }
    return true;
  }

  bool Render() {
    if (!reader) {
      return Snapshot();
    }
    std::string error;
    std::unique_ptr<AudioWriter> writer = AudioWriter::Create(
        options.output, outputFormat, reader->Channels(), reader->SampleRate(), &error);
    if (!writer) {
      return Fail(error);
    }
    const int program = host->CurrentProgram();
    const std::string programName = host->CurrentProgramName();
    RenderSettings settings;
    settings.blockFrames = options.blockFrames;
    settings.doublePrecision = options.doublePrecision;
    settings.tempo = options.tempo;
    settings.playing = !options.transportStopped;
    settings.controller69 = options.controller69;

    const double seconds = static_cast<double>(reader->Frames()) / reader->SampleRate();
    ProgressBar bar(err, terminal && !options.quiet && seconds >= kProgressBarSeconds);
    RenderResult result;
    host->Start(reader->SampleRate(), options.blockFrames);
    const bool rendered = RenderAudio(
        *host, *reader, *writer, settings, [&](double fraction) { bar.Update(fraction); }, &result,
        &error);
    host->Stop();
    bar.Finish();
    if (!rendered) {
      return Fail(error);
    }
    // The picture shows the editor as the last block left it; the audio goes in place only
    // when the picture could be written too.
    if (!Snapshot()) {
      return false;
    }
    if (!writer->Commit(&error)) {
      return Fail(error);
    }

    char line[512];
    std::snprintf(line, sizeof(line), "input:   %s (%s, %d channel%s, %d Hz, %.3f s)",
                  options.input.c_str(), DescribeFormat(reader->Format()).c_str(),
                  reader->Channels(), reader->Channels() == 1 ? "" : "s", reader->SampleRate(),
                  seconds);
    Report(line);
    Report("plug-in: " + host->EffectName() + " (" + host->Path() + "), program " +
           std::to_string(program) + " \"" + programName + "\"");
    Report("output:  " + options.output + " (" + DescribeFormat(outputFormat) + ", " +
           (options.doublePrecision ? "double" : "single") + " precision, blocks of " +
           std::to_string(options.blockFrames) + ")");
    if (!options.controller69.empty()) {
      Report("midi:    " + std::to_string(options.controller69.size()) +
             " controller 69 event(s) sent, " + std::to_string(host->MidiEventsReceived()) +
             " event(s) and " + std::to_string(host->AutomationCalls()) +
             " automation call(s) came back");
    }
    Report("input level:  peak " + FormatLevel(result.input.Peak()) + ", RMS " +
           FormatLevel(result.input.Rms()));
    Report("output level: peak " + FormatLevel(result.output.Peak()) + ", RMS " +
           FormatLevel(result.output.Rms()));
    if (!options.snapshot.empty()) {
      Report("snapshot: " + options.snapshot);
    }
    return true;
  }

  bool Snapshot() {
    std::string error;
    if (options.snapshot.empty()) {
      return true;
    }
    if (!WriteEditorSnapshot(*host, options.snapshot, &error)) {
      return Fail(error);
    }
    if (!reader) {
      Report("snapshot: " + options.snapshot);
    }
    return true;
  }

  const RenderOptions& options;
  std::ostream& out;
  std::ostream& err;
  bool terminal;
  std::unique_ptr<AudioReader> reader;
  int outputFormat = 0;
  std::unique_ptr<PluginHost> host;
};

bool FileExists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file) {
    std::fclose(file);
  }
  return file != nullptr;
}
} // namespace

std::string DefaultPluginPath() {
  const std::string program = ExecutablePath();
  const size_t slash = program.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "." : program.substr(0, slash);
  const char separator = slash == std::string::npos ? '/' : program[slash];
  const std::string beside = folder + separator + PluginFileName();
  const std::string buildTree = folder + separator + ".." + separator + ".." + separator +
                                "effect" + separator + PluginFileName();
  std::vector<std::string> candidates{beside, buildTree};
  for (const std::string& installed : InstalledPluginPaths(folder)) {
    candidates.push_back(installed);
  }
  for (const std::string& candidate : candidates) {
    if (FileExists(candidate)) {
      return candidate;
    }
  }
  return buildTree;
}

int RunRenderTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  bool errIsTerminal) {
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(arguments, &options, &error)) {
    err << "ombrix-render: " << error << "\n";
    return kExitUsage;
  }
  if (options.help) {
    out << RenderUsage();
    return kExitDone;
  }
  RenderRun run(options, out, err, errIsTerminal);
  return run.Run();
}
