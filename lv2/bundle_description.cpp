#include "lv2/BundleDescription.h"

#include "lv2/ILv2Plugin.h"
#include "lv2/Lv2Identity.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {
constexpr const char* Prefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                                 "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
                                 "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                                 "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                                 "@prefix log: <http://lv2plug.in/ns/ext/log#> .\n"
                                 "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                                 "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
                                 "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
                                 "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                                 "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                                 "@prefix rsz: <http://lv2plug.in/ns/ext/resize-port#> .\n"
                                 "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                                 "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
                                 "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                                 "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                                 "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

// Room for the MIDI passed on in one run: 24 bytes an event.
constexpr int EventOutputBytes = 8192;

struct UnitName {
  const char* label;
  const char* unit;
};
constexpr UnitName Units[] = {{"%", "units:pc"},
                              {"dB", "units:db"},
                              {"Hz", "units:hz"},
                              {"ms", "units:ms"},
                              {"s", "units:s"}};

std::string Quoted(const char* text) {
  std::string quoted = "\"";
  for (const char* c = text; *c; ++c) {
    if (*c == '"' || *c == '\\') {
      quoted += '\\';
    }
    quoted += *c;
  }
  return quoted + "\"";
}

std::string Uri(const std::string& uri) {
  return "<" + uri + ">";
}

std::string ProgramUri(int slot) {
  return std::string(PluginUri()) + "#program-" + std::to_string(slot + 1);
}

bool IsToggle(const IParameter& parameter) {
  return IParameter::IsIntegerKind(parameter.Kind()) && parameter.Minimum() == 0.0 &&
         parameter.Maximum() == 1.0;
}

// Integer parameters are written as integers, the others as decimals short enough to read and
// exact enough for a port's single-precision value.
std::string Number(const IParameter& parameter, double value) {
  if (IParameter::IsIntegerKind(parameter.Kind())) {
    return std::to_string(std::lround(value));
  }
  char text[32];
  std::snprintf(text, sizeof(text), "%.9g", value);
  std::string number = text;
  if (number.find_first_of(".e") == std::string::npos) {
    number += ".0";
  }
  return number;
}

void WriteAudioPort(std::ostream& out, const char* direction, uint32_t index, const char* symbol,
                    const std::string& label) {
  out << "  [\n    a lv2:AudioPort, lv2:" << direction << " ;\n    lv2:index " << index
      << " ;\n    lv2:symbol \"" << symbol << "\" ;\n    lv2:name " << Quoted(label.c_str())
      << " ;\n  ]";
}

void WriteControlPort(std::ostream& out, const IParameter& parameter, uint32_t index, bool output) {
  const std::string symbol = PortSymbol(parameter.Name()) + (output ? "_out" : "");
  const std::string name = std::string(parameter.Name()) + (output ? " (current)" : "");
  out << "  [\n    a lv2:ControlPort, lv2:" << (output ? "OutputPort" : "InputPort")
      << " ;\n    lv2:index " << index << " ;\n    lv2:symbol \"" << symbol << "\" ;\n    lv2:name "
      << Quoted(name.c_str()) << " ;\n    lv2:default "
      << Number(parameter, parameter.DefaultValue()) << " ;\n    lv2:minimum "
      << Number(parameter, parameter.Minimum()) << " ;\n    lv2:maximum "
      << Number(parameter, parameter.Maximum()) << " ;\n";
  if (IsToggle(parameter)) {
    out << "    lv2:portProperty lv2:integer, lv2:toggled ;\n";
  } else if (IParameter::IsIntegerKind(parameter.Kind())) {
    out << "    lv2:portProperty lv2:integer ;\n";
  }
  for (const UnitName& unit : Units) {
    if (std::string(parameter.Label()) == unit.label) {
      out << "    units:unit " << unit.unit << " ;\n";
    }
  }
  out << "  ]";
}

std::string ChannelLabel(const std::string& own, const char* kind, int channel) {
  return own.empty() ? std::string(kind) + " " + std::to_string(channel + 1) : own;
}

bool WriteFile(const std::string& path, const std::string& text, std::string* error) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}
} // namespace

std::string ManifestText(ILv2Plugin& plugin) {
  std::ostringstream out;
  out << Prefixes << Uri(PluginUri()) << "\n  a lv2:Plugin ;\n  lv2:binary <" << PluginBinary
      << "> ;\n  rdfs:seeAlso <" << PluginFileName << "> .\n";
  for (int slot = 0; slot < plugin.PresetCount(); ++slot) {
    if (plugin.Preset(slot)->defined) {
      out << "\n"
          << Uri(ProgramUri(slot)) << "\n  a pset:Preset ;\n  lv2:appliesTo " << Uri(PluginUri())
          << " ;\n  rdfs:seeAlso <" << PresetsFileName << "> .\n";
    }
  }
  return out.str();
}

