#include "plugin/PluginIdentity.h"
#include "vst3/ModuleInfo.h"
#include "vst3/Vst3Factory.h"

#include <cstdio>
#include <fstream>

// Writes moduleinfo.json into the folder given (the bundle's Contents/Resources), from the
// factory this module holds.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s RESOURCES-DIRECTORY\n", argv[0]);
    return 2;
  }
  vst3::IPluginFactory* factory = GetPluginFactory();
  const std::string json =
      DescribeModule(factory, PluginIdentity().effectName, PluginIdentity().versionText);
  factory->release();
  const std::string path = std::string(argv[1]) + "/moduleinfo.json";
  std::ofstream file(path, std::ios::binary);
  file << json;
  if (!file.flush()) {
    std::fprintf(stderr, "%s: %s could not be written\n", argv[0], path.c_str());
    return 1;
  }
  return 0;
}
