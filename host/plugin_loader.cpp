#include "host/PluginLoader.h"

#include "host/clap/ClapPlugin.h"
#include "host/vst2/Vst2Plugin.h"
#include "host/vst3/Vst3Plugin.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {
constexpr char kExpected[] = "expected a VST 2 library (.so, .dll), a VST 3 bundle (.vst3), a "
                             "CLAP file (.clap), an LV2 bundle (.lv2) or an LV2 plug-in URI";

std::string Extension(const std::filesystem::path& path) {
  const std::filesystem::path name =
      path.filename().empty() ? path.parent_path().filename() : path.filename();
  std::string extension = name.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool LooksLikeUri(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2) {
    return false;
  }
  for (size_t i = 0; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
      return false;
    }
  }
  return true;
}
} // namespace

bool DetectPluginFormat(const std::string& argument, PluginFormat* format, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code code;
  const fs::path path(argument);
  const std::string extension = Extension(path);
  const fs::file_status status = fs::status(path, code);
  if (!fs::exists(status)) {
    if (LooksLikeUri(argument)) {
      *format = PluginFormat::Lv2;
      return true;
    }
    *error = "cannot load plug-in " + argument + ": no such file or folder (" + kExpected + ")";
    return false;
  }
  if (fs::is_directory(status)) {
    if (extension == ".vst3") {
      *format = PluginFormat::Vst3;
      return true;
    }
    if (extension == ".lv2" || fs::is_regular_file(path / "manifest.ttl", code)) {
      *format = PluginFormat::Lv2;
      return true;
    }
    *error = "cannot load plug-in " + argument +
             ": it is a folder, neither a .vst3 bundle nor "
             "an LV2 bundle with a manifest.ttl (" +
             kExpected + ")";
    return false;
  }
  if (extension == ".clap") {
    *format = PluginFormat::Clap;
    return true;
  }
  if (extension == ".vst3") {
    *format = PluginFormat::Vst3;
    return true;
  }
  if (extension == ".so" || extension == ".dll") {
    *format = PluginFormat::Vst2;
    return true;
  }
  *error = "cannot load plug-in " + argument + ": it is a file " +
           (extension.empty() ? std::string("without an ending") : "ending in " + extension) +
           " (" + kExpected + ")";
  return false;
}

std::unique_ptr<HostedPlugin> OpenHostedPlugin(const std::string& argument, std::string* error) {
  PluginFormat format = PluginFormat::Vst2;
  if (!DetectPluginFormat(argument, &format, error)) {
    return nullptr;
  }
  switch (format) {
  case PluginFormat::Vst2:
    return Vst2Plugin::Load(argument, error);
  case PluginFormat::Vst3:
    return Vst3Plugin::Load(argument, error);
  case PluginFormat::Clap:
    return ClapPlugin::Load(argument, error);
  case PluginFormat::Lv2:
    return OpenLv2Plugin(argument, error);
  }
  return nullptr;
}
