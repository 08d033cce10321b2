#include "tools/render/PluginSettings.h"

#include "host/vst2/Vst2Plugin.h"
#include "tools/render/FxFormat.h"
#include "tools/render/TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// The index named by the text among count items, or -1 with the reason in error.
int FindByNameOrIndex(const std::string& text, int count,
                      const std::function<std::string(int)>& nameOf, const std::string& kind,
                      std::string* error) {
  if (count == 0) {
    *error = "there is no " + kind + " " + Quoted(text) + ": the plug-in has no " + kind + "s";
    return -1;
  }
  long long index = 0;
  if (ParseWholeInteger(text, &index)) {
    if (index < 0 || index >= count) {
      *error =
          kind + " index " + text + " is out of range (0 to " + std::to_string(count - 1) + ")";
      return -1;
    }
    return static_cast<int>(index);
  }
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back(nameOf(i));
    if (names.back() == text) {
      return i;
    }
  }
  int match = -1;
  int matches = 0;
  for (int i = 0; i < count; ++i) {
    if (LowerCase(names[static_cast<size_t>(i)]) == LowerCase(text)) {
      match = i;
      ++matches;
    }
  }
  if (matches == 1) {
    return match;
  }
  std::string known;
  for (const std::string& name : names) {
    known += (known.empty() ? "" : ", ") + Quoted(name);
  }
  *error = "unknown " + kind + " " + Quoted(text) + " (" + kind + "s: " + known + ")";
  return -1;
}

struct DisplayRange {
  std::string low;
  std::string high;
};

// What the plug-in displays at both ends of the parameter's range.
DisplayRange RangeOf(HostedPlugin& host, int index) {
  return {host.DisplayAt(index, 0.0), host.DisplayAt(index, 1.0)};
}

std::string WithLabel(const std::string& text, const std::string& label) {
  return label.empty() ? text : text + " " + label;
}

bool ApplyRealValue(HostedPlugin& host, int index, const std::string& text, std::string* error) {
  const std::string name = Quoted(host.ParameterName(index));
  if (!host.TakesText(index)) {
    *error = name + " takes no values in its own units; use --param-norm with 0 to 1";
    return false;
  }
  double number = 0.0;
  const bool numeric = ParseWholeNumber(text, &number);
  if (numeric && (!std::isfinite(number) || !CheckInRange(host, index, number, text, error))) {
    if (!std::isfinite(number)) {
      *error = "value " + text + " for " + name + " is not a finite number";
    }
    return false;
  }
  if (!host.SetFromText(index, text)) {
    *error = "invalid value " + Quoted(text) + " for " + name;
    return false;
  }
  // A word the plug-in does not know may be read as 0: accept words only when they stick.
  const std::string shown = host.ParameterDisplay(index);
  if (!numeric && LowerCase(shown) != LowerCase(text)) {
    *error =
        "invalid value " + Quoted(text) + " for " + name + " (it reads as " + Quoted(shown) + ")";
    return false;
  }
  return true;
}

bool ApplyNormalizedValue(HostedPlugin& host, int index, const std::string& text,
                          std::string* error) {
  double number = 0.0;
  if (!ParseWholeNumber(text, &number)) {
    *error = "--param-norm expects a number from 0 to 1, got " + Quoted(text);
    return false;
  }
  if (!(number >= 0.0 && number <= 1.0)) {
    *error = "normalised value " + text + " for " + Quoted(host.ParameterName(index)) +
             " is out of range (0 to 1)";
    return false;
  }
  host.SetNormalized(index, number);
  return true;
}
} // namespace

bool CheckInRange(HostedPlugin& host, int index, double number, const std::string& text,
                  std::string* error) {
  const DisplayRange range = RangeOf(host, index);
  double low = 0.0;
  double high = 0.0;
  int lowDecimals = 0;
  int highDecimals = 0;
  if (!ParseLeadingNumber(range.low, &low, &lowDecimals) ||
      !ParseLeadingNumber(range.high, &high, &highDecimals)) {
    return true;
  }
  const double slack = 0.5 * std::pow(10.0, -std::min(lowDecimals, highDecimals));
  if (number >= std::min(low, high) - slack && number <= std::max(low, high) + slack) {
    return true;
  }
  const std::string label = host.ParameterUnit(index);
  *error = "value " + text + " for " + Quoted(host.ParameterName(index)) + " is out of range (" +
           range.low + " to " + WithLabel(range.high, label) + ")";
  return false;
}

bool ChooseProgram(HostedPlugin& host, const std::string& nameOrIndex, std::string* error) {
  const int index = FindByNameOrIndex(
      nameOrIndex, host.ProgramCount(), [&](int i) { return host.ProgramName(i); }, "program",
      error);
  if (index < 0) {
    return false;
  }
  if (!host.SelectProgram(index)) {
    *error = "program " + Quoted(host.ProgramName(index)) + " could not be loaded";
    return false;
  }
  return true;
}

bool ApplyParameterSetting(HostedPlugin& host, const ParameterSetting& setting,
                           std::string* error) {
  const int index = FindByNameOrIndex(
      setting.parameter, host.ParameterCount(), [&](int i) { return host.ParameterName(i); },
      "parameter", error);
  if (index < 0) {
    return false;
  }
  return setting.normalized ? ApplyNormalizedValue(host, index, setting.value, error)
                            : ApplyRealValue(host, index, setting.value, error);
}

void ListPlugin(HostedPlugin& host, std::ostream& out) {
  auto* vst2 = dynamic_cast<Vst2Plugin*>(&host);
  out << host.Name() << " by " << host.Vendor() << ", ";
  if (vst2) {
    out << "ID " << FourCharacterText(vst2->Effect().uniqueID) << ", version "
        << vst2->Effect().version << ", ";
  }
  out << host.InputChannels() << " in / " << host.OutputChannels() << " out\n";
  out << "  " << FormatName(host.Format()) << " file: " << host.Location() << "\n";
  if (vst2) {
    out << "  editor: " << (vst2->HasFlag(effFlagsHasEditor) ? "yes" : "no")
        << ", state as chunks: " << (vst2->HasFlag(effFlagsProgramChunks) ? "yes" : "no") << "\n";
  }
  out << "  double precision: " << (host.ProcessesDouble() ? "yes" : "no") << ", parameter changes "
      << (host.ParametersAtFrames() ? "at their frames" : "between blocks") << "\n";
  out << "buses:\n";
  for (const std::string& bus : host.Buses()) {
    out << "    " << bus << "\n";
  }
  const int current = host.CurrentProgram();
  const int programs = host.ProgramCount();
  out << "programs (" << programs << "):\n";
  for (int i = 0; i < programs; ++i) {
    out << (i == current ? "  * " : "    ") << i << "  " << host.ProgramName(i) << "\n";
  }
  const int parameters = host.ParameterCount();
  out << "parameters (" << parameters << "):\n";
  for (int i = 0; i < parameters; ++i) {
    const std::string label = host.ParameterUnit(i);
    const DisplayRange range = RangeOf(host, i);
    char normalized[32];
    std::snprintf(normalized, sizeof(normalized), "%.6f", host.Normalized(i));
    out << "    " << i << "  " << host.ParameterName(i) << " = "
        << WithLabel(host.ParameterDisplay(i), label) << " (normalised " << normalized
        << "), range " << range.low << " to " << WithLabel(range.high, label) << "\n";
  }
}
