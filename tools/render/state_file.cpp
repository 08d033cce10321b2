#include "tools/render/StateFile.h"

#include "host/HostedPlugin.h"
#include "tools/render/TextNumbers.h"
#include "tools/render/WholeFile.h"

#include <cstdint>
#include <vector>

namespace {
constexpr char kMagicLine[] = "ombrix-render state 1";
constexpr char kFormatKey[] = "format: ";
constexpr char kPluginKey[] = "plugin: ";
constexpr char kBytesKey[] = "bytes: ";

// The next line from position at (without its newline); false at the end of the bytes.
bool NextLine(const std::vector<uint8_t>& bytes, size_t* at, std::string* line) {
  line->clear();
  while (*at < bytes.size() && bytes[*at] != '\n') {
    line->push_back(static_cast<char>(bytes[(*at)++]));
  }
  if (*at >= bytes.size()) {
    return false;
  }
  ++*at;
  return true;
}

bool Field(const std::string& line, const char* key, std::string* value) {
  const std::string prefix(key);
  if (line.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  *value = line.substr(prefix.size());
  return true;
}

// Names may hold anything; the header keeps each on one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return text;
}
} // namespace

bool SaveStateFile(HostedPlugin& plugin, const std::string& path, std::string* error) {
  const std::vector<uint8_t> state = plugin.SaveState();
  if (state.empty()) {
    *error = "--save-state: " + plugin.Name() + " gives no state to save";
    return false;
  }
  const std::string header = std::string(kMagicLine) + "\n" + kFormatKey +
                             FormatName(plugin.Format()) + "\n" + kPluginKey +
                             OneLine(plugin.Name()) + "\n" + kBytesKey +
                             std::to_string(state.size()) + "\n\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), state.begin(), state.end());
  return WriteWholeFile(path, bytes, error);
}

bool LoadStateFile(HostedPlugin& plugin, const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) {
    return false;
  }
  size_t at = 0;
  std::string line;
  std::string format;
  std::string name;
  std::string size;
  long long count = -1;
  if (!NextLine(bytes, &at, &line) || line != kMagicLine || !NextLine(bytes, &at, &line) ||
      !Field(line, kFormatKey, &format) || !NextLine(bytes, &at, &line) ||
      !Field(line, kPluginKey, &name) || !NextLine(bytes, &at, &line) ||
      !Field(line, kBytesKey, &size) || !ParseWholeInteger(size, &count) || count < 0 ||
      !NextLine(bytes, &at, &line) || !line.empty()) {
    *error =
        "cannot load " + path + ": not a state file of ombrix-render (--save-state writes them)";
    return false;
  }
  if (format != FormatName(plugin.Format()) || name != OneLine(plugin.Name())) {
    *error = "cannot load " + path + ": it holds the state of the " + format + " plug-in \"" +
             name + "\", not of the " + FormatName(plugin.Format()) + " plug-in \"" +
             plugin.Name() + "\"";
    return false;
  }
  if (bytes.size() - at != static_cast<size_t>(count)) {
    *error = "cannot load " + path + ": it is cut short or has bytes left over (" +
             std::to_string(bytes.size() - at) + " bytes where its header says " + size + ")";
    return false;
  }
  if (!plugin.LoadState(
          std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end()))) {
    *error = "cannot load " + path + ": " + plugin.Name() + " refused the state it holds";
    return false;
  }
  return true;
}
