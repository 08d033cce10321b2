#include "lv2/Lv2Ports.h"

#include "plugin/AudioPlugin.h"

#include <cctype>

Lv2PortLayout Lv2PortLayout::Of(IAudioPlugin& plugin) {
  Lv2PortLayout layout;
  layout.audioInputs = plugin.InputCount();
  layout.audioOutputs = plugin.OutputCount();
  layout.parameters = plugin.ParameterCount();
  return layout;
}

std::string PortSymbol(const char* name) {
  std::string symbol;
  bool pendingSeparator = false;
  for (const char* c = name; *c; ++c) {
    const unsigned char character = static_cast<unsigned char>(*c);
    if (!std::isalnum(character) || character > 0x7F) {
      pendingSeparator = !symbol.empty();
      continue;
    }
    if (pendingSeparator) {
      symbol += '_';
      pendingSeparator = false;
    }
    symbol += static_cast<char>(std::tolower(character));
  }
  // A symbol may not start with a digit, and an empty one names nothing.
  if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0]))) {
    symbol.insert(0, "p_");
  }
  return symbol;
}
