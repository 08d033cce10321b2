#pragma once

// Which host program loaded the plug-in; some need different treatment.
enum HostKinds : int {
  HostNotIdentified = -1,
  HostUnknown = 0,
  HostReaper = 1,
  HostProTools = 2,
  HostCubase = 3,
  HostNuendo = 4,
  HostSonar = 5,
  HostFruityLoops = 7,
  HostSamplitude = 8,
  HostAbletonLive = 9,
  HostMelodyne = 12,
  HostVstManLib = 13,
  HostAuLab = 14,
  HostForte = 15,
  HostChainer = 16,
  HostAudition = 17,
  HostOrion = 18,
  HostSawStudio = 20,
  HostLogic = 21,
  HostGarageBand = 22,
  HostDigitalPerformer = 23,
  HostStandalone = 24,
  HostAudioMulch = 25,
  HostStudioOne = 26,
  HostVst3TestHost = 27,
  HostArdour = 28,
};

// Maps a host's product name to its kind: the first known name found in the lower-cased text
// wins; HostUnknown when none is found.
int LookupHostKind(const char* productName);
