#include "plugin/HostKind.h"

#include <cstring>

namespace {
struct HostName {
  const char* text;
  int kind;
};

// Order matters: the first text found wins, so a name with both "cubase" and "nuendo" is Cubase
// and one with both "logic" and "live" is Live.
constexpr HostName hostNames[] = {
    {"cubase", HostCubase},
    {"reaper", HostReaper},
    {"nuendo", HostNuendo},
    {"cakewalk", HostSonar},
    {"samplitude", HostSamplitude},
    {"fruity", HostFruityLoops},
    {"live", HostAbletonLive},
    {"melodyne", HostMelodyne},
    {"vstmanlib", HostVstManLib},
    {"aulab", HostAuLab},
    {"garageband", HostGarageBand},
    {"forte", HostForte},
    {"chainer", HostChainer},
    {"audition", HostAudition},
    {"orion", HostOrion},
    {"sawstudio", HostSawStudio},
    {"logic", HostLogic},
    {"digital", HostDigitalPerformer},
    {"audiomulch", HostAudioMulch},
    {"presonus", HostStudioOne},
    {"vst3plugintesthost", HostVst3TestHost},
    {"protools", HostProTools},
    {"ardour", HostArdour},
    {"standalone", HostStandalone},
};

constexpr int maxNameLength = 255;
} // namespace

int LookupHostKind(const char* productName) {
  if (!productName) {
    return HostUnknown;
  }
  // Only A-Z change, whatever locale the host process has set.
  char lowered[maxNameLength + 1];
  int length = 0;
  for (; length < maxNameLength && productName[length] != '\0'; ++length) {
    const char c = productName[length];
    lowered[length] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  lowered[length] = '\0';

  for (const HostName& entry : hostNames) {
    if (std::strstr(lowered, entry.text)) {
      return entry.kind;
    }
  }
  return HostUnknown;
}
