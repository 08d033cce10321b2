#include "tools/render/RenderOptions.h"

#include "tools/render/TextNumbers.h"

#include <cmath>

namespace {
// Options that take a value, in the order --help lists them.
enum class ValueOption {
  Plugin,
  Program,
  Param,
  ParamNorm,
  Cc,
  Cc69,
  Channel,
  Midi,
  Tempo,
  Tail,
  Automation,
  AutomationResolution,
  HangSeconds,
  LoadState,
  SaveState,
  LoadFxp,
  SaveFxp,
  LoadFxb,
  SaveFxb,
  Snapshot,
  Block,
  Encoding,
  OutChannels,
  OutputDir,
  Jobs,
  Report,
  Generate,
  Seconds,
  Rate,
  Channels,
};

struct ValueOptionName {
  const char* name;
  ValueOption option;
};

constexpr ValueOptionName kValueOptions[] = {
    {"--plugin", ValueOption::Plugin},
    {"--program", ValueOption::Program},
    {"--param", ValueOption::Param},
    {"--param-norm", ValueOption::ParamNorm},
    {"--cc", ValueOption::Cc},
    {"--cc69", ValueOption::Cc69},
    {"--channel", ValueOption::Channel},
    {"--midi", ValueOption::Midi},
    {"--tempo", ValueOption::Tempo},
    {"--tail", ValueOption::Tail},
    {"--automation", ValueOption::Automation},
    {"--automation-resolution", ValueOption::AutomationResolution},
    {"--hang-seconds", ValueOption::HangSeconds},
    {"--load-state", ValueOption::LoadState},
    {"--save-state", ValueOption::SaveState},
    {"--load-fxp", ValueOption::LoadFxp},
    {"--save-fxp", ValueOption::SaveFxp},
    {"--load-fxb", ValueOption::LoadFxb},
    {"--save-fxb", ValueOption::SaveFxb},
    {"--snapshot", ValueOption::Snapshot},
    {"--block", ValueOption::Block},
    {"--encoding", ValueOption::Encoding},
    {"--out-channels", ValueOption::OutChannels},
    {"--output-dir", ValueOption::OutputDir},
    {"-O", ValueOption::OutputDir},
    {"--jobs", ValueOption::Jobs},
    {"--report", ValueOption::Report},
    {"--generate", ValueOption::Generate},
    {"--seconds", ValueOption::Seconds},
    {"--rate", ValueOption::Rate},
    {"--channels", ValueOption::Channels}};

// The longest fixed tail, as long as the longest generated signal.
constexpr double kMostTailSeconds = 3600.0;
constexpr int kMostMidiChannel = 16;
constexpr int kMostMidiValue = 127;
constexpr int kMostChannels = 64;
constexpr int kMostJobs = 256;
constexpr int kMostBlockFrames = 65536;

bool SplitAssignment(const std::string& text, const std::string& option, const char* expected,
                     std::string* left, std::string* right, std::string* error) {
  const size_t equals = text.rfind('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    *error = option + " expects " + expected + ", got \"" + text + "\"";
    return false;
  }
  *left = text.substr(0, equals);
  *right = text.substr(equals + 1);
  return true;
}

bool ReadRangedInt(const std::string& text, const std::string& option, long long low,
                   long long high, int* value, std::string* error) {
  long long number = 0;
  if (!ParseWholeInteger(text, &number)) {
    *error = option + " expects a whole number, got \"" + text + "\"";
    return false;
  }
  if (number < low || number > high) {
    *error = option + " value " + text + " is out of range (" + std::to_string(low) + " to " +
             std::to_string(high) + ")";
    return false;
  }
  *value = static_cast<int>(number);
  return true;
}

bool ReadRangedNumber(const std::string& text, const std::string& option, double low, double high,
                      double* value, std::string* error) {
  double number = 0.0;
  if (!ParseWholeNumber(text, &number)) {
    *error = option + " expects a number, got \"" + text + "\"";
    return false;
  }
  if (!(number > low && number <= high)) {
    *error = option + " value " + text + " is out of range (above " + FormatPlain(low) +
             ", at most " + FormatPlain(high) + ")";
    return false;
  }
  *value = number;
  return true;
}

// SECONDS=VALUE for --cc69, CONTROLLER@SECONDS=VALUE for --cc.
bool ReadControllerPoint(const std::string& text, const std::string& option, ControllerPoint* point,
                         std::string* error) {
  const bool named = option == "--cc";
  std::string when;
  std::string value;
  if (!SplitAssignment(text, option, named ? "CONTROLLER@SECONDS=VALUE" : "SECONDS=VALUE", &when,
                       &value, error)) {
    return false;
  }
  if (named) {
    const size_t at = when.find('@');
    if (at == std::string::npos) {
      *error = "--cc expects CONTROLLER@SECONDS=VALUE, got \"" + text + "\"";
      return false;
    }
    if (!ReadRangedInt(when.substr(0, at), "--cc controller", 0, kMostMidiValue, &point->controller,
                       error)) {
      return false;
    }
    when = when.substr(at + 1);
  }
  if (!ParseWholeNumber(when, &point->seconds) || !std::isfinite(point->seconds)) {
    *error = option + " expects a time in seconds, got \"" + when + "\"";
    return false;
  }
  if (point->seconds < 0.0) {
    *error = option + " time " + when + " is out of range (0 or later)";
    return false;
  }
  return ReadRangedInt(value, option, 0, kMostMidiValue, &point->value, error);
}

bool ReadTail(const std::string& text, RenderOptions* options, std::string* error) {
  if (text == "auto") {
    options->tail = TailMode::Auto;
    return true;
  }
  double seconds = 0.0;
  if (!ParseWholeNumber(text, &seconds) || !std::isfinite(seconds)) {
    *error = "--tail expects SECONDS or auto, got \"" + text + "\"";
    return false;
  }
  if (seconds < 0.0 || seconds > kMostTailSeconds) {
    *error = "--tail value " + text + " is out of range (0 to 3600 seconds)";
    return false;
  }
  options->tail = seconds > 0.0 ? TailMode::Seconds : TailMode::None;
  options->tailSeconds = seconds;
  return true;
}

bool ApplyValueOption(ValueOption option, const std::string& name, const std::string& value,
                      RenderOptions* options, bool* pluginGiven, std::string* error) {
  PluginOptions& plugin = options->chain.back();
  switch (option) {
  case ValueOption::Plugin:
    // The first --plugin names the plug-in the options before it set up; each later one starts
    // the next plug-in of the chain.
    if (*pluginGiven) {
      options->chain.emplace_back();
    }
    options->chain.back().plugin = value;
    *pluginGiven = true;
    return true;
  case ValueOption::Program:
    plugin.program = value;
    return true;
  case ValueOption::Automation:
    plugin.automation = value;
    return true;
  case ValueOption::AutomationResolution:
    return ReadRangedInt(value, name, 1, kMostBlockFrames, &options->automationResolution, error);
  case ValueOption::HangSeconds:
    return ReadRangedNumber(value, name, 0.0, kMostTailSeconds, &options->hangSeconds, error);
  case ValueOption::LoadState:
    plugin.loadState = value;
    return true;
  case ValueOption::SaveState:
    plugin.saveState = value;
    return true;
  case ValueOption::Param:
  case ValueOption::ParamNorm: {
    ParameterSetting setting;
    setting.normalized = option == ValueOption::ParamNorm;
    if (!SplitAssignment(value, name, "NAME|INDEX=VALUE", &setting.parameter, &setting.value,
                         error)) {
      return false;
    }
    plugin.parameters.push_back(setting);
    return true;
  }
  case ValueOption::Cc:
  case ValueOption::Cc69: {
    ControllerPoint point;
    if (!ReadControllerPoint(value, name, &point, error)) {
      return false;
    }
    options->controllers.push_back(point);
    return true;
  }
  case ValueOption::Channel:
    return ReadRangedInt(value, name, 1, kMostMidiChannel, &options->channel, error);
  case ValueOption::Midi:
    options->midiFile = value;
    return true;
  case ValueOption::Tempo:
    return ReadRangedNumber(value, name, 0.0, 999.0, &options->tempo, error);
  case ValueOption::Tail:
    return ReadTail(value, options, error);
  case ValueOption::LoadFxp:
    plugin.loadFxp = value;
    return true;
  case ValueOption::SaveFxp:
    plugin.saveFxp = value;
    return true;
  case ValueOption::LoadFxb:
    plugin.loadFxb = value;
    return true;
  case ValueOption::SaveFxb:
    plugin.saveFxb = value;
    return true;
  case ValueOption::Snapshot:
    options->snapshot = value;
    return true;
  case ValueOption::Block:
    return ReadRangedInt(value, name, 1, kMostBlockFrames, &options->blockFrames, error);
  case ValueOption::Encoding:
    options->encoding = value;
    return true;
  case ValueOption::OutChannels:
    return ReadRangedInt(value, name, 1, kMostChannels, &options->outChannels, error);
  case ValueOption::OutputDir:
    options->outputDir = value;
    return true;
  case ValueOption::Jobs:
    return ReadRangedInt(value, name, 1, kMostJobs, &options->jobs, error);
  case ValueOption::Report:
    if (value != "text" && value != "json") {
      *error = "--report expects text or json, got \"" + value + "\"";
      return false;
    }
    options->report = value == "json" ? ReportFormat::Json : ReportFormat::Text;
    return true;
  case ValueOption::Generate:
    if (value != "sweep" && value != "chord") {
      *error = "--generate expects sweep or chord, got \"" + value + "\"";
      return false;
    }
    options->generate = value;
    return true;
  case ValueOption::Seconds:
    return ReadRangedNumber(value, name, 0.0, 3600.0, &options->generateSeconds, error);
  case ValueOption::Rate:
    return ReadRangedInt(value, name, 8000, 384000, &options->generateRate, error);
  case ValueOption::Channels:
    return ReadRangedInt(value, name, 1, 2, &options->generateChannels, error);
  }
  return false;
}

bool ApplyFlag(const std::string& name, RenderOptions* options) {
  if (name == "--double") {
    options->doublePrecision = true;
  } else if (name == "--stopped") {
    options->transportStopped = true;
  } else if (name == "--no-latency-compensation") {
    options->latencyCompensation = false;
  } else if (name == "--mix-down") {
    options->mixDown = true;
  } else if (name == "--list") {
    options->list = true;
  } else if (name == "--quiet" || name == "-q") {
    options->quiet = true;
  } else if (name == "--help" || name == "-h") {
    options->help = true;
  } else if (name == "--folder-entry") {
    // How a folder render starts each file's own process: report in the folder's one line.
    options->folderEntry = true;
  } else {
    return false;
  }
  return true;
}

bool CheckPositionals(const std::vector<std::string>& positionals, RenderOptions* options,
                      std::string* error) {
  if (!options->generate.empty()) {
    if (positionals.size() != 1) {
      *error = "--generate expects exactly one file name, the OUTPUT";
      return false;
    }
    options->output = positionals[0];
    return true;
  }
  if (!options->outputDir.empty()) {
    if (positionals.empty()) {
      *error = "--output-dir needs at least one INPUT";
      return false;
    }
    if (!options->snapshot.empty()) {
      *error = "--snapshot shows one render; leave it out with --output-dir";
      return false;
    }
    options->inputs = positionals;
    return true;
  }
  if (positionals.size() > 2) {
    *error = "unexpected argument \"" + positionals[2] +
             "\" (only INPUT and OUTPUT; several inputs need --output-dir)";
    return false;
  }
  if (positionals.size() == 1) {
    *error = "missing OUTPUT after INPUT " + positionals[0];
    return false;
  }
  if (positionals.empty()) {
    bool saves = false;
    for (const PluginOptions& plugin : options->chain) {
      saves =
          saves || !plugin.saveFxp.empty() || !plugin.saveFxb.empty() || !plugin.saveState.empty();
    }
    if (!options->list && !saves && options->snapshot.empty()) {
      *error = "nothing to do: give INPUT and OUTPUT, --list, --save-state, --save-fxp, "
               "--save-fxb or --snapshot (--help shows all options)";
      return false;
    }
    return true;
  }
  options->inputs = {positionals[0]};
  options->output = positionals[1];
  return true;
}
} // namespace

