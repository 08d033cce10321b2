#include "tools/render/RenderTool.h"

#include "host/HostedPlugin.h"
#include "host/vst2/Vst2Plugin.h"
#include "platform/Lock.h"
#include "tools/render/AudioFile.h"
#include "tools/render/FileRender.h"
#include "tools/render/HostPlatform.h"
#include "tools/render/Interrupt.h"
#include "tools/render/MidiFile.h"
#include "tools/render/PluginSettings.h"
#include "tools/render/PresetFiles.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Report.h"
#include "tools/render/SignalGenerator.h"
#include "tools/render/SnapshotFile.h"
#include "tools/render/StateFile.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {
// Files shorter than this render in a blink; a bar would only flicker.
constexpr double kProgressBarSeconds = 10.0;

class ToolRun {
public:
  ToolRun(RenderOptions& options, std::ostream& out, std::ostream& err, bool terminal)
      : options(options), out(out), err(err), terminal(terminal) {}

  int Run() {
    if (!options.generate.empty()) {
      return Generate();
    }
    for (PluginOptions& plugin : options.chain) {
      if (plugin.plugin.empty()) {
        plugin.plugin = DefaultPluginPath();
      }
    }
    InterruptGuard interruptGuard;
    std::string error;
    if (!options.midiFile.empty() && !LoadMidiFile(options.midiFile, &song, &error)) {
      return Fail(error);
    }
    if (!options.outputDir.empty()) {
      return RunFolder();
    }
    return RunSingle();
  }

private:
  void Report(const std::string& line) {
    if (!options.quiet) {
      out << line << "\n";
    }
  }

  int Fail(const std::string& reason, int exitCode = kExitFailed) {
    err << "ombrix-render: " << reason << "\n";
    return exitCode;
  }

  int Generate() {
    int format = 0;
    std::string error;
    const std::string encoding = options.encoding.empty() ? "pcm24" : options.encoding;
    if (!ChooseOutputFormat(options.output, 0, encoding, options.generateChannels,
                            options.generateRate, &format, &error)) {
      return Fail(error);
    }
    std::unique_ptr<AudioWriter> writer = AudioWriter::Create(
        options.output, format, options.generateChannels, options.generateRate, &error);
    if (!writer ||
        !GenerateSignal(options.generate, options.generateSeconds, options.generateRate,
                        options.generateChannels, *writer, &error) ||
        !writer->Commit(&error)) {
      return Fail(error);
    }
    char line[256];
    std::snprintf(line, sizeof(line), "generated %s: %s, %d channel%s, %d Hz, %.3f s",
                  options.generate.c_str(), options.output.c_str(), options.generateChannels,
                  options.generateChannels == 1 ? "" : "s", options.generateRate,
                  options.generateSeconds);
    Report(line);
    return kExitDone;
  }

  // --list and the saves, on the instances the settings were applied to.
  bool ListAndSave(PluginChain& chain, std::string* error) {
    IScopedLock control(HostControlLock());
    for (size_t i = 0; i < chain.size(); ++i) {
      HostedPlugin& plugin = *chain[i];
      const PluginOptions& settings = options.chain[i];
      if (options.list) {
        if (chain.size() > 1) {
          out << "plug-in " << i + 1 << " of " << chain.size() << ": ";
        }
        ListPlugin(plugin, out);
      }
      auto* vst2 = dynamic_cast<Vst2Plugin*>(&plugin);
      if (!settings.saveFxb.empty()) {
        if (!SaveBankFile(*vst2, settings.saveFxb, error)) {
          return false;
        }
        Report("bank saved: " + settings.saveFxb);
      }
      if (!settings.saveFxp.empty()) {
        if (!SaveProgramFile(*vst2, settings.saveFxp, error)) {
          return false;
        }
        Report("program saved: " + settings.saveFxp);
      }
      if (!settings.saveState.empty()) {
        if (!SaveStateFile(plugin, settings.saveState, error)) {
          return false;
        }
        Report("state saved: " + settings.saveState);
      }
    }
    return true;
  }

  void Warn(const FileReport& report) {
    for (const std::string& warning : report.warnings) {
      err << "ombrix-render: warning: " << warning << "\n";
    }
  }

