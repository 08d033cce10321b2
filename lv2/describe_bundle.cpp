#include "lv2/BundleDescription.h"
#include "lv2/Lv2Entry.h"

#include <cstdio>
#include <memory>

// Writes the turtle files of the LV2 bundle into the directory given, from an instance of the
// plug-in made without a host.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s BUNDLE-DIRECTORY\n", argv[0]);
    return 2;
  }
  const ILv2Host noHost;
  std::unique_ptr<ILv2Plugin> plugin(CreateLv2Instance(noHost));
  if (!plugin) {
    std::fprintf(stderr, "%s: the plug-in could not be made\n", argv[0]);
    return 1;
  }
  std::string error;
  if (!WriteBundleDescription(*plugin, argv[1], &error)) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  return 0;
}