bool ParseRenderOptions(const std::vector<std::string>& arguments, RenderOptions* options,
                        std::string* error) {
  std::vector<std::string> positionals;
  bool optionsEnded = false;
  bool pluginGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      positionals.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (ApplyFlag(argument, options)) {
      // --list and the saves happen once, in the folder's own process.
      if (argument != "--list") {
        options->childArguments.push_back(argument);
      }
      continue;
    }
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const ValueOptionName* match = nullptr;
    for (const ValueOptionName& candidate : kValueOptions) {
      if (name == candidate.name) {
        match = &candidate;
      }
    }
    if (!match) {
      *error = "unknown option " + name + " (--help shows all options)";
      return false;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      *error = name + " needs a value";
      return false;
    }
    if (!ApplyValueOption(match->option, name, value, options, &pluginGiven, error)) {
      return false;
    }
    // A file's own process renders one file: the folder, the number of jobs and the saves stay
    // here.
    const ValueOption option = match->option;
    if (option != ValueOption::OutputDir && option != ValueOption::Jobs &&
        option != ValueOption::SaveState && option != ValueOption::SaveFxp &&
        option != ValueOption::SaveFxb) {
      options->childArguments.push_back(name);
      options->childArguments.push_back(value);
    }
  }
  if (options->help) {
    return true;
  }
  return CheckPositionals(positionals, options, error);
}