  int RunSingle() {
    std::string error;
    PluginChain chain;
    if (!PrepareChain(options, &chain, &error) || !ListAndSave(chain, &error)) {
      return Fail(error);
    }
    auto* vst2 = dynamic_cast<Vst2Plugin*>(chain.front().get());
    if (!options.snapshot.empty()) {
      if (!vst2) {
        return Fail("--snapshot: only VST 2 plug-ins give an editor picture");
      }
      if (!CanSnapshotEditor(*vst2, &error)) {
        return Fail(error);
      }
    }
    if (options.inputs.empty()) {
      if (!options.snapshot.empty()) {
        if (!WriteEditorSnapshot(*vst2, options.snapshot, &error)) {
          return Fail(error);
        }
        Report("snapshot: " + options.snapshot);
      }
      return kExitDone;
    }
    const std::string& input = options.inputs[0];
    ProgressBar bar(err, terminal && !options.quiet && SecondsOf(input) >= kProgressBarSeconds);
    const FileReport report =
        RenderFile(options, input, options.output, std::move(chain), &song,
                   !options.snapshot.empty(), [&](double fraction) { bar.Update(fraction); });
    bar.Finish();
    if (options.folderEntry) {
      Print(report);
      return report.interrupted ? kExitInterrupted : report.ok ? kExitDone : kExitFailed;
    }
    if (options.report == ReportFormat::Json && !options.quiet) {
      out << ReportJson(options, report) << "\n";
    }
    if (report.interrupted) {
      return Fail("interrupted; " + options.output + " was not written", kExitInterrupted);
    }
    if (!report.ok) {
      return Fail(report.error);
    }
    Warn(report);
    if (options.report == ReportFormat::Text && !options.quiet) {
      WriteFullReport(options, report, out);
    }
    return kExitDone;
  }

  static double SecondsOf(const std::string& input) {
    std::string error;
    std::unique_ptr<AudioReader> reader = AudioReader::Open(input, &error);
    return reader ? static_cast<double>(reader->Frames()) / reader->SampleRate() : 0.0;
  }

  // Each input's output path in the folder; false (with the exit code) when two would collide
  // or one would overwrite its own input.
  bool PlanOutputs(std::vector<std::string>* outputs, int* exitCode, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code code;
    fs::create_directories(options.outputDir, code);
    if (code || !fs::is_directory(options.outputDir, code)) {
      *error = "cannot write to folder " + options.outputDir + ": " +
               (code ? code.message() : "it is not a folder");
      *exitCode = kExitFailed;
      return false;
    }
    const std::string probe = (fs::path(options.outputDir) / ".ombrix-render-probe").string();
    if (!std::ofstream(probe)) {
      *error = "cannot write to folder " + options.outputDir;
      *exitCode = kExitFailed;
      return false;
    }
    fs::remove(probe, code);
    for (const std::string& input : options.inputs) {
      // Joined as typed: a slash serves on every platform.
      const char last = options.outputDir.back();
      const std::string output = options.outputDir + (last == '/' || last == '\\' ? "" : "/") +
                                 fs::path(input).filename().string();
      for (size_t i = 0; i < outputs->size(); ++i) {
        if ((*outputs)[i] == output) {
          *error = options.inputs[i] + " and " + input + " would both be written to " + output;
          *exitCode = kExitUsage;
          return false;
        }
      }
      if (fs::exists(output, code) && fs::equivalent(input, output, code)) {
        *error = "rendering " + input + " into " + options.outputDir +
                 " would overwrite it; choose another --output-dir";
        *exitCode = kExitUsage;
        return false;
      }
      outputs->push_back(output);
    }
    return true;
  }

  void Print(const FileReport& report) {
    if (options.report == ReportFormat::Json) {
      if (!options.quiet) {
        out << ReportJson(options, report) << "\n";
      }
    } else if (report.ok && !options.quiet) {
      out << ReportLine(report) << "\n";
    }
    // Files stopped by Ctrl-C are summed up once at the end.
    if (!report.ok && !report.interrupted) {
      err << "ombrix-render: " << report.input << ": " << report.error << "\n";
    }
    Warn(report);
    out.flush();
  }

  // What a file's own process printed, and how it ended.
  struct FileRun {
    int exitCode = -1;
    std::string output;
    std::string errorOutput;
  };

