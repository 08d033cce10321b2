#pragma once

#include "fuzz/Observation.h"

#include <string>

class FuzzHost;

// Everything a host can see of a plug-in, item by item: the effect record, programs and their
// names, parameters and their texts, the saved bank and program blocks, the editor's picture, a
// probe block of audio with MIDI (what comes out, what is passed back, what the controller
// moved); and the MIDI events waiting beyond every block, which a host cannot see in time.
// Taking it changes the plug-in (the probe turns the knob), so a caller resets after.
class PluginObservation : public Observation {
public:
  static PluginObservation Of(FuzzHost& host);

private:
  void NoteRecord(FuzzHost& host);
  void NotePrograms(FuzzHost& host);
  void NoteParameters(FuzzHost& host, const std::string& when);
  void NoteEditorPicture(FuzzHost& host);
  void NoteProbe(FuzzHost& host);
};
