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
  Cc69,
  Tempo,
  LoadFxp,
  SaveFxp,
  LoadFxb,
  SaveFxb,
  Snapshot,
  Block,
  Encoding,
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
    {"--plugin", ValueOption::Plugin},     {"--program", ValueOption::Program},
    {"--param", ValueOption::Param},       {"--param-norm", ValueOption::ParamNorm},
    {"--cc69", ValueOption::Cc69},         {"--tempo", ValueOption::Tempo},
    {"--load-fxp", ValueOption::LoadFxp},  {"--save-fxp", ValueOption::SaveFxp},
    {"--load-fxb", ValueOption::LoadFxb},  {"--save-fxb", ValueOption::SaveFxb},
    {"--snapshot", ValueOption::Snapshot}, {"--block", ValueOption::Block},
    {"--encoding", ValueOption::Encoding}, {"--generate", ValueOption::Generate},
    {"--seconds", ValueOption::Seconds},   {"--rate", ValueOption::Rate},
    {"--channels", ValueOption::Channels}};

bool SplitAssignment(const std::string& text, const std::string& option, std::string* left,
                     std::string* right, std::string* error) {
  const size_t equals = text.rfind('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    *error = option + " expects " + (option == "--cc69" ? "SECONDS=VALUE" : "NAME|INDEX=VALUE") +
             ", got \"" + text + "\"";
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

bool ReadControllerPoint(const std::string& text, ControllerPoint* point, std::string* error) {
  std::string seconds;
  std::string value;
  if (!SplitAssignment(text, "--cc69", &seconds, &value, error)) {
    return false;
  }
  if (!ParseWholeNumber(seconds, &point->seconds) || !std::isfinite(point->seconds)) {
    *error = "--cc69 expects a time in seconds, got \"" + seconds + "\"";
    return false;
  }
  if (point->seconds < 0.0) {
    *error = "--cc69 time " + seconds + " is out of range (0 or later)";
    return false;
  }
  return ReadRangedInt(value, "--cc69", 0, 127, &point->value, error);
}

bool ApplyValueOption(ValueOption option, const std::string& name, const std::string& value,
                      RenderOptions* options, std::string* error) {
  switch (option) {
  case ValueOption::Plugin:
    options->plugin = value;
    return true;
  case ValueOption::Program:
    options->program = value;
    return true;
  case ValueOption::Param:
  case ValueOption::ParamNorm: {
    ParameterSetting setting;
    setting.normalized = option == ValueOption::ParamNorm;
    if (!SplitAssignment(value, name, &setting.parameter, &setting.value, error)) {
      return false;
    }
    options->parameters.push_back(setting);
    return true;
  }
  case ValueOption::Cc69: {
    ControllerPoint point;
    if (!ReadControllerPoint(value, &point, error)) {
      return false;
    }
    options->controller69.push_back(point);
    return true;
  }
  case ValueOption::Tempo:
    return ReadRangedNumber(value, name, 0.0, 999.0, &options->tempo, error);
  case ValueOption::LoadFxp:
    options->loadFxp = value;
    return true;
  case ValueOption::SaveFxp:
    options->saveFxp = value;
    return true;
  case ValueOption::LoadFxb:
    options->loadFxb = value;
    return true;
  case ValueOption::SaveFxb:
    options->saveFxb = value;
    return true;
  case ValueOption::Snapshot:
    options->snapshot = value;
    return true;
  case ValueOption::Block:
    return ReadRangedInt(value, name, 1, 65536, &options->blockFrames, error);
  case ValueOption::Encoding:
    options->encoding = value;
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
  } else if (name == "--list") {
    options->list = true;
  } else if (name == "--quiet" || name == "-q") {
    options->quiet = true;
  } else if (name == "--help" || name == "-h") {
    options->help = true;
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
  if (positionals.size() > 2) {
    *error = "unexpected argument \"" + positionals[2] + "\" (only INPUT and OUTPUT)";
    return false;
  }
  if (positionals.size() == 1) {
    *error = "missing OUTPUT after INPUT " + positionals[0];
    return false;
  }
  if (positionals.empty()) {
    if (!options->list && options->saveFxp.empty() && options->saveFxb.empty() &&
        options->snapshot.empty()) {
      *error = "nothing to do: give INPUT and OUTPUT, --list, --save-fxp, --save-fxb or "
               "--snapshot (--help shows all options)";
      return false;
    }
    return true;
  }
  options->input = positionals[0];
  options->output = positionals[1];
  return true;
}
} // namespace

bool ParseRenderOptions(const std::vector<std::string>& arguments, RenderOptions* options,
                        std::string* error) {
  std::vector<std::string> positionals;
  bool optionsEnded = false;
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
    if (!ApplyValueOption(match->option, name, value, options, error)) {
      return false;
    }
  }
  if (options->help) {
    return true;
  }
  return CheckPositionals(positionals, options, error);
}