  // The file rendered by a process of its own, so a plug-in that crashes or hangs takes only
  // that file with it; the process is this program on the same options for one file.
  FileRun RunIsolated(const std::string& input, const std::string& output) {
    std::vector<std::string> arguments = options.childArguments;
    arguments.insert(arguments.end(), {"--folder-entry", "--", input, output});
    FileRun run;
    run.exitCode = RunProgram(options.isolatedProgram, arguments, &run.output, &run.errorOutput);
    // A process that died while writing may leave its unfinished file open to the last: it goes
    // now that the process is gone.
    if (run.exitCode != kExitDone) {
      std::remove(TemporaryPathFor(output).c_str());
    }
    if (run.exitCode < 0) {
      run.errorOutput = "ombrix-render: " + input + ": could not start a process to render it\n";
    } else if (run.exitCode != kExitDone && run.exitCode != kExitFailed &&
               run.exitCode != kExitUsage && run.exitCode != kExitInterrupted) {
      run.errorOutput += "ombrix-render: " + input + ": its process ended abnormally (status " +
                         std::to_string(run.exitCode) +
                         ": a plug-in crashed while loading?); nothing was written\n";
    }
    return run;
  }

  int RunFolder() {
    std::vector<std::string> outputs;
    std::string error;
    int exitCode = kExitFailed;
    if (!PlanOutputs(&outputs, &exitCode, &error)) {
      return Fail(error, exitCode);
    }
    // One chain checks the settings once and does --list and the saves; every file then gets
    // fresh instances of its own.
    {
      PluginChain chain;
      if (!PrepareChain(options, &chain, &error) || !ListAndSave(chain, &error)) {
        return Fail(error);
      }
    }
    const size_t count = options.inputs.size();
    std::vector<FileReport> reports(count);
    std::vector<FileRun> runs(count);
    std::vector<bool> finished(count, false);
    size_t printed = 0;
    IRecursiveLock printLock;
    std::atomic<size_t> next{0};
    const int jobs = static_cast<int>(std::min<size_t>(
        count, static_cast<size_t>(options.jobs > 0 ? options.jobs : ProcessorCount())));
    RunConcurrently(jobs, [&] {
      while (!InterruptRequested()) {
        const size_t index = next.fetch_add(1);
        if (index >= count) {
          return;
        }
        if (!options.isolatedProgram.empty()) {
          FileRun run = RunIsolated(options.inputs[index], outputs[index]);
          IScopedLock guard(printLock);
          runs[index] = std::move(run);
          finished[index] = true;
          while (printed < count && finished[printed]) {
            const FileRun& done = runs[printed++];
            out << done.output;
            err << done.errorOutput;
            out.flush();
          }
          continue;
        }
        FileReport report = RenderFile(options, options.inputs[index], outputs[index],
                                       PluginChain(), &song, false, [](double) {});
        IScopedLock guard(printLock);
        reports[index] = std::move(report);
        finished[index] = true;
        // Reports come out in the order of the inputs, each as soon as those before it are done.
        while (printed < count && finished[printed]) {
          Print(reports[printed++]);
        }
      }
    });
    size_t rendered = 0;
    for (size_t i = 0; i < count; ++i) {
      const bool ok = options.isolatedProgram.empty() ? reports[i].ok : runs[i].exitCode == 0;
      rendered += finished[i] && ok ? 1 : 0;
    }
    const size_t failed = printed - rendered;
    if (InterruptRequested()) {
      return Fail("interrupted: " + std::to_string(rendered) + " of " + std::to_string(count) +
                      " files rendered; the unfinished ones were not written",
                  kExitInterrupted);
    }
    if (options.report == ReportFormat::Text) {
      Report("total: " + std::to_string(rendered) + " of " + std::to_string(count) +
             " files rendered" + (failed ? ", " + std::to_string(failed) + " failed" : ""));
    }
    return failed ? kExitFailed : kExitDone;
  }

  RenderOptions& options;
  std::ostream& out;
  std::ostream& err;
  bool terminal;
  MidiSong song;
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
                  bool errIsTerminal, const std::string& self) {
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
  // Single renders are watched in this process; a folder's files each get a process of their own.
  options.watched = !self.empty() && options.outputDir.empty();
  options.isolatedProgram = options.outputDir.empty() || !CanRunPrograms() ? std::string() : self;
  ToolRun run(options, out, err, errIsTerminal);
  return run.Run();
}