std::string PluginText(ILv2Plugin& plugin) {
  const Lv2PortLayout& ports = plugin.Ports();
  const int32_t version = plugin.Version();
  std::ostringstream out;
  out << Prefixes << Uri(PluginUri())
      << "\n  a lv2:Plugin, lv2:DistortionPlugin, doap:Project ;\n  doap:name "
      << Quoted(plugin.EffectName()) << " ;\n  doap:maintainer [ foaf:name "
      << Quoted(plugin.VendorName()) << " ] ;\n  lv2:minorVersion " << ((version >> 8) & 0xFF)
      << " ;\n  lv2:microVersion " << (version & 0xFF)
      << " ;\n  lv2:requiredFeature urid:map ;\n"
         "  lv2:optionalFeature log:log, opts:options ;\n"
         "  opts:supportedOption bufsz:maxBlockLength, bufsz:nominalBlockLength ;\n"
         "  lv2:extensionData state:interface ;\n  ui:ui "
      << Uri(PluginUiUri()) << " ;\n  lv2:port\n";
  for (int c = 0; c < ports.audioInputs; ++c) {
    const std::string symbol = "in_" + std::to_string(c + 1);
    WriteAudioPort(out, "InputPort", ports.AudioInput(c), symbol.c_str(),
                   ChannelLabel(plugin.Input(c)->label, "Input", c));
    out << ",\n";
  }
  for (int c = 0; c < ports.audioOutputs; ++c) {
    const std::string symbol = "out_" + std::to_string(c + 1);
    WriteAudioPort(out, "OutputPort", ports.AudioOutput(c), symbol.c_str(),
                   ChannelLabel(plugin.Output(c)->label, "Output", c));
    out << ",\n";
  }
  for (int i = 0; i < ports.parameters; ++i) {
    WriteControlPort(out, *plugin.Parameter(i), ports.ControlInput(i), false);
    out << ",\n";
  }
  for (int i = 0; i < ports.parameters; ++i) {
    WriteControlPort(out, *plugin.Parameter(i), ports.ControlOutput(i), true);
    out << ",\n";
  }
  out << "  [\n    a atom:AtomPort, lv2:InputPort ;\n    atom:bufferType atom:Sequence ;\n"
         "    atom:supports midi:MidiEvent, time:Position ;\n"
         "    lv2:designation lv2:control ;\n    lv2:index "
      << ports.EventInput()
      << " ;\n    lv2:symbol \"events_in\" ;\n    lv2:name \"Events In\" ;\n  ],\n"
         "  [\n    a atom:AtomPort, lv2:OutputPort ;\n    atom:bufferType atom:Sequence ;\n"
         "    atom:supports midi:MidiEvent ;\n    rsz:minimumSize "
      << EventOutputBytes << " ;\n    lv2:index " << ports.EventOutput()
      << " ;\n    lv2:symbol \"events_out\" ;\n    lv2:name \"Events Out\" ;\n  ],\n"
         "  [\n    a atom:AtomPort, lv2:InputPort ;\n    atom:bufferType atom:Sequence ;\n"
         "    atom:supports time:Position ;\n    lv2:index "
      << ports.TransportInput()
      << " ;\n    lv2:symbol \"transport_in\" ;\n    lv2:name \"Transport In\" ;\n  ] .\n";
  // The editor lives in the plug-in object, so the UI needs instance access.
  out << "\n"
      << Uri(PluginUiUri()) << "\n  a ui:X11UI ;\n  ui:binary <" << PluginBinary
      << "> ;\n  lv2:requiredFeature ui:parent, ui:idleInterface,\n"
         "    <http://lv2plug.in/ns/ext/instance-access> ;\n"
         "  lv2:optionalFeature ui:resize, ui:touch, log:log, opts:options ;\n"
         "  opts:supportedOption ui:scaleFactor ;\n"
         "  lv2:extensionData ui:idleInterface, opts:interface .\n";
  return out.str();
}

// Each defined program as a preset of the control inputs' values, read back from the slot the
// way selecting the program reads it.
std::string PresetsText(ILv2Plugin& plugin) {
  std::ostringstream out;
  out << Prefixes;
  IScopedLock guard(plugin.Lock());
  const int current = plugin.CurrentPreset();
  for (int slot = 0; slot < plugin.PresetCount(); ++slot) {
    if (!plugin.Preset(slot)->defined || !plugin.SelectPreset(slot)) {
      continue;
    }
    out << Uri(ProgramUri(slot)) << "\n  a pset:Preset ;\n  lv2:appliesTo " << Uri(PluginUri())
        << " ;\n  rdfs:label " << Quoted(plugin.Preset(slot)->name) << " ;\n  lv2:port";
    for (int i = 0; i < plugin.ParameterCount(); ++i) {
      const IParameter& parameter = *plugin.Parameter(i);
      out << (i == 0 ? "\n" : ",\n") << "  [\n    lv2:symbol \"" << PortSymbol(parameter.Name())
          << "\" ;\n    pset:value " << Number(parameter, parameter.Value()) << " ;\n  ]";
    }
    out << " .\n\n";
  }
  plugin.SelectPreset(current);
  return out.str();
}

bool WriteBundleDescription(ILv2Plugin& plugin, const std::string& directory, std::string* error) {
  return WriteFile(directory + "/manifest.ttl", ManifestText(plugin), error) &&
         WriteFile(directory + "/" + PluginFileName, PluginText(plugin), error) &&
         WriteFile(directory + "/" + PresetsFileName, PresetsText(plugin), error);
}
